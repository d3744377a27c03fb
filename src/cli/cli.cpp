#include "cli/cli.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "conversion/convert_file.h"
#include "settings/option_lines.h"
#include "settings/settings_paths.h"
#include "text/failure.h"
#include "text/files.h"

namespace vornask {
namespace {

constexpr const char* kName = "vornask-convert";

constexpr const char* kUsage =
    "Usage: vornask-convert [--settings FILE] [--output FILE] SOURCE...\n"
    "Converts comma-separated Shift_JIS text into an HTML page holding one table.\n"
    "\n"
    "Each SOURCE is written as SOURCE with its extension replaced by .html, beside it.\n"
    "\n"
    "  --settings FILE  take the table's style from a settings file (.kel); without it\n"
    "                   the program's startup settings file is used when there is one\n"
    "  --output FILE    write the page to FILE (one SOURCE only; - for standard output)\n"
    "  --help           show this help\n"
    "  --version        show the version\n"
    "\n"
    "Exit status: 0 all converted, 1 a source could not be converted,\n"
    "2 a usage or settings file error (nothing written).\n";

class FileSink : public PageSink {
 public:
  explicit FileSink(AtomicFile& file) : file_(file) {}
  void Write(std::string_view bytes) override { file_.Write(bytes); }

 private:
  AtomicFile& file_;
};

class StdoutSink : public PageSink {
 public:
  explicit StdoutSink(std::FILE* out) : out_(out) {}
  void Write(std::string_view bytes) override {
    if (std::fwrite(bytes.data(), 1, bytes.size(), out_) != bytes.size()) failed = true;
  }
  bool failed = false;

 private:
  std::FILE* out_;
};

struct Options {
  std::optional<std::string> settings;
  std::optional<std::string> output;
  std::vector<std::string> sources;
};

void Say(std::FILE* err, const std::string& text) { std::fprintf(err, "%s: %s\n", kName, text.c_str()); }

std::string Absolute(const std::string& path) {
  std::error_code ec;
  const auto p = std::filesystem::absolute(std::filesystem::path(std::u8string(path.begin(), path.end())), ec);
  if (ec) return path;
  const std::u8string s = p.lexically_normal().u8string();
  return std::string(s.begin(), s.end());
}

// Reads the style: lines 0 to 15 applied to the default controls, the image
// edits showing the stored paths as after a start-up read.
std::optional<TStyleOptions> ReadStyle(const std::string& file, std::FILE* err) {
  TSettingsLines lines;
  OptionStateControls controls;
  try {
    lines.Load(ReadFileBytes(file));
    ApplyOptionLines(lines, controls);
  } catch (const SettingsLineFailure& failure) {
    Say(err, file + ": line " + std::to_string(failure.line + 1) + ": " + failure.what());
    return std::nullopt;
  } catch (const Failure& failure) {
    Say(err, failure.what());
    return std::nullopt;
  }
  controls.state.bodyImageFile = controls.bodyImagePath;
  controls.state.tableImageFile = controls.tableImagePath;
  return BuildStyleOptions(controls.state);
}

// Converts one source; returns false (after saying why) when it could not.
bool ConvertOne(const std::string& source, const Options& options, const TStyleOptions& style,
                std::FILE* out, std::FILE* err) {
  const std::string absolute = Absolute(source);
  const std::string target = options.output.value_or(OutputPath(absolute));
  if (HasHtmlExtension(absolute)) {
    Say(err, source + ": an HTML document is not converted (its page would replace it)");
    return false;
  }
  try {
    const std::string bytes = ReadFileBytes(source);
    if (target == "-") {
      StdoutSink sink(out);
      ConvertText(bytes, style, absolute, sink);
      if (sink.failed || std::fflush(out) != 0) throw Failure(kStreamWriteError);
      return true;
    }
    if (Absolute(target) == absolute) {
      Say(err, source + ": the page would replace its own source");
      return false;
    }
    AtomicFile file(target, kStreamWriteError);
    FileSink sink(file);
    ConvertText(bytes, style, absolute, sink);
    file.Commit();
    return true;
  } catch (const Failure& failure) {
    Say(err, failure.what());
  } catch (const std::exception& e) {
    Say(err, source + ": " + e.what());
  }
  return false;
}

}  // namespace

int RunConverter(const std::vector<std::string>& args, const std::string& programFile,
                 const std::string& configHome, std::FILE* out, std::FILE* err) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, out);
      return 0;
    }
    if (a == "--version") {
      std::fprintf(out, "%s 2.0\n", kName);
      return 0;
    }
    if (a == "--settings" || a == "--output") {
      if (i + 1 >= args.size()) {
        Say(err, a + " needs a file name");
        return 2;
      }
      (a == "--settings" ? options.settings : options.output) = args[++i];
    } else if (a == "--") {
      options.sources.insert(options.sources.end(), args.begin() + i + 1, args.end());
      break;
    } else if (a.size() > 1 && a[0] == '-') {
      Say(err, "unknown option " + a + " (see --help)");
      return 2;
    } else {
      options.sources.push_back(a);
    }
  }
  if (options.sources.empty()) {
    std::fputs(kUsage, err);
    return 2;
  }
  if (options.output && options.sources.size() != 1) {
    Say(err, "--output takes exactly one SOURCE");
    return 2;
  }

  std::optional<TStyleOptions> style = BuildStyleOptions(OptionState{});
  std::string settingsFile = options.settings.value_or("");
  if (!options.settings) {
    const auto where = ResolveSettings(ExeDirPath(programFile), configHome);
    if (FileExists(where.startupFile)) settingsFile = where.startupFile;
  }
  if (!settingsFile.empty()) style = ReadStyle(settingsFile, err);
  if (!style) return 2;

  bool allConverted = true;
  for (const std::string& source : options.sources)
    allConverted &= ConvertOne(source, options, *style, out, err);
  return allConverted ? 0 : 1;
}

}  // namespace vornask
