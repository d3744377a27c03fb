#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "settings/option_lines.h"
#include "settings/option_state.h"
#include "settings/settings_lines.h"
#include "settings/settings_paths.h"
#include "settings/text_forms.h"
#include "test_support.h"

namespace vornask {
namespace {

using test::CrLf;
using test::Sjis;

std::string FailureText(void (*parse)(std::string_view), std::string_view line) {
  try {
    parse(line);
  } catch (const Failure& f) {
    return f.what();
  }
  return "";
}

// ---- Text forms -----------------------------------------------------------

TEST(TextForms, IntegersAccepted) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"0", 0},
      {"3", 3},
      {" 3", 3},
      {"   -7", -7},
      {"+5", 5},
      {"-1", -1},
      {"007", 7},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"$FFFFFFFF", -1},
      {"$7FFFFFFF", INT_MAX},
      {"$80000000", INT_MIN},
      {"x1F", 31},
      {"X1f", 31},
      {"0x10", 16},
      {"0X10", 16},
      {"$0", 0},
      {"$000000001", 1},
      {"0x00000000FFFFFFFF", -1},
      {"  $a", 10},
  };
  for (const auto& [line, value] : cases) EXPECT_EQ(ParseInteger(line), value) << line;
}

TEST(TextForms, IntegersRejectedWithTheLineText) {
  const char* cases[] = {"",           " ",   "3 ",  "2147483648", "-2147483649", "99999999999", "$100000000",
                         "$123456789", "-$1", "+$1", "$",          "0x",          "x",           "1.0",
                         "1e3",        "abc", "3a",  "\t3",        "0x-1",        "$ 1",         "--1",
                         "+-1",        "+",   "-",   "3\r"};
  for (const char* line : cases)
    EXPECT_EQ(FailureText([](std::string_view l) { ParseInteger(l); }, line),
              "'" + std::string(line) + "' は整数ではありません")
        << line;
  for (const char* text : {"表", "１"})
    EXPECT_EQ(FailureText([](std::string_view l) { ParseInteger(l); }, Sjis(text)),
              "'" + std::string(text) + "' は整数ではありません");
}

TEST(TextForms, Flags) {
  const std::pair<const char*, bool> accepted[] = {
      {"True", true}, {"TRUE", true},  {"tRuE", true}, {"False", false}, {"false", false}, {"1", true},
      {"-1", true},   {" 2 ", true},   {"0", false},   {"  0  ", false}, {"0.5", true},    {"1E3", true},
      {"+1", true},   {"-0.0", false}, {"1e-5", true}, {".5", true},     {"5.", true},     {"0e7", false},
  };
  for (const auto& [line, value] : accepted) EXPECT_EQ(ParseFlag(line), value) << line;
  const char* rejected[] = {"",   " ",   "yes", " True", "True ", "T",    "1 2",   "1e",
                            "e1", "0x1", "1,5", "-",     ".",     "1..2", "Truee", "-1\t"};
  for (const char* line : rejected)
    EXPECT_EQ(FailureText([](std::string_view l) { ParseFlag(l); }, line),
              "'" + std::string(line) + "' は正しい論理型ではありません")
        << line;
  EXPECT_EQ(FormatFlag(true), "-1");
  EXPECT_EQ(FormatFlag(false), "0");
  EXPECT_EQ(FormatInteger(-1), "-1");
}

// ---- The buffer -----------------------------------------------------------

TEST(SettingsLines, StartsAsTwentyTwoEmptyLines) {
  TSettingsLines lines;
  EXPECT_EQ(lines.Bytes(), CrLf(std::vector<std::string>(22)));
  EXPECT_EQ(lines.Bytes().size(), 44u);
  EXPECT_EQ(lines.LineCount(), 23u);  // the empty remainder after the last break
  for (std::size_t i : {0, 21, 22, 23, 500}) EXPECT_EQ(lines.ReadLine(i), "");
}

TEST(SettingsLines, WritesReplaceALineAndNeverAddOne) {
  TSettingsLines lines;
  lines.WriteLine(0, "9");
  lines.WriteLine(3, "abc");
  lines.WriteLine(3, "x");
  lines.WriteLine(23, "lost");
  std::vector<std::string> expected(22);
  expected[0] = "9";
  expected[3] = "x";
  EXPECT_EQ(lines.Bytes(), CrLf(expected));
  lines.WriteLine(22, "tail");  // the remainder: no break after it
  EXPECT_EQ(lines.Bytes(), CrLf(expected) + "tail");
  EXPECT_EQ(lines.ReadLine(22), "tail");
  lines.WriteLine(23, "lost");
  EXPECT_EQ(lines.Bytes(), CrLf(expected) + "tail");
}

TEST(SettingsLines, LoadMakesEveryBreakCrLfAndKeepsTheRest) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\nb\n", "a\r\nb\r\n"}, {"a\rb\r", "a\r\nb\r\n"}, {"a\r\nb", "a\r\nb"},
      {"\n\r", "\r\n\r\n"},     {"\r\r\n", "\r\n\r\n"},   {std::string("x\0y", 3), std::string("x\0y", 3)},
  };
  for (const auto& [file, held] : cases) {
    TSettingsLines lines;
    lines.Load(file);
    EXPECT_EQ(lines.Bytes(), held);
  }
}

TEST(SettingsLines, LongLinesReadBackWhole) {
  TSettingsLines lines;
  const std::string caption(5000, 'c');
  lines.WriteLine(15, caption);
  EXPECT_EQ(lines.ReadLine(15), caption);
  lines.Load(lines.Bytes());
  EXPECT_EQ(lines.ReadLine(15), caption);
}

TEST(SettingsLines, ThirteenLineFile) {
  std::vector<std::string> file(13, "0");
  TSettingsLines lines;
  lines.Load(CrLf(file));
  OptionStateControls controls;
  controls.state.captionText = "old";
  controls.bodyImagePath = "old";
  ApplyOptionLines(lines, controls);
  EXPECT_EQ(controls.state.captionText, "");
  EXPECT_EQ(controls.bodyImagePath, "");
  lines.WriteLine(13, "p");
  lines.WriteLine(14, "lost");
  lines.WriteLine(20, "lost");
  EXPECT_EQ(lines.Bytes(), CrLf(file) + "p");
}

// ---- Option lines ---------------------------------------------------------

// Records every call; handlers may write the buffer as the window's do.
class RecordingControls : public IOptionControls {
 public:
  std::vector<std::string> calls;
  TSettingsLines* buffer = nullptr;
  std::string savedByHandler;
  bool checked[2] = {false, false};
  std::string caption;

  int ColorIndex(int box) const override { return box * 2; }
  void SelectColor(int box, int index) override { Log("color", box, std::to_string(index)); }
  int SizeIndex(int box) const override { return box + 100; }
  void SelectSize(int box, int index) override { Log("size", box, std::to_string(index)); }
  bool Checked(int box) const override { return checked[box - 1]; }
  void SetChecked(int box, bool value) override {
    Log("check", box, value ? "on" : "off");
    if (checked[box - 1] == value) return;
    checked[box - 1] = value;
    if (box == 1 && buffer) {  // CheckBox1Click: writes its line and saves
      buffer->WriteLine(settings_line::kCheckBox1, FormatFlag(value));
      savedByHandler = buffer->Bytes();
    }
  }
  std::string CaptionText() const override { return caption; }
  void SetCaptionText(const std::string& text) override { Log("caption", 0, text), caption = text; }
  std::string BodyImagePath() const override { return "body"; }
  void SetBodyImagePath(const std::string& p) override { Log("body", 0, p); }
  std::string TableImagePath() const override { return "table"; }
  void SetTableImagePath(const std::string& p) override { Log("table", 0, p); }

 private:
  void Log(const char* what, int box, const std::string& value) {
    calls.push_back(std::string(what) + (box ? std::to_string(box) : "") + "=" + value);
  }
};

std::vector<std::string> FileLines() {
  return {"10", "11", "12", "13", "14", "5", "6", "7", "8", "9", "4", "True", "0", "b.jpg", "t.png", "cap"};
}

TEST(OptionLines, ApplyWalksTheLinesInTheirFixedOrder) {
  TSettingsLines lines;
  lines.Load(CrLf(FileLines()));
  RecordingControls controls;
  ApplyOptionLines(lines, controls);
  const std::vector<std::string> expected = {"color1=10",  "color5=11",  "color3=12",   "color4=13",
                                             "color2=14",  "size1=5",    "size3=6",     "size4=7",
                                             "size5=8",    "size6=9",    "size2=4",     "check1=on",
                                             "check2=off", "body=b.jpg", "table=t.png", "caption=cap"};
  EXPECT_EQ(controls.calls, expected);
}

TEST(OptionLines, ApplyStopsAtTheFailingLineBeforeTouchingItsControl) {
  for (int bad = 0; bad <= 12; ++bad) {
    auto file = FileLines();
    file[bad] = bad == 4 ? "" : bad >= 11 ? "yes" : "3 ";
    TSettingsLines lines;
    lines.Load(CrLf(file));
    RecordingControls controls;
    try {
      ApplyOptionLines(lines, controls);
      ADD_FAILURE() << "line " << bad;
    } catch (const SettingsLineFailure& f) {
      EXPECT_EQ(f.line, bad);
      const std::string form = bad >= 11 ? "' は正しい論理型ではありません" : "' は整数ではありません";
      EXPECT_EQ(std::string(f.what()), "'" + file[bad] + form);
    }
    EXPECT_EQ(controls.calls.size(), static_cast<std::size_t>(bad)) << "line " << bad;
  }
}

TEST(OptionLines, HandlersRunningInsideApplySeeAndChangeTheBuffer) {
  auto file = FileLines();
  file[11] = " 2 ";
  TSettingsLines lines;
  lines.Load(CrLf(file) + CrLf({"9", "font", "1", "2", "3", ""}));
  RecordingControls controls;
  controls.buffer = &lines;
  ApplyOptionLines(lines, controls);
  file[11] = "-1";  // the handler's written form, saved with everything loaded
  EXPECT_EQ(controls.savedByHandler, CrLf(file) + CrLf({"9", "font", "1", "2", "3", ""}));
  EXPECT_EQ(controls.calls.back(), "caption=cap");
}

TEST(OptionLines, StoreWritesLinesZeroToFifteenOnly) {
  TSettingsLines lines;
  for (int i = 16; i <= 21; ++i) lines.WriteLine(i, "keep" + std::to_string(i));
  RecordingControls controls;
  controls.checked[0] = true;
  controls.caption = "売上€";
  StoreOptionLines(lines, controls);
  const std::vector<std::string> expected = {
      "2",      "10",     "6",      "8",      "4",      "101",   "103",   "104",
      "105",    "106",    "102",    "-1",     "0",      "body",  "table", Sjis("売上") + "&#x20AC;",
      "keep16", "keep17", "keep18", "keep19", "keep20", "keep21"};
  EXPECT_EQ(lines.Bytes(), CrLf(expected));
}

TEST(OptionLines, StoredStateComesBackThroughAFile) {
  OptionStateControls saved;
  saved.state.colorIndex = {19, 16, 0, -1, 7};
  saved.state.sizeIndex = {6, 0, 10, -1, 0, 5};
  saved.state.useBodyImage = true;
  saved.state.captionText = "表 <b>€</b> \U0001F600";
  saved.bodyImagePath = "/home/u/写真/bg€.jpg";
  saved.tableImagePath = std::string("C:\\raw\xEF\x9E\x80.png");  // a raw byte 0x80 in the name
  TSettingsLines lines;
  StoreOptionLines(lines, saved);
  TSettingsLines loaded;
  loaded.Load(lines.Bytes());
  OptionStateControls restored;
  ApplyOptionLines(loaded, restored);
  EXPECT_EQ(restored.state, saved.state);
  EXPECT_EQ(restored.bodyImagePath, saved.bodyImagePath);
  EXPECT_EQ(restored.tableImagePath, saved.tableImagePath);
}

TEST(OptionLines, LineFormsAsThePlainControlsTakeThem) {
  struct Case {
    int line;
    const char* text;
    int colorBox1;
    bool checkBox1;
  };
  const Case cases[] = {
      {0, " 3", 3, false},      {0, "25", -1, false}, {0, "-1", -1, false}, {0, "$13", 19, false},
      {11, "tRUE", 15, true},   {11, "1", 15, true},  {11, "-1", 15, true}, {11, " 2 ", 15, true},
      {11, "False", 15, false}, {11, "0", 15, false},
  };
  for (const auto& c : cases) {
    TSettingsLines lines = DefaultSettingsLines();
    lines.WriteLine(c.line, c.text);
    OptionStateControls controls;
    ApplyOptionLines(lines, controls);
    EXPECT_EQ(controls.state.colorIndex[0], c.colorBox1) << c.text;
    EXPECT_EQ(controls.state.useBodyImage, c.checkBox1) << c.text;
  }
}

TEST(OptionLines, DefaultSettingsFileAndNamedSaveOfTheDefaults) {
  const std::vector<std::string> expected = {"15", "0", "0", "15", "0", "2",
                                             "1",  "3", "3", "5",  "2", "0",
                                             "0",  "",  "",  "",   "9", Sjis("ＭＳ Ｐゴシック"),
                                             "8",  "0", "0", ""};
  EXPECT_EQ(DefaultSettingsLines().Bytes(), CrLf(expected));
  TSettingsLines named;
  StoreOptionLines(named, OptionStateControls{});
  EXPECT_EQ(named.Bytes(), CrLf({"15", "0", "0", "15", "0", "2", "1", "3", "3", "5", "2",
                                 "0",  "0", "",  "",   "",  "",  "",  "",  "",  "",  ""}));
  OptionStateControls applied;
  applied.state.colorIndex[0] = 9;
  ApplyOptionLines(DefaultSettingsLines(), applied);
  EXPECT_EQ(applied.state, OptionState{});
}

// ---- Editor font lines ----------------------------------------------------

struct RecordingFont : IEditorFont {
  std::vector<std::string> calls;
  void SetSizePoints(int points) override { calls.push_back("size=" + std::to_string(points)); }
  void SetName(const std::string& name) override { calls.push_back("name=" + name); }
  void SetColor(int r, int g, int b) override {
    calls.push_back("rgb=" + std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b));
  }
};

TEST(FontLines, ApplyAndStore) {
  struct Case {
    std::vector<std::string> lines;  // 16 to 20
    std::vector<std::string> calls;
    int failingLine;
  };
  const std::string longName(40, 'n');
  const std::string wideName = Sjis("ゴシック体のとても長い名前ですよね本当");  // 19 characters, 38 bytes
  const Case cases[] = {
      {{"12", "Arial", "300", "0", "-1"}, {"size=12", "name=Arial", "rgb=44,0,255"}, -1},
      {{"9", Sjis("ＭＳ Ｐゴシック"), "8", "0", "0"}, {"size=9", "name=ＭＳ Ｐゴシック", "rgb=8,0,0"}, -1},
      {{"10", "", "1", "2", "3"}, {"size=10", "rgb=1,2,3"}, -1},  // empty name keeps the name
      {{"10", longName, "0", "0", "0"}, {"size=10", "name=" + longName.substr(0, 31), "rgb=0,0,0"}, -1},
      {{"10", wideName, "0", "0", "0"},
       {"size=10", "name=ゴシック体のとても長い名前です", "rgb=0,0,0"},
       -1},  // never half a character
      {{"10", "F&#x20AC;", "0", "0", "0"}, {"size=10", "name=F€", "rgb=0,0,0"}, -1},
      {{"", "Arial", "1", "2", "3"}, {}, 16},
      {{"10", "Arial", "1", "2", "x"}, {"size=10", "name=Arial"}, 20},  // colour only when all three read
  };
  for (const auto& c : cases) {
    TSettingsLines lines;
    for (int i = 0; i < 5; ++i) lines.WriteLine(16 + i, c.lines[i]);
    RecordingFont font;
    int failingLine = -1;
    try {
      ApplyEditorFontLines(lines, font);
    } catch (const SettingsLineFailure& f) {
      failingLine = f.line;
    }
    EXPECT_EQ(failingLine, c.failingLine);
    EXPECT_EQ(font.calls, c.calls);
  }

  TSettingsLines lines;
  StoreEditorFontLines(lines, 11, "Noto €", 0x00FF8040u);
  EXPECT_EQ(lines.Bytes(), CrLf({"",   "",    "",    "", "", "", "", "",   "",
                                 "",   "",    "",    "", "", "", "", "11", "Noto &#x20AC;",
                                 "64", "128", "255", ""}));
}

// ---- Colours and style options -------------------------------------------

TEST(StyleOptions, ColourWords) {
  const char* words[] = {"Black", "Maroon", "Green",   "Olive",   "Navy",    "Purple", "Teal",
                         "Gray",  "Silver", "Red",     "Lime",    "Yellow",  "Blue",   "Fuchsia",
                         "Aqua",  "White",  "#C0DCC0", "#A6CAF0", "#FFFBF0", "#A0A0A4"};
  ASSERT_EQ(ColorList.size(), 20u);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(HtmlColorWord(i), words[i]) << i;
    EXPECT_EQ(ColorList[i].itemText.substr(0, 2), "cl");
  }
  EXPECT_EQ(ColorList[16].itemText, "clMoneyGreen");
  EXPECT_EQ(ColorList[19].itemText, "clMedGray");
  for (int i : {-1, 20, 25}) EXPECT_EQ(HtmlColorWord(i), "") << i;
}

TEST(StyleOptions, NumberRules) {
  struct Case {
    std::array<int, 6> sizes;
    std::array<const char*, 6>
        texts;  // FontSize, CaptionFontSize, Border, CellPadding, CellSpacing, TableWidth
  };
  const Case cases[] = {
      {{2, 2, 1, 3, 3, 5}, {"3", "3", "1", "3", "3", "100"}},
      {{0, 0, 0, 0, 0, 0}, {"1", "1", "0", "0", "0", "50"}},
      {{6, 6, 10, 10, 10, 5}, {"7", "7", "10", "10", "10", "100"}},
      {{-1, -1, -1, -1, -1, -1}, {"0", "0", "-1", "-1", "-1", "40"}},
      {{7, 9, 11, 11, 11, 6}, {"0", "0", "-1", "-1", "-1", "40"}},  // beyond the lists: no selection
  };
  for (const auto& c : cases) {
    OptionState state;
    state.sizeIndex = c.sizes;
    const TStyleOptions o = BuildStyleOptions(state);
    EXPECT_EQ(
        (std::array<std::string, 6>{o.FontSize, o.CaptionFontSize, o.Border, o.CellPadding, o.CellSpacing,
                                    o.TableWidth}),
        (std::array<std::string, 6>{c.texts[0], c.texts[1], c.texts[2], c.texts[3], c.texts[4], c.texts[5]}));
  }
  const TStyleOptions d = BuildStyleOptions(OptionState{});
  EXPECT_EQ(std::vector<std::string>({d.BodyColor, d.TextColor, d.BorderColor, d.TableColor, d.CaptionColor}),
            std::vector<std::string>({"White", "Black", "Black", "White", "Black"}));
  EXPECT_TRUE(d.CaptionText.empty() && !d.UseBodyImage && !d.UseTableImage && d.BodyImageFile.empty());
}

// ---- Settings location ----------------------------------------------------

TEST(SettingsPaths, ExeDirPath) {
  const std::tuple<PathStyle, const char*, const char*> cases[] = {
      {PathStyle::Windows, "C:\\Tools\\conv\\conv.exe", "C:\\Tools\\conv"},
      {PathStyle::Windows, "C:\\conv.exe", "C:"},
      {PathStyle::Windows, "D:\\表\\conv.exe", "D:\\表"},
      {PathStyle::Posix, "/opt/vornask/bin/vornask", "/opt/vornask/bin"},
      {PathStyle::Posix, "/vornask", ""},
  };
  for (const auto& [style, file, dir] : cases) EXPECT_EQ(ExeDirPath(file, style), dir) << file;
  const auto root = ResolveSettings("C:", "", PathStyle::Windows);
  EXPECT_EQ(root.startupFile, "C:\\kel\\kidou.kel");
  EXPECT_EQ(ResolveSettings("C:\\Tools\\conv", "", PathStyle::Windows).startupFile,
            "C:\\Tools\\conv\\kel\\kidou.kel");
}

TEST(SettingsPaths, PortableFolderBesideTheProgramElsePerUser) {
  test::TempDir dir;
  const std::string exeDir = dir / "bin";
  const std::string config = dir / "config";
  std::filesystem::create_directories(exeDir);

  const auto perUser = ResolveSettings(exeDir, config + "/", PathStyle::Posix);
  EXPECT_FALSE(perUser.portable);
  EXPECT_EQ(perUser.dir, config + "/vornask/kel");
  EXPECT_EQ(perUser.startupFile, config + "/vornask/kel/kidou.kel");
  EXPECT_TRUE(EnsureSettingsDir(perUser));
  EXPECT_TRUE(std::filesystem::is_directory(perUser.dir));

  std::filesystem::create_directories(exeDir + "/kel");
  const auto portable = ResolveSettings(exeDir, config, PathStyle::Posix);
  EXPECT_TRUE(portable.portable);
  EXPECT_EQ(portable.startupFile, exeDir + "/kel/kidou.kel");

  // Without a configuration folder the portable one is the only place, never created.
  const auto nowhere = ResolveSettings(dir / "other", "", PathStyle::Posix);
  EXPECT_TRUE(nowhere.portable);
  EXPECT_TRUE(EnsureSettingsDir(nowhere));
  EXPECT_FALSE(std::filesystem::exists(dir / "other"));
}

}  // namespace
}  // namespace vornask
