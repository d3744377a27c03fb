// Faults of the file system under every read and write the window makes:
// the message its command gives, the state its failure leaves, the old file
// kept and nothing half-written left behind.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QWebEngineView>
#include <sys/stat.h>

#include "csv/editor_text.h"
#include "conversion/page_writer.h"
#include "csv/option_boxes.h"
#include "fault_support.h"
#include "form_fixture.h"
#include "settings/option_lines.h"

namespace vornask::testing {
namespace {

using test::AllNames;

QString Error(const QString& message) { return "error|vornask|" + message + "."; }
QString CannotCreate(const QString& path) { return Error("ファイル " + path + " を作成できません"); }
QString CannotOpen(const QString& path) { return Error("ファイル " + path + " は開けません"); }
std::vector<std::string> Names(const QString& folder) { return AllNames(folder.toStdString()); }

class WindowFaultTest : public FormTest {
 public:
  void SetUp() override {
    FormTest::SetUp();
    // An ordinary user must be able to pass through the test's folders.
    ::chmod(root.path().toLocal8Bit().constData(), 0755);
  }

  void ReadOnly(const QString& folder) { ::chmod(folder.toLocal8Bit().constData(), 0555); }

  void PickColor(int box, int index) {
    auto* color = static_cast<ColorBox*>(Child<QComboBox>(("ColorBox" + std::to_string(box)).c_str()));
    color->setCurrentIndex(index);
    emit color->changed();
  }

  // The preview is not part of these tests; keep it from rendering big pages.
  void QuietPreview() {
    WaitForPreview(5000);
    Child<QWebEngineView>("WebBrowser1")->stop();
  }
};

// A source whose page is about 90 KiB.
std::string BigSource() {
  std::string s;
  for (int i = 0; i < 1000; ++i) s += "cell,cell\r\n";
  return s;
}

// ---- Read-only folder -----------------------------------------------------------

TEST_F(WindowFaultTest, AReadOnlyFolderFailsEveryWriteAndKeepsItsFiles) {
  Start();
  const QString csv = WriteFile("ro/list.csv", "a,b\r\n");
  WriteFile("ro/list.html", "old page");
  WriteFile("ro/named.kel", "old settings");
  ReadOnly(Path("ro"));
  form->OpenDocument(csv);
  Editor()->setPlainText("unsaved");
  {
    test::AsUnprivilegedUser user;
    if (!user.active()) GTEST_SKIP() << "cannot drop root's file rights here";
    // Convert: the page cannot be written; the editor shows the source again.
    Click("Button2");
    EXPECT_EQ(Shown(), QStringList{"plain|vornask|エラー"});
    EXPECT_EQ(EditorText(), "a,b\n");
    EXPECT_EQ(form->HtmlPath(), "");
    EXPECT_EQ(form->IsHtmlDocument(), 0);
    EXPECT_EQ(form->windowTitle(), csv);
    // Overwrite of the source, Save As of a new file, a named settings save.
    dialogs->shown.clear();
    Editor()->setPlainText("edited");
    Click("Button10");
    dialogs->AnswerFile(Path("ro/new.csv"));
    Click("Button3");
    dialogs->AnswerFile(Path("ro/named.kel"));
    Click("Button6");
    EXPECT_EQ(Shown(), (QStringList{CannotCreate(csv), CannotCreate(Path("ro/new.csv")),
                                    CannotCreate(Path("ro/named.kel"))}));
  }
  EXPECT_EQ(form->SourcePath(), csv);
  EXPECT_EQ(form->windowTitle(), csv);
  EXPECT_EQ(ReadFile(csv), "a,b\r\n");
  EXPECT_EQ(ReadFile(Path("ro/list.html")), "old page");
  EXPECT_EQ(ReadFile(Path("ro/named.kel")), "old settings");
  EXPECT_EQ(Names(Path("ro")), (std::vector<std::string>{"list.csv", "list.html", "named.kel"}));
}

TEST_F(WindowFaultTest, AReadOnlySettingsFolderFailsEachAutoSaveAndKeepsTheFile) {
  Start();
  PickColor(1, 9);  // a first save works
  const std::string saved = ReadFile(StartupFile());
  ReadOnly(SettingsDir());
  {
    test::AsUnprivilegedUser user;
    if (!user.active()) GTEST_SKIP() << "cannot drop root's file rights here";
    // Every kind of auto-save: a box, the caption, a check box, an image
    // button and the font command.
    PickColor(2, 12);
    Child<QLineEdit>("LabeledEdit1")->setText("x");
    Child<QCheckBox>("CheckBox1")->click();
    dialogs->AnswerFile(Path("bg.png"));
    Click("Button8");
    dialogs->AnswerFont(QFont("IPAGothic", 12));
    Trigger("N3");
  }
  EXPECT_EQ(Shown(), QStringList(5, CannotCreate(StartupFile())));
  // The controls and the lines keep the new values; the file keeps the old.
  EXPECT_EQ(form->ReadStyleOptions().TextColor, "Blue");
  EXPECT_EQ(form->ReadStyleOptions().CaptionText, "x");
  EXPECT_TRUE(form->ReadStyleOptions().UseBodyImage);
  EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), Path("bg.png"));
  EXPECT_EQ(Editor()->font().pointSize(), 12);
  EXPECT_EQ(form->SettingsLines().ReadLine(4), "12");
  EXPECT_EQ(form->SettingsLines().ReadLine(16), "12");
  EXPECT_EQ(ReadFile(StartupFile()), saved);
  EXPECT_EQ(Names(SettingsDir()), std::vector<std::string>{"kidou.kel"});
}

// ---- Missing settings folder -------------------------------------------------------

TEST_F(WindowFaultTest, ASettingsFolderThatCannotBeMadeFailsEverySave) {
  portableSettings = false;
  QDir(root.path()).rmdir("config");
  WriteFile("config", "a file where the configuration folder should be");
  Start();
  EXPECT_TRUE(dialogs->shown.empty());
  const QString startup = Path("config/vornask/kel/kidou.kel");
  PickColor(1, 9);
  dialogs->AnswerFont(QFont("IPAGothic", 12));
  Trigger("N3");
  EXPECT_EQ(Shown(), (QStringList{CannotCreate(startup), CannotCreate(startup)}));
  EXPECT_EQ(form->ReadStyleOptions().BodyColor, "Red");
  EXPECT_EQ(Editor()->font().pointSize(), 12);
  EXPECT_EQ(form->SettingsLines().ReadLine(16), "12");
  EXPECT_EQ(ReadFile(Path("config")), "a file where the configuration folder should be");
}

// ---- Files that vanish or change kind between commands -----------------------------

TEST_F(WindowFaultTest, ASourceThatVanishesBeforeBackOrConvertChangesNothing) {
  Start();
  const QString csv = WriteFile("list.csv", "a,b\r\n");
  form->OpenDocument(csv);
  Click("Button2");
  QuietPreview();
  const QString page = EditorText();
  QFile::remove(csv);
  Click("Button9");  // Back: no file, nothing happens
  EXPECT_EQ(EditorText(), page);
  EXPECT_EQ(form->windowTitle(), Path("list.html"));
  Click("Button2");  // Convert: the source cannot be loaded
  EXPECT_EQ(Shown(), QStringList{"plain|vornask|エラー"});
  EXPECT_EQ(EditorText(), page);
  EXPECT_EQ(form->IsHtmlDocument(), 0);
  EXPECT_EQ(form->windowTitle(), Path("list.html"));
  EXPECT_EQ(Names(root.path()), (std::vector<std::string>{"config", "list.html", "prog"}));
}

TEST_F(WindowFaultTest, ASourceReplacedByAFolderIsNeitherReloadedNorConverted) {
  Start();
  const QString csv = WriteFile("list.csv", "a,b\r\n");
  form->OpenDocument(csv);
  QFile::remove(csv);
  QDir(root.path()).mkpath("list.csv");
  Editor()->setPlainText("kept");
  Click("Button9");
  EXPECT_EQ(EditorText(), "kept");
  Click("Button2");
  EXPECT_EQ(Shown(), QStringList{"plain|vornask|エラー"});
  EXPECT_EQ(EditorText(), "kept");
  EXPECT_FALSE(Exists(Path("list.html")));
  // A folder chosen in the Open dialog is no document.
  dialogs->AnswerFile(Path("list.csv"));
  Click("Button1");
  EXPECT_EQ(EditorText(), "kept");
  // Nor is it a settings file.
  dialogs->shown.clear();
  const std::string lines = form->SettingsLines().Bytes();
  dialogs->AnswerFile(Path("list.csv"));
  Click("Button5");
  EXPECT_EQ(Shown(), QStringList{CannotOpen(Path("list.csv"))});
  EXPECT_EQ(form->SettingsLines().Bytes(), lines);
}

TEST_F(WindowFaultTest, AFileThatCannotBeReadFailsOpenAndEmptiesTheEditorAtBack) {
  Start();
  const QString csv = WriteFile("list.csv", "a,b\r\n");
  const QString other = WriteFile("other.csv", "x\r\n");
  form->OpenDocument(csv);
  ::chmod(csv.toLocal8Bit().constData(), 0);
  ::chmod(other.toLocal8Bit().constData(), 0);
  {
    test::AsUnprivilegedUser user;
    if (!user.active()) GTEST_SKIP() << "cannot drop root's file rights here";
    // Open changes nothing; Back has emptied the editor before it fails.
    dialogs->AnswerFile(other);
    Click("Button1");
    EXPECT_EQ(EditorText(), "a,b\n");
    EXPECT_EQ(form->SourcePath(), csv);
    Click("Button9");
  }
  EXPECT_EQ(Shown(), (QStringList{CannotOpen(other), CannotOpen(csv)}));
  EXPECT_EQ(EditorText(), "");
  EXPECT_EQ(form->SourcePath(), csv);
  EXPECT_EQ(form->windowTitle(), csv);
}

TEST_F(WindowFaultTest, AStartupFileThatCannotBeReadLeavesTheDefaults) {
  QDir(root.path()).mkpath("prog/kel");
  TSettingsLines lines = DefaultSettingsLines();
  lines.WriteLine(0, "9");
  WriteFile("prog/kel/kidou.kel", lines.Bytes());
  ::chmod(StartupFile().toLocal8Bit().constData(), 0);
  {
    test::AsUnprivilegedUser user;
    if (!user.active()) GTEST_SKIP() << "cannot drop root's file rights here";
    Start();
  }
  EXPECT_EQ(Shown(), QStringList{CannotOpen(StartupFile())});
  EXPECT_EQ(form->ReadStyleOptions().BodyColor, "White");
  EXPECT_TRUE(form->isVisible());
}

// ---- Full disk ----------------------------------------------------------------------

TEST_F(WindowFaultTest, AFullDiskFailsConvertAndSavesAndKeepsTheOldFiles) {
  QDir(root.path()).mkpath("disk");
  test::SmallDisk disk(Path("disk").toStdString(), 64 * 1024);
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  Start();
  const QString csv = WriteFile("disk/list.csv", BigSource());
  WriteFile("disk/list.html", "old page");
  form->OpenDocument(csv);
  Click("Button2");
  EXPECT_EQ(Shown(), QStringList{"plain|vornask|エラー"});
  EXPECT_EQ(EditorText(), DecodeDocument(BigSource()));
  EXPECT_EQ(form->HtmlPath(), "");
  EXPECT_EQ(form->IsHtmlDocument(), 0);
  EXPECT_EQ(form->windowTitle(), csv);
  // Saving a text that does not fit: Overwrite and Save As.
  dialogs->shown.clear();
  Editor()->setPlainText(QString(200 * 1024, 'x'));
  Click("Button10");
  dialogs->AnswerFile(Path("disk/new.csv"));
  Click("Button3");
  const QString full = Error("ストリームへの書き込みに失敗しました");
  EXPECT_EQ(Shown(), (QStringList{full, full}));
  EXPECT_EQ(form->SourcePath(), csv);
  EXPECT_EQ(form->windowTitle(), csv);
  EXPECT_EQ(ReadFile(csv), BigSource());
  EXPECT_EQ(ReadFile(Path("disk/list.html")), "old page");
  EXPECT_EQ(Names(Path("disk")), (std::vector<std::string>{"list.csv", "list.html"}));
}

TEST_F(WindowFaultTest, SettingsThatCannotBeWrittenWholeKeepTheOldFiles) {
  Start();
  PickColor(1, 9);
  const std::string saved = ReadFile(StartupFile());
  WriteFile("named.kel", "old settings");
  {
    test::FileSizeLimit limit(16);  // every settings file is longer
    PickColor(2, 12);
    dialogs->AnswerFile(Path("named.kel"));
    Click("Button6");
  }
  const QString full = Error("ストリームへの書き込みエラー");
  EXPECT_EQ(Shown(), (QStringList{full, full}));
  EXPECT_EQ(ReadFile(StartupFile()), saved);
  EXPECT_EQ(ReadFile(Path("named.kel")), "old settings");
  EXPECT_EQ(Names(SettingsDir()), std::vector<std::string>{"kidou.kel"});
  EXPECT_EQ(Names(root.path()), (std::vector<std::string>{"config", "named.kel", "prog"}));
}

// ---- Characters Shift_JIS cannot hold -----------------------------------------------

TEST_F(WindowFaultTest, FileNamesShiftJisCannotHoldWorkForEveryCommand) {
  Start();
  QDir(root.path()).mkpath("é😀");
  Editor()->setPlainText("a,b");
  const QString csv = Path("é😀/ü€.csv");
  dialogs->AnswerFile(csv);
  Click("Button3");
  EXPECT_EQ(form->windowTitle(), csv);
  EXPECT_EQ(ReadFile(csv), "a,b");
  Click("Button2");
  EXPECT_EQ(form->windowTitle(), Path("é😀/ü€.html"));
  EXPECT_EQ(ReadFile(Path("é😀/ü€.html")).substr(0, kHeadLine.size()), kHeadLine);
  QuietPreview();
  Click("Button9");
  EXPECT_EQ(EditorText(), "a,b");
  EXPECT_TRUE(dialogs->shown.empty()) << Shown().join("\n").toStdString();
}

TEST_F(WindowFaultTest, TextShiftJisCannotHoldIsNamedAndNothingIsWritten) {
  Start();
  const QString csv = WriteFile("list.csv", "old\r\n");
  form->OpenDocument(csv);
  Editor()->setPlainText("a,b\nc,é😀");
  Click("Button10");
  dialogs->AnswerFile(Path("new.csv"));
  Click("Button3");
  const QString message = Error("文字 \"é\" (U+00E9, 2 行目) は Shift_JIS で保存できません");
  EXPECT_EQ(Shown(), (QStringList{message, message}));
  EXPECT_EQ(ReadFile(csv), "old\r\n");
  EXPECT_EQ(form->SourcePath(), csv);
  EXPECT_EQ(Names(root.path()), (std::vector<std::string>{"config", "list.csv", "prog"}));
}

// Image paths Shift_JIS cannot hold go into settings text lines as "&#xHHHH;"
// and come back whole: through a named save, a named load and the start-up read.
TEST_F(WindowFaultTest, ImagePathsShiftJisCannotHoldRoundTripThroughSettingsFiles) {
  Start();
  const QString body = Path("pics/é/bg😀.png");
  const QString table = Path("pics/表/ñ€.png");
  dialogs->AnswerFile(body);
  Click("Button8");
  dialogs->AnswerFile(table);
  Click("Button4");
  Child<QLineEdit>("LabeledEdit1")->setText("売上 é😀");
  const QString named = Path("設定 é😀.kel");
  dialogs->AnswerFile(named);
  Click("Button6");
  ASSERT_TRUE(dialogs->shown.empty()) << Shown().join("\n").toStdString();

  TSettingsLines file;
  file.Load(ReadFile(named));
  EXPECT_EQ(file.ReadLine(13), Sjis(Path("pics/").toStdString()) + "&#xE9;/bg&#x1F600;.png");
  EXPECT_EQ(file.ReadLine(14), Sjis(Path("pics/表/").toStdString()) + "&#xF1;&#x20AC;.png");
  EXPECT_EQ(file.ReadLine(15), Sjis("売上 ") + "&#xE9;&#x1F600;");

  // Start-up read: the auto-saves carried the same lines into the startup file.
  Restart();
  EXPECT_TRUE(dialogs->shown.empty()) << Shown().join("\n").toStdString();
  EXPECT_EQ(form->StoredBodyImagePath(), body);
  EXPECT_EQ(form->StoredTableImagePath(), table);
  EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), body);
  EXPECT_EQ(Child<QLineEdit>("Edit2")->text(), table);
  EXPECT_EQ(Child<QLineEdit>("LabeledEdit1")->text(), "売上 é😀");

  // Named load after other choices brings the paths back.
  dialogs->AnswerFile(Path("other.png"));
  Click("Button8");
  dialogs->AnswerFile(named);
  Click("Button5");
  EXPECT_TRUE(dialogs->shown.empty()) << Shown().join("\n").toStdString();
  EXPECT_EQ(form->StoredBodyImagePath(), body);
  EXPECT_EQ(form->StoredTableImagePath(), table);

  // And the page addresses the images from beside the source.
  Child<QCheckBox>("CheckBox1")->setChecked(true);
  Child<QLineEdit>("Edit1")->setText(body);
  form->OpenDocument(WriteFile("list.csv", "a\r\n"));
  Click("Button2");
  EXPECT_NE(ReadFile(Path("list.html")).find("<body background=\"pics/%C3%A9/bg%F0%9F%98%80.png\""),
            std::string::npos);
  QuietPreview();
}

}  // namespace
}  // namespace vornask::testing
