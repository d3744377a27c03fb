#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"
#include "text/failure.h"
#include "text/files.h"
#include "text/lines.h"
#include "text/sjis.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace vornask {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::string RoundTrip(std::string_view bytes) {
  std::string out;
  EXPECT_TRUE(sjis::Encode(sjis::Decode(bytes), out));
  return out;
}

// ---- Shift_JIS codec ------------------------------------------------------

TEST(Sjis, EveryByteAndEveryPairRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    ASSERT_EQ(RoundTrip(one), one) << "byte " << b;
  }
  for (int code = 0; code < 0x10000; ++code) {
    const std::string two{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    ASSERT_EQ(RoundTrip(two), two) << "pair " << std::hex << code;
  }
}

TEST(Sjis, DecodesAsWindowsDoesAndKeepsTheRestAsRawBytes) {
  struct Case {
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"\x95\x5C", u"表"},
      {"\x83\x5C\x94\x5C", u"ソ能"},
      {"\\~", u"\\~"},
      {"\xA1\xDF", u"\uFF61\uFF9F"},          // half-width katakana
      {"\x81\x60\x81\x7C", u"\uFF5E\uFF0D"},  // wave dash and minus as Windows maps them
      {"\xFA\x5C", u"\u7E8A"},                // IBM extension, the form Windows writes
      {"\xF0\x40", u"\uE000"},                // user-defined area
      {std::string(1, '\0'), u"\uF700"},
      {"\x80\xA0\xFD\xFE\xFF", u"\uF780\uF7A0\uF7FD\uF7FE\uF7FF"},
      {"a\x81", u"a\uF781"},          // lone lead byte at the end
      {"\x81,", u"\uF781,"},          // lead byte before a byte that cannot follow it
      {"\xED\x40", u"\uF7ED\uF740"},  // NEC-selected pair: Windows writes FA5C
      {"\x87\x90", u"\uF787\uF790"},  // duplicate of 81E0
      {"\x85\x40", u"\uF785\uF740"},  // unassigned pair
  };
  for (const auto& c : cases) EXPECT_EQ(sjis::Decode(c.bytes), c.text) << c.bytes;
}

TEST(Sjis, EncodeReportsTheFirstUnencodableCharacterAndItsLine) {
  struct Case {
    std::u16string text;
    char32_t character;
    std::size_t line;
  };
  const Case cases[] = {
      {u"€", 0x20AC, 1},      {u"a\nb€", 0x20AC, 2},         {u"a\r\n€", 0x20AC, 2},
      {u"a\r\r€", 0x20AC, 3}, {u"ok\U0001F600", 0x1F600, 1}, {u"x\xD800y", 0xD800, 1},  // a lone surrogate
  };
  for (const auto& c : cases) {
    std::string out;
    sjis::Unencodable bad;
    EXPECT_FALSE(sjis::Encode(c.text, out, &bad));
    EXPECT_EQ(bad.character, c.character);
    EXPECT_EQ(bad.line, c.line);
  }
}

TEST(Sjis, FromUtf8Fallbacks) {
  struct Case {
    std::string utf8;
    std::string percent;
    std::string reference;
  };
  const Case cases[] = {
      {"表a",
       "\x95\x5C"
       "a",
       "\x95\x5C"
       "a"},
      {"表€", "\x95\x5C%E2%82%AC", "\x95\x5C&#x20AC;"},
      {"\U0001F600", "%F0%9F%98%80", "&#x1F600;"},
      {"\xEF\x9E\x80", "\x80", "\x80"},  // U+F780 is the raw byte 0x80
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sjis::FromUtf8(c.utf8, sjis::Fallback::PercentUtf8), c.percent);
    EXPECT_EQ(sjis::FromUtf8(c.utf8, sjis::Fallback::CharacterReference), c.reference);
  }
  try {
    sjis::FromUtf8("ab\n€", sjis::Fallback::Fail);
    ADD_FAILURE() << "no failure";
  } catch (const Failure& f) {
    EXPECT_NE(std::string(f.what()).find("U+20AC, 2 行目"), std::string::npos) << f.what();
  }
}

TEST(Sjis, CharacterReferencesExpandOnlyForUnencodableCharacters) {
  const std::pair<std::string, std::string> cases[] = {
      {"&#x20AC;", "€"},        {"a&#x20ac;b", "a€b"},        {"&#x1F600;", "\U0001F600"},
      {"&#x8868;", "&#x8868;"},  // 表 is written as itself, so this was typed
      {"&#x41;", "&#x41;"},     {"&#x20AC", "&#x20AC"},       {"&#x;", "&#x;"},
      {"&#xD800;", "&#xD800;"}, {"&#x110000;", "&#x110000;"}, {"&#x000000020AC;", "&#x000000020AC;"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(sjis::ExpandCharacterReferences(in), out) << in;

  for (std::string text : {"表€\U0001F600x", "\xEF\x9E\x81\xEF\x9F\xBF", "¢£¬", "a\xE2\x88\x92"}) {
    const std::string stored = sjis::FromUtf8(text, sjis::Fallback::CharacterReference);
    EXPECT_EQ(sjis::ExpandCharacterReferences(sjis::DecodeToUtf8(stored)), text);
  }
}

// ---- Lines ----------------------------------------------------------------

TEST(SplitLines, EveryBreakKindEndsALineAndOneFinalEmptyLineIsNotCounted) {
  using Lines = std::vector<std::string_view>;
  const std::pair<std::string_view, Lines> cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"\r\r\n", {"", ""}},
      {"a\r\n\r\n", {"a", ""}},
      {"x\ry\nz\r\n", {"x", "y", "z"}},
  };
  for (const auto& [text, lines] : cases) EXPECT_EQ(SplitLines(text), lines) << testing::PrintToString(text);
}

TEST(SplitLines, LongTextWithLoneCrBreaks) {
  std::string text;
  for (int i = 0; i < 300000; ++i) text += "abc,def\r";
  const auto lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 300000u);
  EXPECT_EQ(lines.back(), "abc,def");
}

// ---- Files ----------------------------------------------------------------

TEST(Files, ReadFileBytesReadsEveryByteOrNamesTheFile) {
  TempDir dir;
  const std::string bytes("a\0b\r\n\xFF", 6);
  WriteFile(dir / "f.bin", bytes);
  EXPECT_EQ(ReadFileBytes(dir / "f.bin"), bytes);
  for (const std::string& path : {dir / "missing", dir.path()}) {
    try {
      ReadFileBytes(path);
      ADD_FAILURE() << path;
    } catch (const Failure& f) {
      EXPECT_EQ(std::string(f.what()), "ファイル " + path + " は開けません");
    }
  }
}

TEST(AtomicFile, CreatesAndReplacesLeavingNoTemporaryFile) {
  TempDir dir;
  const std::string target = dir / "out.html";
  WriteFileAtomically(target, "first", kStreamWriteError);
  EXPECT_EQ(ReadFile(target), "first");
  WriteFileAtomically(target, "second", kStreamWriteError);
  EXPECT_EQ(ReadFile(target), "second");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.html"});
}

TEST(AtomicFile, AbandonedWriteLeavesTheOldFile) {
  TempDir dir;
  const std::string target = dir / "out.html";
  WriteFile(target, "old");
  {
    AtomicFile file(target, kStreamWriteError);
    file.Write("half a page");
  }  // a failure between the writes and Commit unwinds through here
  EXPECT_EQ(ReadFile(target), "old");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.html"});
}

TEST(AtomicFile, KeepsPermissionsAndWritesThroughALink) {
  TempDir dir;
  const std::string real = dir / "real.kel";
  WriteFile(real, "old");
  ::chmod(real.c_str(), 0600);
  std::filesystem::create_symlink(real, dir / "link.kel");
  WriteFileAtomically(dir / "link.kel", "new", kStreamWriteError);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.kel"));
  EXPECT_EQ(ReadFile(real), "new");
  struct stat st {};
  ASSERT_EQ(::stat(real.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(AtomicFile, UncreatableTargetsFailWithTheCreateMessage) {
  TempDir dir;
  std::filesystem::create_directory(dir / "folder");
  WriteFile(dir / "plain", "x");
  for (const std::string& target : {dir / "missing/out.html", dir / "folder", dir / "plain/out.html"}) {
    try {
      WriteFileAtomically(target, "page", kStreamWriteError);
      ADD_FAILURE() << target;
    } catch (const Failure& f) {
      EXPECT_EQ(std::string(f.what()), "ファイル " + target + " を作成できません");
    }
  }
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"folder", "plain"}));
}

TEST(AtomicFile, ReadOnlyFolderKeepsTheOldFile) {
  TempDir dir;
  const std::string folder = dir / "ro";
  std::filesystem::create_directory(folder);
  WriteFile(folder + "/out.html", "old");
  test::MakeReadOnlyFolder(folder);
  const std::string problem = test::RunUnprivileged([&]() -> std::string {
    try {
      WriteFileAtomically(folder + "/out.html", "new", kStreamWriteError);
      return "no failure";
    } catch (const Failure& f) {
      if (std::string(f.what()) != "ファイル " + folder + "/out.html を作成できません") return f.what();
    }
    return "";
  });
  EXPECT_EQ(problem, "");
  EXPECT_EQ(ReadFile(folder + "/out.html"), "old");
  EXPECT_EQ(dir.Names(folder), std::vector<std::string>{"out.html"});
}

#ifndef _WIN32
TEST(AtomicFile, ShortWriteFailsWithTheWriteMessageAndKeepsTheOldFile) {
  TempDir dir;
  const std::string target = dir / "out.html";
  WriteFile(target, "old");
  // A file size limit makes the disk "full" after 4 KiB, for this process only.
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 4096;
  auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string message;
  try {
    WriteFileAtomically(target, std::string(1 << 20, 'x'), kStreamWriteError);
  } catch (const Failure& f) {
    message = f.what();
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(message, kStreamWriteError);
  EXPECT_EQ(ReadFile(target), "old");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.html"});
}
#endif

}  // namespace
}  // namespace vornask
