#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#endif

#include "cli/cli.h"
#include "conversion/page_writer.h"
#include "settings/option_lines.h"
#include "test_support.h"
#include "text/lines.h"
#include "text/paths.h"

namespace vornask {
namespace {

using test::CrLf;
using test::Contains;
using test::Drain;
using test::ReadFile;
using test::Sjis;
using test::WriteFile;
namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

class Cli : public testing::Test {
 protected:
  Cli() { fs::create_directories(dir / "bin"); }

  Result Run(const std::vector<std::string>& args) const {
    std::FILE* err = std::tmpfile();
    Result r = RunTo(args, err);
    r.err = Drain(err);
    return r;
  }

  // Standard error goes to `err`, which stays open; r.err is left empty.
  Result RunTo(const std::vector<std::string>& args, std::FILE* err) const {
    std::FILE* out = std::tmpfile();
    Result r;
    r.status = RunConverter(args, dir / "bin/vornask-convert", dir / "config", out, err);
    r.out = Drain(out);
    return r;
  }

  // A settings file: the default lines with some replaced.
  std::string Settings(const std::string& name,
                       const std::vector<std::pair<int, std::string>>& changes) const {
    TSettingsLines lines = DefaultSettingsLines();
    for (const auto& [line, text] : changes) lines.WriteLine(line, text);
    fs::create_directories(fs::path(dir / name).parent_path());
    WriteFile(dir / name, lines.Bytes());
    return dir / name;
  }

  std::string Source(const std::string& name, const std::string& bytes = "a,b\r\nc\r\n") const {
    fs::create_directories(fs::path(dir / name).parent_path());
    WriteFile(dir / name, bytes);
    return dir / name;
  }

  static std::string Line(const std::string& page, std::size_t index) {
    const auto lines = SplitLines(page);
    return index < lines.size() ? std::string(lines[index]) : "<none>";
  }

  test::TempDir dir;
};

TEST_F(Cli, DefaultStyleWritesThePageBesideTheSource) {
  const std::string source = Source("list.csv", "a,b\r\n" + Sjis("表,ソ") + "\r\nc\r\n");
  const Result r = Run({source});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(
      ReadFile(dir / "list.html"),
      CrLf({std::string(kHeadLine), "<body bgcolor=White text=Black>",
            "<center><table border=1 bordercolor=Black width=100% bgcolor=White cellpadding=3 cellspacing=3>",
            "<caption><font color=Black><font size=3></font size></font color></caption>", "<tr>",
            "<td nowrap><font size=3>a</font></td>", "<td nowrap><font size=3>b</font></td>", "</tr>", "<tr>",
            "<td nowrap><font size=3>" + Sjis("表") + "</font></td>",
            "<td nowrap><font size=3>" + Sjis("ソ") + "</font></td>", "</tr>", "<tr>",
            "<td nowrap><font size=3>c</font></td>", "<td nowrap><font size=3></font></td>", "</tr>",
            "</table></center>", "</body>", "</html>"}));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"bin", "list.csv", "list.html"}));
}

TEST_F(Cli, StartupSettingsFilePortableFirstThenPerUser) {
  const std::string source = Source("list.csv");
  Settings("config/vornask/kel/kidou.kel", {{0, "12"}});
  ASSERT_EQ(Run({source}).status, 0);
  EXPECT_EQ(Line(ReadFile(dir / "list.html"), 1), "<body bgcolor=Blue text=Black>");

  Settings("bin/kel/kidou.kel", {{0, "9"}, {1, "16"}, {15, Sjis("売上")}});
  ASSERT_EQ(Run({source}).status, 0);
  const std::string page = ReadFile(dir / "list.html");
  EXPECT_EQ(Line(page, 1), "<body bgcolor=Red text=Black>");
  EXPECT_EQ(Line(page, 3), "<caption><font color=#C0DCC0><font size=3>" + Sjis("売上") +
                               "</font size></font color></caption>");
}

TEST_F(Cli, SettingsFileGivesStyleAndImagesFromTheStoredPaths) {
  const std::string source = Source("work/list.csv");
  const std::string settings = Settings(
      "s.kel",
      {{11, "True"}, {12, "-1"}, {13, dir / "pics/bg.jpg"}, {14, dir / "work/img/t.png"}, {16, "x"}});
  const Result r = Run({"--settings", settings, source});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string page = ReadFile(dir / "work/list.html");
  EXPECT_EQ(Line(page, 1), "<body background=\"../pics/bg.jpg\" text=Black>");
  EXPECT_EQ(Line(page, 2),
            "<center><table border=1 bordercolor=Black width=100% background=\"img/t.png\" cellpadding=3 "
            "cellspacing=3>");
}

TEST_F(Cli, SettingsThatDoNotReadCompletelyStopEverything) {
  const std::string a = Source("a.csv");
  const std::string b = Source("b.csv");
  const std::string bad = Settings("bad.kel", {{5, "x"}});
  Result r = Run({"--settings", bad, a, b});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, bad)) << r.err;
  EXPECT_TRUE(Contains(r.err, "line 6")) << r.err;  // numbered as an editor shows it
  EXPECT_TRUE(Contains(r.err, "'x' は整数ではありません")) << r.err;

  TSettingsLines thirteen;
  thirteen.Load(CrLf(std::vector<std::string>(11, "0")));  // lines 11 and 12 missing
  WriteFile(dir / "short.kel", thirteen.Bytes());
  r = Run({"--settings", dir / "short.kel", a});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, "'' は正しい論理型ではありません")) << r.err;

  r = Run({"--settings", dir / "none.kel", a});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, "ファイル " + dir / "none.kel" + " は開けません")) << r.err;

  Settings("bin/kel/kidou.kel", {{11, "maybe"}});
  r = Run({a});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, "'maybe' は正しい論理型ではありません")) << r.err;
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.csv", "b.csv", "bad.kel", "bin", "short.kel"}));
}

TEST_F(Cli, UnreadableAndHtmlSourcesFailAloneAndTheOthersConvert) {
  const std::string good = Source("good.csv");
  const std::string page = Source("page.HTM", "<p>mine</p>");
  const std::string html = Source("x.html", "<p>x</p>");
  fs::create_directory(dir / "folder.csv");
  const Result r = Run({dir / "missing.csv", page, html, dir / "folder.csv", good});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "ファイル " + dir / "missing.csv" + " は開けません")) << r.err;
  EXPECT_TRUE(Contains(r.err, "ファイル " + dir / "folder.csv" + " は開けません")) << r.err;
  EXPECT_TRUE(Contains(r.err, page)) << r.err;
  EXPECT_TRUE(Contains(r.err, html)) << r.err;
  EXPECT_EQ(ReadFile(page), "<p>mine</p>");
  EXPECT_EQ(ReadFile(html), "<p>x</p>");
  EXPECT_EQ(Line(ReadFile(dir / "good.html"), 0), kHeadLine);
  EXPECT_EQ(dir.Names(),
            (std::vector<std::string>{"bin", "folder.csv", "good.csv", "good.html", "page.HTM", "x.html"}));
}

TEST_F(Cli, OutputOption) {
  const std::string source = Source("list.csv");
  Result r = Run({"--output", "-", source});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(SplitLines(r.out).size(), 7u + 2u * 4u);
  EXPECT_EQ(Line(r.out, 5), "<td nowrap><font size=3>a</font></td>");
  const std::string toStdout = r.out;

  fs::create_directory(dir / "out");
  r = Run({source, "--output", dir / "out/page.html"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(ReadFile(dir / "out/page.html"), toStdout);

  const std::string other = Source("other.csv");
  r = Run({"--output", dir / "two.html", source, other});
  EXPECT_EQ(r.status, 2);

  r = Run({"--output", source, source});  // the page would replace its own source
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(ReadFile(source), "a,b\r\nc\r\n");

  r = Run({"--output", dir / "missing/page.html", source});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "ファイル " + dir / "missing/page.html" + " を作成できません")) << r.err;
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"bin", "list.csv", "other.csv", "out"}));
}

TEST_F(Cli, UnwritableOutputKeepsTheOldPage) {
  const std::string folder = dir / "ro";
  const std::string source = Source("ro/list.csv");
  WriteFile(folder + "/list.html", "old page");
  test::MakeReadOnlyFolder(folder);
  const std::string problem = test::RunUnprivileged([&]() -> std::string {
    const Result r = Run({source});
    if (r.status != 1) return "status " + std::to_string(r.status);
    if (!Contains(r.err, "ファイル " + folder + "/list.html を作成できません")) return r.err;
    return "";
  });
  EXPECT_EQ(problem, "");
  EXPECT_EQ(ReadFile(folder + "/list.html"), "old page");
  EXPECT_EQ(dir.Names(folder), (std::vector<std::string>{"list.csv", "list.html"}));
}

TEST_F(Cli, Usage) {
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{}, 2},           {{"--bogus", "a.csv"}, 2}, {{"a.csv", "--settings"}, 2},
      {{"--output"}, 2}, {{"--help"}, 0},           {{"--version"}, 0},
  };
  for (const auto& [args, status] : cases) {
    const Result r = Run(args);
    EXPECT_EQ(r.status, status) << testing::PrintToString(args);
    EXPECT_FALSE((status == 0 ? r.out : r.err).empty());
  }
  EXPECT_TRUE(Contains(Run({"--help"}).out, "--settings FILE"));
}

// Big enough to get a progress line on a terminal; long cells keep the page small.
std::string BigSource() {
  std::string row(1000, 'x');
  row += ",y\r\n";
  std::string text;
  while (text.size() < (std::size_t{8} << 20)) text += row;
  return text;
}

TEST_F(Cli, VerboseTellsEachConvertedSourceQuietOnlyErrors) {
  const std::string a = Source("a.csv", "1,2,3\r\n4\r\n");
  const std::string b = Source("b.csv", "one\r\n");
  const std::string missing = dir / "missing.csv";

  Result r = Run({"--verbose", a, missing, b});
  EXPECT_EQ(r.status, 1);
  const auto lines = SplitLines(r.err);
  ASSERT_EQ(lines.size(), 3u) << r.err;
  EXPECT_EQ(lines[0].substr(0, lines[0].rfind(", ")), a + " -> " + dir / "a.html" + ": 2 rows, 3 columns");
  EXPECT_TRUE(Contains(std::string(lines[1]), "ファイル " + missing + " は開けません")) << r.err;
  EXPECT_EQ(lines[2].substr(0, lines[2].rfind(", ")), b + " -> " + dir / "b.html" + ": 1 row, 1 column");
  EXPECT_EQ(lines[2].substr(lines[2].size() - 2), " s");

  r = Run({"-v", "--output", "-", a});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(Line(r.out, 0), kHeadLine);  // the page alone on standard output
  EXPECT_TRUE(Contains(r.err, a + " -> standard output: 2 rows, 3 columns, ")) << r.err;

  r = Run({"--quiet", a, b});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  r = Run({"-q", missing});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "ファイル " + missing + " は開けません")) << r.err;

  for (const auto& both :
       {std::vector<std::string>{"--quiet", "--verbose", a}, std::vector<std::string>{"-v", "-q", a}}) {
    r = Run(both);
    EXPECT_EQ(r.status, 2) << testing::PrintToString(both);
    EXPECT_TRUE(Contains(r.err, "exclude")) << r.err;
  }
}

TEST_F(Cli, BigSourceToAFileOrPipeShowsNoProgress) {
  const std::string source = Source("big.csv", BigSource());
  const Result r = Run({source});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Line(ReadFile(dir / "big.html"), 5),
            "<td nowrap><font size=3>" + std::string(1000, 'x') + "</font></td>");
}

#ifndef _WIN32
// A pseudo-terminal standing for the user's: what the program writes to
// stream() is collected as the terminal would receive it.
class Terminal {
 public:
  Terminal() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
    const int slave = ::open(::ptsname(master_), O_RDWR | O_NOCTTY);
    if (slave >= 0) stream_ = ::fdopen(slave, "w");
    // Read all along, so that the program never waits on a full terminal.
    reader_ = std::thread([this] {
      char buffer[4096];
      for (;;) {
        pollfd ready{master_, POLLIN, 0};
        const int n = ::poll(&ready, 1, 50);
        if (n > 0 && (ready.revents & POLLIN)) {
          const ssize_t got = ::read(master_, buffer, sizeof buffer);
          if (got > 0) shown_.append(buffer, static_cast<std::size_t>(got));
          continue;
        }
        if (stop_ || n < 0 || (n > 0 && !(ready.revents & POLLIN))) return;
      }
    });
  }
  ~Terminal() {
    Close();
    if (master_ >= 0) ::close(master_);
  }
  std::FILE* stream() const { return stream_; }

  // Everything the terminal received, once the program is done with it.
  std::string Shown() {
    Close();
    return shown_;
  }

 private:
  void Close() {
    if (!reader_.joinable()) return;
    stop_ = true;  // the reader drains what is in flight before it stops
    reader_.join();
    if (stream_) std::fclose(stream_);
    stream_ = nullptr;
  }

  int master_ = -1;
  std::FILE* stream_ = nullptr;
  std::thread reader_;
  std::atomic<bool> stop_{false};
  std::string shown_;
};

TEST_F(Cli, ProgressOnATerminalForBigSourcesOnlyAndErasedWhenDone) {
  const std::string big = Source("big.csv", BigSource());
  const std::string small = Source("small.csv");
  const std::string bigPage = Run({"--output", "-", big}).out;
  const std::string smallPage = Run({"--output", "-", small}).out;

  struct Case {
    std::vector<std::string> args;
    bool progress;
  };
  const Case cases[] = {
      {{big}, true},
      {{"--verbose", big}, true},
      {{"--quiet", big}, false},
      {{small}, false},
  };
  for (const Case& c : cases) {
    const std::string& source = c.args.back();
    const std::string page = OutputPath(source);
    const bool verbose = c.args[0] == "--verbose";
    Terminal terminal;
    ASSERT_NE(terminal.stream(), nullptr);
    const Result r = RunTo(c.args, terminal.stream());
    const std::string shown = terminal.Shown();
    SCOPED_TRACE(testing::PrintToString(c.args) + " showed " + testing::PrintToString(shown.substr(0, 200)));
    EXPECT_EQ(r.status, 0);
    // Progress changes nothing in the page (compared whole: a diff would be megabytes).
    EXPECT_TRUE(ReadFile(page) == (source == big ? bigPage : smallPage));
    const std::string name = fs::path(source).filename().string();
    EXPECT_EQ(std::regex_search(shown, std::regex("\rvornask-convert: " + name + " [1-9][0-9]?%")),
              c.progress);
    const std::size_t told = shown.find(source + " -> " + page + ": ");
    EXPECT_EQ(told != std::string::npos, verbose);
    if (c.progress) {
      // Erased before anything else is said: only spaces after the last return but one.
      const std::string progress = shown.substr(0, told);
      ASSERT_EQ(progress.back(), '\r');
      const std::string last = progress.substr(progress.rfind('\r', progress.size() - 2));
      EXPECT_EQ(last.find_first_not_of("\r "), std::string::npos) << "left on screen: " << last;
    }
    if (!c.progress && !verbose) {
      EXPECT_EQ(shown, "");
    }
    fs::remove(page);
  }
}
#endif

}  // namespace
}  // namespace vornask
