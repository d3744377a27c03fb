#include <gtest/gtest.h>

#include <string>

#include "conversion/image_url.h"
#include "text/paths.h"

namespace vornask {
namespace {

constexpr PathStyle kWin = PathStyle::Windows;
constexpr PathStyle kPosix = PathStyle::Posix;

struct UrlCase {
  const char* base;
  const char* image;
  const char* url;
};

TEST(RelativeImageUrl, WindowsStyle) {
  const UrlCase cases[] = {
      {"C:\\work\\list.csv", "C:\\work\\bg.jpg", "bg.jpg"},
      {"C:\\work\\list.csv", "C:\\work\\img\\bg.jpg", "img/bg.jpg"},
      {"C:\\work\\list.csv", "C:\\pics\\bg.jpg", "../pics/bg.jpg"},
      {"C:\\work\\list.csv", "C:\\WORK\\bg.jpg", "bg.jpg"},
      {"C:\\work\\list.csv", "C:\\a\\b\\bg.jpg", "../a/b/bg.jpg"},
      {"C:\\work\\list.csv", "c:\\work\\bg.jpg", "bg.jpg"},
      {"C:\\work\\list.csv", "D:\\pics\\bg.jpg", "D:/pics/bg.jpg"},
      {"C:\\work\\list.csv", "pics\\bg.jpg", "pics/bg.jpg"},
      {"C:\\work\\list.csv", "C:\\bg.jpg", "../bg.jpg"},
      {"C:\\list.csv", "C:\\work\\bg.jpg", "work/bg.jpg"},
      {"C:\\work\\sub\\list.csv", "C:\\work\\other\\bg.jpg", "../other/bg.jpg"},
      {"C:\\work\\list.csv", "C:\\work\\\\bg.jpg", "bg.jpg"},  // empty names do not count
      {"C:\\work\\list.csv", "", ""},
      // 表, ソ and 能 end in the byte 0x5C in Shift_JIS; the names stay whole.
      {"C:\\work\\list.csv", "C:\\work\\表\\bg.jpg", "表/bg.jpg"},
      {"C:\\表\\list.csv", "C:\\表\\ソ能.jpg", "ソ能.jpg"},
      {"C:\\表\\list.csv", "C:\\能\\bg.jpg", "../能/bg.jpg"},
      {"\\\\srv\\share\\a\\list.csv", "\\\\SRV\\Share\\a\\img\\bg.jpg", "img/bg.jpg"},
      {"\\\\srv\\share\\a\\list.csv", "\\\\srv\\other\\bg.jpg", "//srv/other/bg.jpg"},
      {"\\\\srv\\share\\a\\list.csv", "C:\\a\\bg.jpg", "C:/a/bg.jpg"},
  };
  for (const auto& c : cases) EXPECT_EQ(RelativeImageUrl(c.base, c.image, kWin), c.url) << c.image;
}

TEST(RelativeImageUrl, PosixStyle) {
  const UrlCase cases[] = {
      {"/home/u/work/list.csv", "/home/u/work/bg.jpg", "bg.jpg"},
      {"/home/u/work/list.csv", "/home/u/work/img/bg.jpg", "img/bg.jpg"},
      {"/home/u/work/list.csv", "/home/u/pics/bg.jpg", "../pics/bg.jpg"},
      {"/home/u/work/list.csv", "/home/u/WORK/bg.jpg", "../WORK/bg.jpg"},  // names are case-sensitive
      {"/home/u/work/list.csv", "/bg.jpg", "../../../bg.jpg"},
      {"/home/u/work/list.csv", "pics/bg.jpg", "pics/bg.jpg"},
      {"/home/u/work/list.csv", "/home/u/work/a\\b.jpg", "a\\b.jpg"},  // a name may hold "\"
      {"/home/u/work/list.csv", "/home//u/work/表/bg.jpg", "表/bg.jpg"},
      {"/list.csv", "/work/bg.jpg", "work/bg.jpg"},
      {"/home/u/work/list.csv", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(RelativeImageUrl(c.base, c.image, kPosix), c.url) << c.image;
}

struct PathCase {
  PathStyle style;
  const char* path;
  const char* expected;
};

TEST(OutputPath, ReplacesTheLastExtensionOfTheNameOnly) {
  const PathCase cases[] = {
      {kWin, "C:\\list.csv", "C:\\list.html"},
      {kWin, "C:\\data\\list.csv", "C:\\data\\list.html"},
      {kWin, "C:\\data\\a.b.csv", "C:\\data\\a.b.html"},
      {kWin, "C:\\data\\notes", "C:\\data\\notes.html"},
      {kWin, "C:\\data\\notes.txt", "C:\\data\\notes.html"},
      {kWin, "C:\\data.d\\notes", "C:\\data.d\\notes.html"},
      {kWin, "C:\\data\\LIST.CSV", "C:\\data\\LIST.html"},
      {kWin, "C:\\表\\ソ.csv", "C:\\表\\ソ.html"},
      {kPosix, "/tmp/list.csv", "/tmp/list.html"},
      {kPosix, "/tmp/a.b.csv", "/tmp/a.b.html"},
      {kPosix, "/tmp/x.d/notes", "/tmp/x.d/notes.html"},
      {kPosix, "/list", "/list.html"},
      {kPosix, "/tmp/a\\b.c\\d", "/tmp/a\\b.html"},
  };
  for (const auto& c : cases) EXPECT_EQ(OutputPath(c.path, c.style), c.expected) << c.path;
}

TEST(HasHtmlExtension, AnyLetterCaseOfHtmlOrHtmInTheNameOnly) {
  const std::tuple<PathStyle, const char*, bool> cases[] = {
      {kWin, "C:\\d\\LIST.HTM", true}, {kWin, "C:\\d\\a.Html", true},  {kWin, "C:\\d\\a.html", true},
      {kWin, "C:\\d\\.htm", true},     {kWin, "C:page.htm", true},     {kWin, "C:\\d\\a.html.csv", false},
      {kWin, "C:\\d\\a.htmlx", false}, {kWin, "C:\\d\\a.ht", false},   {kWin, "C:\\x.html\\list", false},
      {kWin, "C:\\d\\a.htm ", false},  {kWin, "C:\\d\\notes", false},  {kPosix, "/d/a.HTM", true},
      {kPosix, "/x.htm/list", false},  {kPosix, "/d/list.csv", false}, {kPosix, "C:\\x.htm\\list", false},
  };
  for (const auto& [style, path, html] : cases) EXPECT_EQ(HasHtmlExtension(path, style), html) << path;
}

TEST(InitialFolder, DriveColonAndFolderWithoutTrailingSeparator) {
  const PathCase cases[] = {
      {kWin, "C:\\data\\list.csv", "C:\\data"}, {kWin, "C:\\list.csv", "C:\\"},
      {kWin, "D:\\a\\b\\c.txt", "D:\\a\\b"},    {kWin, "C:\\表\\list.csv", "C:\\表"},
      {kWin, "\\\\srv\\share\\list.csv", ""},   {kWin, "list.csv", ""},
      {kPosix, "/data/list.csv", "/data"},      {kPosix, "/list.csv", "/"},
      {kPosix, "/a/b/c.txt", "/a/b"},
  };
  for (const auto& c : cases) EXPECT_EQ(InitialFolder(c.path, c.style), c.expected) << c.path;
}

}  // namespace
}  // namespace vornask
