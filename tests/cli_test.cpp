#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "conversion/page_writer.h"
#include "settings/option_lines.h"
#include "test_support.h"
#include "text/lines.h"

namespace vornask {
namespace {

using test::CrLf;
using test::ReadFile;
using test::Sjis;
using test::WriteFile;
namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Drain(std::FILE* f) {
  std::string text;
  std::rewind(f);
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  return text;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class Cli : public testing::Test {
 protected:
  Cli() { fs::create_directories(dir / "bin"); }

  Result Run(const std::vector<std::string>& args) const {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    Result r;
    r.status = RunConverter(args, dir / "bin/vornask-convert", dir / "config", out, err);
    r.out = Drain(out);
    r.err = Drain(err);
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

}  // namespace
}  // namespace vornask
