// Faults of the file system under every read and write the core and the
// command-line converter make: each fails with the file's message, keeps the
// old file, and leaves nothing half-written.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "cli/cli.h"
#include "fault_support.h"
#include "settings/option_lines.h"
#include "test_support.h"
#include "text/failure.h"
#include "text/files.h"
#include "text/sjis.h"

namespace vornask {
namespace {

using test::AllNames;
using test::Contains;
using test::Drain;
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

struct Result {
  int status = -1;
  std::string err;
};

Result Convert(const test::TempDir& dir, const std::vector<std::string>& args) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  Result r;
  r.status = RunConverter(args, dir / "bin/vornask-convert", "", out, err);
  Drain(out);
  r.err = Drain(err);
  return r;
}

// A source whose page is about 90 KiB.
std::string BigSource() {
  std::string s;
  for (int i = 0; i < 1000; ++i) s += "cell,cell\r\n";
  return s;
}

// ---- Command-line converter: files that are not where they should be ---------

TEST(FaultCli, MissingOrMisplacedFilesFailWithTheirMessageAndWriteNothing) {
  test::TempDir dir;
  fs::create_directories(dir / "bin");
  WriteFile(dir / "list.csv", "a,b\r\n");
  WriteFile(dir / "list.html", "old page");
  fs::create_directory(dir / "folder.csv");  // a source replaced by a folder
  fs::create_directory(dir / "folder.kel");
  fs::create_directory(dir / "out.html");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string message;
  };
  const Case cases[] = {
      // A source that vanished before it was read.
      {{dir / "gone.csv"}, 1, CannotOpenMessage(dir / "gone.csv")},
      {{dir / "folder.csv"}, 1, CannotOpenMessage(dir / "folder.csv")},
      // The page's folder is missing, or a folder stands where the page goes.
      {{"--output", dir / "missing/list.html", dir / "list.csv"}, 1,
       CannotCreateMessage(dir / "missing/list.html")},
      {{"--output", dir / "out.html", dir / "list.csv"}, 1, CannotCreateMessage(dir / "out.html")},
      // Settings that cannot be read stop everything before a page is written.
      {{"--settings", dir / "none.kel", dir / "list.csv"}, 2, CannotOpenMessage(dir / "none.kel")},
      {{"--settings", dir / "folder.kel", dir / "list.csv"}, 2, CannotOpenMessage(dir / "folder.kel")},
  };
  const auto before = AllNames(dir.path());
  for (const Case& c : cases) {
    const Result r = Convert(dir, c.args);
    EXPECT_EQ(r.status, c.status) << c.args.back();
    EXPECT_TRUE(Contains(r.err, c.message)) << r.err;
    EXPECT_EQ(AllNames(dir.path()), before) << c.args.back();
    EXPECT_EQ(ReadFile(dir / "list.html"), "old page");
  }
}

#ifndef _WIN32
TEST(FaultCli, ReadOnlyFolderAndUnreadableFilesAsAnOrdinaryUser) {
  test::TempDir dir;
  fs::create_directories(dir / "bin");
  const std::string ro = dir / "ro";
  fs::create_directory(ro);
  WriteFile(ro + "/list.csv", "a,b\r\n");
  WriteFile(ro + "/list.html", "old page");
  test::MakeReadOnlyFolder(ro);
  WriteFile(dir / "secret.csv", "a\r\n");
  WriteFile(dir / "secret.kel", DefaultSettingsLines().Bytes());
  WriteFile(dir / "ok.csv", "a\r\n");
  ::chmod((dir / "secret.csv").c_str(), 0);
  ::chmod((dir / "secret.kel").c_str(), 0);
  const auto before = AllNames(dir.path());
  const std::string problem = test::RunUnprivileged([&]() -> std::string {
    struct Case {
      std::vector<std::string> args;
      int status;
      std::string message;
    };
    const Case cases[] = {
        {{ro + "/list.csv"}, 1, CannotCreateMessage(ro + "/list.html")},
        {{dir / "secret.csv"}, 1, CannotOpenMessage(dir / "secret.csv")},
        {{"--settings", dir / "secret.kel", dir / "ok.csv"}, 2, CannotOpenMessage(dir / "secret.kel")},
    };
    for (const Case& c : cases) {
      const Result r = Convert(dir, c.args);
      if (r.status != c.status || !Contains(r.err, c.message))
        return c.args.back() + ": status " + std::to_string(r.status) + ", " + r.err;
    }
    return "";
  });
  EXPECT_EQ(problem, "");
  EXPECT_EQ(ReadFile(ro + "/list.html"), "old page");
  EXPECT_EQ(AllNames(ro), (std::vector<std::string>{"list.csv", "list.html"}));
  EXPECT_EQ(AllNames(dir.path()), before);
}

// ---- Full disk ---------------------------------------------------------------

TEST(FaultCli, AFullDiskKeepsTheOldPageAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  fs::create_directories(dir / "bin");
  const std::string disk = dir / "disk";
  fs::create_directory(disk);
  test::SmallDisk small(disk, 64 * 1024);
  if (!small.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  WriteFile(disk + "/list.csv", BigSource());
  WriteFile(disk + "/list.html", "old page");
  const Result r = Convert(dir, {disk + "/list.csv"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, kStreamWriteError)) << r.err;
  EXPECT_EQ(ReadFile(disk + "/list.html"), "old page");
  EXPECT_EQ(AllNames(disk), (std::vector<std::string>{"list.csv", "list.html"}));
  // The space is there again for a page that fits.
  WriteFile(disk + "/small.csv", "a,b\r\n");
  EXPECT_EQ(Convert(dir, {disk + "/small.csv"}).status, 0);
}

TEST(FaultCli, AFileSizeLimitFailsTheWriteLikeAFullDisk) {
  test::TempDir dir;
  fs::create_directories(dir / "bin");
  WriteFile(dir / "list.csv", BigSource());
  WriteFile(dir / "list.html", "old page");
  Result r;
  {
    test::FileSizeLimit limit(8192);
    r = Convert(dir, {dir / "list.csv"});
  }
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, kStreamWriteError)) << r.err;
  EXPECT_EQ(ReadFile(dir / "list.html"), "old page");
  EXPECT_EQ(AllNames(dir.path()), (std::vector<std::string>{"bin", "list.csv", "list.html"}));
}
#endif

// ---- A file or folder that changes while a page is written ---------------------

TEST(FaultAtomicFile, TheFolderOrTargetChangingBeforeCommitFailsCleanly) {
  test::TempDir dir;
  {
    // The folder vanishes while the page is being written.
    fs::create_directory(dir / "gone");
    AtomicFile file(dir / "gone/page.html", kStreamWriteError);
    file.Write("page");
    fs::remove_all(dir / "gone");
    try {
      file.Commit();
      ADD_FAILURE() << "commit into a removed folder";
    } catch (const Failure& f) {
      EXPECT_EQ(std::string(f.what()), CannotCreateMessage(dir / "gone/page.html"));
    }
  }
  {
    // A folder takes the target's place.
    AtomicFile file(dir / "page.html", kStreamWriteError);
    file.Write("page");
    fs::create_directory(dir / "page.html");
    WriteFile(dir / "page.html/inside", "kept");
    try {
      file.Commit();
      ADD_FAILURE() << "commit over a folder";
    } catch (const Failure& f) {
      EXPECT_EQ(std::string(f.what()), CannotCreateMessage(dir / "page.html"));
    }
    EXPECT_EQ(ReadFile(dir / "page.html/inside"), "kept");
  }
  EXPECT_EQ(AllNames(dir.path()), std::vector<std::string>{"page.html"});
}

// ---- Names that Shift_JIS cannot hold -----------------------------------------

TEST(FaultCli, NamesShiftJisCannotHoldAreReadWrittenAndNamedInMessages) {
  test::TempDir dir;
  fs::create_directories(dir / "bin");
  const std::string folder = dir / "é😀";
  fs::create_directory(fs::path(std::u8string(folder.begin(), folder.end())));
  WriteFile(folder + "/ü€.csv", "a,b\r\n");
  // The image's folder is beside the source's, and its name too is not Shift_JIS.
  TSettingsLines lines = DefaultSettingsLines();
  lines.WriteLine(11, "-1");
  lines.WriteLine(13, TextToLine(dir / "ñ/bg😀.png"));
  WriteFile(folder + "/style.kel", lines.Bytes());

  const Result r = Convert(dir, {"--settings", folder + "/style.kel", folder + "/ü€.csv"});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string page = ReadFile(folder + "/ü€.html");
  // The address leads from the page to the image, as percent-encoded UTF-8.
  EXPECT_TRUE(Contains(page, "<body background=\"../%C3%B1/bg%F0%9F%98%80.png\" text=Black>")) << page;

  const Result missing = Convert(dir, {folder + "/ø.csv"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(Contains(missing.err, CannotOpenMessage(folder + "/ø.csv"))) << missing.err;
}

TEST(FaultSettings, ImagePathsShiftJisCannotHoldRoundTripThroughASettingsFile) {
  const std::string paths[] = {
      "/home/user/é/bg.png", "/home/user/pics/😀 party.png", "/srv/表/ソ能/ü€.jpg",
      "/tmp/mixed-é表😀-\U00020B9F.gif",  // a character outside the first plane, too
  };
  test::TempDir dir;
  for (const std::string& path : paths) {
    OptionStateControls stored;
    stored.bodyImagePath = path;
    stored.tableImagePath = path + ".table";
    stored.state.captionText = "見出し " + path;
    TSettingsLines lines;
    StoreOptionLines(lines, stored);
    // The file itself is Shift_JIS: every byte decodes to a character.
    WriteFileAtomically(dir / "named.kel", lines.Bytes(), kStreamWriteError);
    std::string encoded;
    EXPECT_TRUE(sjis::Encode(sjis::Decode(ReadFile(dir / "named.kel")), encoded));

    TSettingsLines loaded;
    loaded.Load(ReadFileBytes(dir / "named.kel"));
    OptionStateControls read;
    ApplyOptionLines(loaded, read);
    EXPECT_EQ(read.bodyImagePath, path);
    EXPECT_EQ(read.tableImagePath, path + ".table");
    EXPECT_EQ(read.state.captionText, "見出し " + path);
  }
}

}  // namespace
}  // namespace vornask
