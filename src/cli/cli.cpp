#include "cli/cli.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "conversion/cell_grid.h"
#include "conversion/page_writer.h"
#include "settings/option_lines.h"
#include "settings/settings_paths.h"
#include "text/failure.h"
#include "text/files.h"
#include "text/lines.h"

namespace vornask {
namespace {

constexpr const char* kName = "vornask-convert";

constexpr const char* kUsage =
    "Usage: vornask-convert [--settings FILE] [--output FILE] [--quiet | --verbose] SOURCE...\n"
    "Converts comma-separated Shift_JIS text into an HTML page holding one table.\n"
    "\n"
    "Each SOURCE is written as SOURCE with its extension replaced by .html, beside it.\n"
    "\n"
    "  --settings FILE  take the table's style from a settings file (.kel); without it\n"
    "                   the program's startup settings file is used when there is one\n"
    "  --output FILE    write the page to FILE (one SOURCE only; - for standard output)\n"
    "  --quiet          no progress; only errors are shown\n"
    "  --verbose        one line per converted SOURCE: its page, rows, columns, time\n"
    "  --help           show this help\n"
    "  --version        show the version\n"
    "\n"
    "Progress is shown on standard error for sources of 8 MiB and more, and only\n"
    "when standard error is a terminal.\n"
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

enum class Verbosity { kQuiet, kNormal, kVerbose };

struct Options {
  std::optional<std::string> settings;
  std::optional<std::string> output;
  Verbosity verbosity = Verbosity::kNormal;
  std::vector<std::string> sources;
};

// Below this a source converts in a blink and a progress line would only flicker.
constexpr std::uintmax_t kProgressFrom = std::uintmax_t{8} << 20;

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

// One line on the terminal, rewritten in place and erased when the source is
// done, so that none of it is left among the messages.
class Progress {
 public:
  Progress(std::FILE* err, const std::string& source) : err_(err), label_(Label(source)) {}
  ~Progress() { Erase(); }
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Show(const std::string& state) {
    const std::string line = std::string(kName) + ": " + label_ + " " + state;
    const int pad = static_cast<int>(width_ > line.size() ? width_ - line.size() : 0);
    std::fprintf(err_, "\r%s%*s", line.c_str(), pad, "");
    std::fflush(err_);
    width_ = std::max(width_, line.size());
  }

  void Expect(std::uint64_t pageBytes) { expected_ = std::max<std::uint64_t>(pageBytes, 1); }

  // The page's size is only estimated: stay below 100% until it is all there.
  void Written(std::size_t bytes) {
    done_ += bytes;
    const int percent = static_cast<int>(std::min<std::uint64_t>(99, done_ * 100 / expected_));
    if (percent == percent_) return;
    percent_ = percent;
    Show(std::to_string(percent) + "%");
  }

  void Erase() {
    if (width_ == 0) return;
    std::fprintf(err_, "\r%*s\r", static_cast<int>(width_), "");
    std::fflush(err_);
    width_ = 0;
  }

 private:
  // The file name alone, shortened (on a character boundary) so that the
  // line never wraps, which would defeat rewriting it in place.
  static std::string Label(const std::string& source) {
    constexpr std::size_t kMost = 40;
    std::string name = source.substr(source.find_last_of('/') + 1);
    if (name.size() <= kMost) return name;
    std::size_t cut = kMost;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return name.substr(0, cut) + "...";
  }

  std::FILE* err_;
  std::string label_;
  std::size_t width_ = 0;  // bytes shown on the line; spaces this many erase it
  std::uint64_t expected_ = 1;
  std::uint64_t done_ = 0;
  int percent_ = -1;
};

// Passes the page on, telling the progress line (if any) how much went through.
class ProgressSink : public PageSink {
 public:
  ProgressSink(PageSink& inner, Progress* progress) : inner_(inner), progress_(progress) {}
  void Write(std::string_view bytes) override {
    inner_.Write(bytes);
    if (progress_) progress_->Written(bytes.size());
  }

 private:
  PageSink& inner_;
  Progress* progress_;
};

// The page's size, near enough for a percentage: the cells' bytes, every cell
// of the grid in its tags, and two lines of its own for every row.
std::uint64_t ExpectedPageBytes(const TCellGrid& grid, std::size_t sourceBytes, const TStyleOptions& style) {
  const std::uint64_t cellTags =
      std::string_view("<td nowrap><font size=></font></td>\r\n").size() + style.FontSize.size();
  const auto rows = static_cast<std::uint64_t>(grid.RowCount());
  const auto columns = static_cast<std::uint64_t>(grid.ColumnCount());
  return 1024 + sourceBytes + rows * (columns * cellTags + 12);
}

bool ShowsProgress(const std::string& source, const std::string& target, const Options& options,
                   std::FILE* out, std::FILE* err) {
  if (options.verbosity == Verbosity::kQuiet || !IsTerminal(err)) return false;
  if (target == "-" && IsTerminal(out)) return false;  // it would break into the page
  std::error_code ec;
  const std::uintmax_t size =
      std::filesystem::file_size(std::filesystem::path(std::u8string(source.begin(), source.end())), ec);
  return !ec && size >= kProgressFrom;
}

void Say(std::FILE* err, const std::string& text) { std::fprintf(err, "%s: %s\n", kName, text.c_str()); }

std::string Absolute(const std::string& path) {
  std::error_code ec;
  const auto p =
      std::filesystem::absolute(std::filesystem::path(std::u8string(path.begin(), path.end())), ec);
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

std::string Counted(std::int32_t n, const char* what) {
  return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

// Converts one source; returns false (after saying why) when it could not.
bool ConvertOne(const std::string& source, const Options& options, const TStyleOptions& style, std::FILE* out,
                std::FILE* err) {
  const auto started = std::chrono::steady_clock::now();
  const std::string absolute = Absolute(source);
  const std::string target = options.output.value_or(OutputPath(absolute));
  if (HasHtmlExtension(absolute)) {
    Say(err, source + ": an HTML document is not converted (its page would replace it)");
    return false;
  }
  std::optional<Progress> progress;
  if (ShowsProgress(source, target, options, out, err)) progress.emplace(err, source);
  Progress* const shown = progress ? &*progress : nullptr;
  try {
    if (progress) progress->Show("reading");
    const std::string bytes = ReadFileBytes(source);
    if (target != "-" && Absolute(target) == absolute) {
      progress.reset();
      Say(err, source + ": the page would replace its own source");
      return false;
    }
    // The conversion's two steps, apart so that the grid's size can be told.
    const TCellGrid grid = BuildCellGrid(SplitLines(bytes));
    if (progress) progress->Expect(ExpectedPageBytes(grid, bytes.size(), style));
    if (target == "-") {
      StdoutSink sink(out);
      ProgressSink counting(sink, shown);
      WriteHtmlPage(grid, style, absolute, counting);
      if (sink.failed || std::fflush(out) != 0) throw Failure(kStreamWriteError);
    } else {
      AtomicFile file(target, kStreamWriteError);
      FileSink sink(file);
      ProgressSink counting(sink, shown);
      WriteHtmlPage(grid, style, absolute, counting);
      file.Commit();
    }
    progress.reset();
    if (options.verbosity == Verbosity::kVerbose) {
      const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
      const std::string page = target == "-"    ? "standard output"
                               : options.output ? target
                                                : OutputPath(source);
      std::fprintf(err, "%s -> %s: %s, %s, %.3f s\n", source.c_str(), page.c_str(),
                   Counted(grid.RowCount(), "row").c_str(), Counted(grid.ColumnCount(), "column").c_str(),
                   took.count());
    }
    return true;
  } catch (const Failure& failure) {
    progress.reset();
    Say(err, failure.what());
  } catch (const std::exception& e) {
    progress.reset();
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
    if (a == "--quiet" || a == "-q" || a == "--verbose" || a == "-v") {
      const Verbosity asked = a == "--quiet" || a == "-q" ? Verbosity::kQuiet : Verbosity::kVerbose;
      if (options.verbosity != Verbosity::kNormal && options.verbosity != asked) {
        Say(err, "--quiet and --verbose exclude each other");
        return 2;
      }
      options.verbosity = asked;
    } else if (a == "--settings" || a == "--output") {
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
