// Bad input for the command-line converter: each source converts to a page
// that follows the rules (or fails with a clear message), in bounded time and
// memory, and every bad settings file is refused or read without a crash.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "cli/cli.h"
#include "page_check.h"
#include "settings/option_lines.h"
#include "settings/text_forms.h"
#include "text/failure.h"
#include "test_support.h"

namespace vornask {
namespace {

using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

using test::BadSources;
using test::Binary;
using test::kSanitized;
using test::Repeat;
using Source = test::BadSource;

struct Outcome {
  int status = -1;
  std::string err;
  double seconds = 0;
  long peakKiB = 0;  // of the converting process
};

// A huge line's message quotes only its first 4096 bytes, never half a
// character: a message box for a whole megabyte line takes minutes to appear.
TEST(Catalogue, MessagesQuoteAtMostTheFirst4096BytesOfAHugeLine) {
  const std::string huge(10 * 1024 * 1024, 'z');
  // A double-byte character across the 4096th byte is left out whole.
  const std::string straddling = std::string(4095, 'x') + "\x95\x5C" + std::string(100, 'x');
  struct Case {
    std::string line;
    std::string shown;
  };
  const Case cases[] = {{huge, std::string(4096, 'z')},
                        {straddling, std::string(4095, 'x')},
                        {std::string(4094, 'x') + "\x95\x5C", std::string(4094, 'x') + "表"}};
  for (const Case& c : cases) {
    for (bool integer : {true, false}) {
      try {
        integer ? (void)ParseInteger(c.line) : (void)ParseFlag(c.line);
        ADD_FAILURE() << "no failure";
      } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()),
                  "'" + c.shown + (integer ? "' は整数ではありません" : "' は正しい論理型ではありません"));
      }
    }
  }
}

#ifndef _WIN32
// Converts in a child process, so that its peak memory is its own and a hang
// ends it (SIGALRM) instead of the test run.
Outcome ConvertInChild(const test::TempDir& dir, const std::vector<std::string>& args) {
  std::FILE* err = std::tmpfile();
  std::fflush(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(kSanitized ? 300 : 60);
    std::FILE* out = std::fopen("/dev/null", "w");
    const int status = RunConverter(args, dir / "bin/vornask-convert", "", out, err);
    std::fflush(err);
    ::_exit(status);
  }
  Outcome r;
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.peakKiB = usage.ru_maxrss;
  std::rewind(err);
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, err)) > 0) r.err.append(buffer, n);
  std::fclose(err);
  return r;
}

TEST(Catalogue, EveryBadSourceConvertsToAPageThatFollowsTheRules) {
  test::TempDir dir;
  fs::create_directories(dir / "bin");
  for (const Source& source : BadSources()) {
    const std::string path = dir / "source.csv";
    WriteFile(path, source.bytes);
    const Outcome r = ConvertInChild(dir, {path});
    ASSERT_EQ(r.status, 0) << source.name << ": " << r.err;
    EXPECT_EQ(test::CheckPage(source.bytes, ReadFile(dir / "source.html")), "") << source.name;
    // Memory: the benchmark's bound, twice the input plus 64 MiB (what the
    // test process already held when it forked counts too).
    const long boundKiB = static_cast<long>(2 * source.bytes.size() / 1024) + 64 * 1024 + 32 * 1024;
    if (!kSanitized) {
      EXPECT_LE(r.peakKiB, boundKiB) << source.name;
    }
    std::printf("[ catalogue ] %-30s %8zu bytes in: %6.2f s, peak %ld MiB\n", source.name,
                source.bytes.size(), r.seconds, r.peakKiB / 1024);
  }
}

TEST(Catalogue, BadSettingsFilesAreRefusedWithTheLineOrReadWithoutLoss) {
  test::TempDir dir;
  fs::create_directories(dir / "bin");
  WriteFile(dir / "list.csv", "a,b\r\n");
  std::string tenThousand;
  for (int i = 0; i < 10000; ++i) tenThousand += (i < 22 ? DefaultSettingsLines().ReadLine(i) : "extra") + "\r\n";
  std::string nulCaption = DefaultSettingsLines().Bytes();
  nulCaption.replace(nulCaption.find("\r\n\r\n\r\n9") + 4, 0, std::string("a\0b", 3));  // line 15
  struct Case {
    const char* name;
    std::string bytes;
    int status;
    std::string message;  // part of the error output
  };
  const Case cases[] = {
      {"garbage", Binary(), 2, "line 1: '"},
      {"10,000 lines", tenThousand, 0, ""},
      {"one huge line", Repeat("9", 10 * 1024 * 1024), 2, "line 1: '" + std::string(4096, '9') + "' "},
      {"NUL in an integer line", std::string("1\0\r\n", 4), 2, "line 1: '1"},
      {"NUL in the caption", nulCaption, 0, ""},
  };
  for (const Case& c : cases) {
    WriteFile(dir / "style.kel", c.bytes);
    fs::remove(dir / "list.html");
    const Outcome r = ConvertInChild(dir, {"--settings", dir / "style.kel", dir / "list.csv"});
    EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err.substr(0, 200);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.name << ": " << r.err.substr(0, 200);
    EXPECT_EQ(fs::exists(dir / "list.html"), c.status == 0) << c.name;
    if (c.status == 0) {
      EXPECT_EQ(test::CheckPage("a,b\r\n", ReadFile(dir / "list.html")), "") << c.name;
    }
    std::printf("[ catalogue ] settings: %-24s %8zu bytes: %6.2f s, exit %d\n", c.name, c.bytes.size(),
                r.seconds, r.status);
  }
  // The NUL byte in the caption reaches the page as it was.
  WriteFile(dir / "style.kel", nulCaption);
  ConvertInChild(dir, {"--settings", dir / "style.kel", dir / "list.csv"});
  EXPECT_NE(ReadFile(dir / "list.html").find(std::string("<font size=3>a\0b</font size>", 26)), std::string::npos);
}
#endif

}  // namespace
}  // namespace vornask
