#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <sys/stat.h>
#include <unistd.h>

#include "csv/option_boxes.h"
#include "form_fixture.h"
#include "settings/option_lines.h"

namespace vornask::testing {
namespace {

using SettingsTest = FormTest;

// 22 lines, each followed by CR LF.
std::string Lines(std::vector<std::string> lines) {
  lines.resize(22);
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

const std::vector<std::string> kDefaultOptionLines = {"15", "0", "0", "15", "0", "2", "1", "3",
                                                      "3",  "5", "2", "0", "0",  "",  "",  ""};

std::vector<std::string> DefaultLines() {
  auto lines = kDefaultOptionLines;
  for (const char* font : {"9", "ＭＳ Ｐゴシック", "8", "0", "0"}) lines.push_back(Sjis(font));
  return lines;
}

ColorBox* Color(FormTest& t, const char* name) { return static_cast<ColorBox*>(t.Child<QComboBox>(name)); }

TEST_F(SettingsTest, FirstStartWithoutAFileShowsNothingAndKeepsTheDefaults) {
  Start();
  EXPECT_TRUE(dialogs->shown.empty());
  EXPECT_FALSE(Exists(StartupFile()));
  EXPECT_EQ(form->ReadStyleOptions(), BuildStyleOptions(OptionState{}));
  EXPECT_EQ(Editor()->font().family(), "ＭＳ Ｐゴシック");
  EXPECT_EQ(Editor()->font().pointSize(), 9);
}

TEST_F(SettingsTest, AChangeSavesACompleteFileThatTheNextStartRestores) {
  Start();
  Color(*this, "ColorBox1")->setCurrentIndex(9);
  emit Color(*this, "ColorBox1")->changed();
  auto expected = DefaultLines();
  expected[0] = "9";
  EXPECT_EQ(ReadFile(StartupFile()), Lines(expected));

  Restart();
  EXPECT_TRUE(dialogs->shown.empty()) << Shown().join("\n").toStdString();
  EXPECT_EQ(form->ReadStyleOptions().BodyColor, "Red");
  EXPECT_EQ(form->ReadStyleOptions().TextColor, "Black");
}

TEST_F(SettingsTest, EveryHandlerWritesItsLineAndSaves) {
  Start();
  struct Step {
    std::function<void()> change;
    int line;
    std::string text;
  };
  auto size = [this](const char* name, int index) {
    auto* box = static_cast<SizeBox*>(Child<QComboBox>(name));
    box->setCurrentIndex(index);
    emit box->changed();
  };
  auto color = [this](const char* name, int index) {
    Color(*this, name)->setCurrentIndex(index);
    emit Color(*this, name)->changed();
  };
  const std::vector<Step> steps = {
      {[&] { color("ColorBox1", 1); }, 0, "1"},   {[&] { color("ColorBox5", 2); }, 1, "2"},
      {[&] { color("ColorBox3", 3); }, 2, "3"},   {[&] { color("ColorBox4", 4); }, 3, "4"},
      {[&] { color("ColorBox2", 5); }, 4, "5"},   {[&] { size("ComboBox1", 6); }, 5, "6"},
      {[&] { size("ComboBox3", 7); }, 6, "7"},    {[&] { size("ComboBox4", 8); }, 7, "8"},
      {[&] { size("ComboBox5", 9); }, 8, "9"},    {[&] { size("ComboBox6", 0); }, 9, "0"},
      {[&] { size("ComboBox2", 1); }, 10, "1"},
      {[&] { Child<QCheckBox>("CheckBox1")->click(); }, 11, "-1"},
      {[&] { Child<QCheckBox>("CheckBox2")->click(); }, 12, "-1"},
      {[&] { Child<QLineEdit>("LabeledEdit1")->setText("表題"); }, 15, Sjis("表題")},
  };
  for (const Step& step : steps) {
    step.change();
    TSettingsLines saved;
    saved.Load(ReadFile(StartupFile()));
    EXPECT_EQ(saved.ReadLine(step.line), step.text) << "line " << step.line;
  }
  EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(SettingsTest, TheTableImageBoxAloneIsSaved) {
  Start();
  Child<QCheckBox>("CheckBox2")->click();
  Restart();
  EXPECT_TRUE(Child<QCheckBox>("CheckBox2")->isChecked());
}

TEST_F(SettingsTest, LineEndsOfAnyKindReadTheSame) {
  for (const char* brk : {"\r\n", "\n", "\r"}) {
    std::string file;
    auto lines = DefaultLines();
    lines[9] = "1";
    lines[15] = "cap";
    for (const auto& l : lines) file += l + brk;
    WriteFile("prog/kel/kidou.kel", file);
    if (form) {
      Restart();
    } else {
      Start();
    }
    EXPECT_TRUE(dialogs->shown.empty());
    EXPECT_EQ(form->ReadStyleOptions().TableWidth, "60");
    EXPECT_EQ(form->ReadStyleOptions().CaptionText, "cap");
  }
}

TEST_F(SettingsTest, AFailingLineStopsTheReadThere) {
  struct Case {
    int line;
    std::string text;
    QString message;
  };
  const Case cases[] = {
      {1, "x", "'x' は整数ではありません."},
      {4, "3 ", "'3 ' は整数ではありません."},
      {11, "yes", "'yes' は正しい論理型ではありません."},
      {16, "", "'' は整数ではありません."},
  };
  for (const Case& c : cases) {
    auto lines = DefaultLines();
    lines[0] = "9";
    lines[13] = "/img/bg.png";
    lines[c.line] = c.text;
    WriteFile("prog/kel/kidou.kel", Lines(lines));
    dialogs->shown.clear();
    if (form) {
      Restart();
    } else {
      Start();
    }
    ASSERT_EQ(Shown(), QStringList{"error|vornask|" + c.message}) << c.line;
    EXPECT_EQ(form->ReadStyleOptions().BodyColor, "Red") << "line 0 applied before the failure";
    EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), "") << "the edits are filled only at the end";
    EXPECT_EQ(form->StoredBodyImagePath(), c.line > 13 ? "/img/bg.png" : "");
    EXPECT_TRUE(form->isVisible());
  }
}

TEST_F(SettingsTest, AThirteenLineFileStopsAtTheFontAtStart) {
  std::string file;
  for (int i = 0; i < 13; ++i) file += kDefaultOptionLines[i] + "\r\n";
  WriteFile("prog/kel/kidou.kel", file);
  Start();
  EXPECT_EQ(Shown(), QStringList{"error|vornask|'' は整数ではありません."});
}

TEST_F(SettingsTest, CheckedBoxAndCaptionRewriteTheFileWhileItIsRead) {
  auto lines = DefaultLines();
  lines[11] = "True";
  lines[15] = "題";
  lines[15] = Sjis(lines[15]);
  WriteFile("prog/kel/kidou.kel", Lines(lines));
  Start();
  EXPECT_TRUE(dialogs->shown.empty());
  EXPECT_TRUE(Child<QCheckBox>("CheckBox1")->isChecked());
  lines[11] = "-1";
  EXPECT_EQ(ReadFile(StartupFile()), Lines(lines));
}

TEST_F(SettingsTest, WithoutAFolderBesideTheProgramTheUserFolderIsUsed) {
  portableSettings = false;
  Start();
  Color(*this, "ColorBox2")->setCurrentIndex(12);
  emit Color(*this, "ColorBox2")->changed();
  EXPECT_TRUE(dialogs->shown.empty());
  const QString user = Path("config/vornask/kel/kidou.kel");
  TSettingsLines saved;
  saved.Load(ReadFile(user));
  EXPECT_EQ(saved.ReadLine(4), "12");
  Restart();
  EXPECT_EQ(form->ReadStyleOptions().TextColor, "Blue");
}

TEST_F(SettingsTest, AnUnwritableFolderIsReportedAndTheControlKeepsItsValue) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
  Start();
  ::chmod(SettingsDir().toLocal8Bit().constData(), 0555);
  Color(*this, "ColorBox1")->setCurrentIndex(9);
  emit Color(*this, "ColorBox1")->changed();
  ::chmod(SettingsDir().toLocal8Bit().constData(), 0755);
  EXPECT_EQ(Shown(), QStringList{"error|vornask|ファイル " + StartupFile() + " を作成できません."});
  EXPECT_EQ(form->ReadStyleOptions().BodyColor, "Red");
  EXPECT_EQ(form->SettingsLines().ReadLine(0), "9");
}

TEST_F(SettingsTest, AStartupFileReplacedByAFolderCannotBeSaved) {
  Start();
  QDir(SettingsDir()).mkpath("kidou.kel");
  Color(*this, "ColorBox1")->setCurrentIndex(9);
  emit Color(*this, "ColorBox1")->changed();
  EXPECT_EQ(Shown(), QStringList{"error|vornask|ファイル " + StartupFile() + " を作成できません."});
}

TEST_F(SettingsTest, NamedSaveWritesTheControlsAndTheStoredPaths) {
  Start();
  Child<QLineEdit>("Edit1")->setText("/typed/by/hand.png");
  const QString named = Path("mine.kel");
  dialogs->AnswerFile(named);
  Click("Button6");
  EXPECT_EQ(dialogs->fileRuns.back().name, "SaveDialog2");
  EXPECT_EQ(dialogs->fileRuns.back().initialDir, SettingsDir());
  EXPECT_EQ(dialogs->fileRuns.back().filter, "設定ファイル(*.kel)|*.kel");
  EXPECT_EQ(ReadFile(named), Lines(DefaultLines()));
  EXPECT_FALSE(Exists(StartupFile()));
}

TEST_F(SettingsTest, NamedLoadAppliesOptionsButNotTheFontOrTheEdits) {
  Start();
  Child<QLineEdit>("Edit1")->setText("/kept.png");
  auto lines = DefaultLines();
  lines[0] = "25";  // no such colour: no selection
  lines[11] = "1";
  lines[13] = "/loaded.png";
  lines[16] = "20";
  const QString named = WriteFile("named.kel", Lines(lines));
  dialogs->AnswerFile(named);
  Trigger("Open2");
  EXPECT_TRUE(dialogs->shown.empty());
  EXPECT_EQ(dialogs->fileRuns.back().initialDir, SettingsDir());
  EXPECT_EQ(form->ReadStyleOptions().BodyColor, "");
  EXPECT_TRUE(Child<QCheckBox>("CheckBox1")->isChecked());
  EXPECT_EQ(form->StoredBodyImagePath(), "/loaded.png");
  EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), "/kept.png");
  EXPECT_EQ(Editor()->font().pointSize(), 9);
  // The box changed, so the startup file now holds the loaded lines.
  lines[11] = "-1";
  EXPECT_EQ(ReadFile(StartupFile()), Lines(lines));

  // A missing file changes nothing.
  dialogs->AnswerFile(Path("missing.kel"));
  Click("Button5");
  EXPECT_EQ(Shown(), QStringList{"error|vornask|ファイル " + Path("missing.kel") + " は開けません."});
}

TEST_F(SettingsTest, TheFontCommandStoresSizeNameAndColour) {
  Start();
  QFont chosen("IPAGothic");
  chosen.setPointSize(14);
  chosen.setBold(true);
  dialogs->AnswerFont(chosen);
  Trigger("N3");
  EXPECT_EQ(Editor()->font().pointSize(), 14);
  EXPECT_TRUE(Editor()->font().bold());
  TSettingsLines saved;
  saved.Load(ReadFile(StartupFile()));
  EXPECT_EQ(saved.ReadLine(16), "14");
  EXPECT_EQ(saved.ReadLine(17), "IPAGothic");
  EXPECT_EQ(saved.ReadLine(18) + "," + saved.ReadLine(19) + "," + saved.ReadLine(20), "8,0,0");

  dialogs->AnswerFont(chosen, 0x0000FFu);  // red picked
  Trigger("N3");
  saved.Load(ReadFile(StartupFile()));
  EXPECT_EQ(saved.ReadLine(18) + "," + saved.ReadLine(19) + "," + saved.ReadLine(20), "255,0,0");

  Restart();
  EXPECT_EQ(Editor()->font().pointSize(), 14);
  EXPECT_EQ(Editor()->font().family(), "IPAGothic");
  EXPECT_FALSE(Editor()->font().bold());
  EXPECT_EQ(Editor()->palette().color(QPalette::Text), QColor(255, 0, 0));
  // The dialog opens on its own font, not the editor's.
  dialogs->CancelFont();
  Trigger("N3");
  EXPECT_EQ(dialogs->fontDialogOpenedWith.back().family(), "ＭＳ Ｐゴシック");
  EXPECT_EQ(dialogs->fontDialogOpenedWith.back().pointSize(), 9);
}

}  // namespace
}  // namespace vornask::testing

namespace vornask::testing {
namespace {

TEST_F(SettingsTest, ImageButtonsSaveTheirLineAndTheNextStartFillsTheEdits) {
  Start();
  const QString body = Path("pics/é.png");  // a character Shift_JIS cannot hold
  const QString table = Path("pics/表.png");
  dialogs->AnswerFile(body);
  Click("Button8");
  dialogs->AnswerFile(table);
  Click("Button4");
  TSettingsLines saved;
  saved.Load(ReadFile(StartupFile()));
  EXPECT_EQ(saved.ReadLine(13), (Path("pics/") + "&#xE9;.png").toStdString());
  EXPECT_EQ(saved.ReadLine(14), Sjis(table.toStdString()));
  Restart();
  EXPECT_TRUE(dialogs->shown.empty());
  EXPECT_EQ(form->StoredBodyImagePath(), body);
  EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), body);
  EXPECT_EQ(Child<QLineEdit>("Edit2")->text(), table);
}

}  // namespace
}  // namespace vornask::testing
