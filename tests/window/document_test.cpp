#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTest>
#include <sys/stat.h>

#include "form_fixture.h"

namespace vornask::testing {
namespace {

using DocumentTest = FormTest;

TEST_F(DocumentTest, OpenSaveAsOverwriteAndBackFollowTheDocumentState) {
  Start();
  const QString csv = WriteFile("list.csv", Sjis("名前,数\r\nりんご,3\r\n"));
  dialogs->AnswerFile(csv);
  Click("Button1");
  EXPECT_EQ(EditorText(), "名前,数\nりんご,3\n");
  EXPECT_EQ(form->SourcePath(), csv);
  EXPECT_EQ(form->ReturnPath(), csv);
  EXPECT_EQ(form->windowTitle(), csv);

  // Overwrite writes to the file the caption names.
  Editor()->setPlainText("a,b\nc");
  Click("Button10");
  EXPECT_EQ(ReadFile(csv), "a,b\r\nc");

  // Save As under a name without extension: exactly that name.
  const QString plain = Path("plain");
  dialogs->AnswerFile(plain);
  Click("Button3");
  EXPECT_EQ(ReadFile(plain), "a,b\r\nc");
  EXPECT_EQ(dialogs->fileRuns.back().name, "SaveDialog1");
  EXPECT_EQ(dialogs->fileRuns.back().initialDir, root.path());
  EXPECT_EQ(form->SourcePath(), plain);
  EXPECT_EQ(form->windowTitle(), plain);

  // Back reloads from disk, losing unsaved edits.
  Editor()->setPlainText("unsaved");
  Click("Button9");
  EXPECT_EQ(EditorText(), "a,b\nc");
  EXPECT_EQ(form->IsHtmlDocument(), 0);

  // New: untitled, HtmlPath untouched.
  Click("Button7");
  EXPECT_EQ(EditorText(), "");
  EXPECT_EQ(form->SourcePath(), "");
  EXPECT_EQ(form->ReturnPath(), "");
  EXPECT_EQ(form->windowTitle(), "");
  EXPECT_TRUE(dialogs->shown.empty()) << Shown().join("\n").toStdString();
}

TEST_F(DocumentTest, CancelledAndMissingChoicesChangeNothing) {
  Start();
  Editor()->setPlainText("kept");
  dialogs->AnswerFile("");
  Click("Button1");
  dialogs->AnswerFile(Path("no-such-file.csv"));
  Trigger("Open1");
  dialogs->AnswerFile("");
  Click("Button3");
  EXPECT_EQ(EditorText(), "kept");
  EXPECT_EQ(form->SourcePath(), "");
  EXPECT_TRUE(dialogs->shown.empty());
  // Back while untitled does nothing.
  Click("Button9");
  EXPECT_EQ(EditorText(), "kept");
}

TEST_F(DocumentTest, OverwriteFallsBackToSaveAsWhenTheCaptionNamesNoFile) {
  Start();
  Editor()->setPlainText("x");
  const QString target = Path("new.csv");
  dialogs->AnswerFile(target);
  Trigger("N5");
  EXPECT_EQ(ReadFile(target), "x");
  EXPECT_EQ(form->windowTitle(), target);

  QFile::remove(target);
  const QString again = Path("again.csv");
  dialogs->AnswerFile(again);
  Click("Button10");
  EXPECT_EQ(ReadFile(again), "x");
  EXPECT_EQ(dialogs->fileRuns.size(), 2u);
}

TEST_F(DocumentTest, BackAfterTheSourceVanishedDoesNothing) {
  Start();
  const QString csv = WriteFile("gone.csv", "a");
  form->OpenDocument(csv);
  QFile::remove(csv);
  Editor()->setPlainText("typed");
  Click("Button9");
  EXPECT_EQ(EditorText(), "typed");
  EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(DocumentTest, BackSetsTheHtmlFlagFromTheExtension) {
  Start();
  const QString htm = WriteFile("page.HTM", "<p>");
  form->OpenDocument(htm);
  EXPECT_EQ(form->IsHtmlDocument(), 0);  // Open leaves it
  Click("Button9");
  EXPECT_EQ(form->IsHtmlDocument(), 1);
}

TEST_F(DocumentTest, EveryByteSurvivesOpenAndSave) {
  Start();
  // Every byte value, lone lead bytes, a lead byte at the end, pairs that
  // Windows writes differently, NUL; line ends become CR LF.
  std::string bytes;
  for (int b = 1; b < 256; ++b)
    if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
  bytes += "\r\n";
  constexpr char kOdd[] = "\x00\xED\x40\xFA\x5C\x87\x90\x81\r\n\x80\xA0\xFD\xFE\xFF\x85\x40 \x81";
  bytes += std::string(kOdd, sizeof kOdd - 1);
  const QString source = WriteFile("bytes.txt", bytes);
  form->OpenDocument(source);
  const QString copy = Path("copy.txt");
  dialogs->AnswerFile(copy);
  Click("Button3");
  EXPECT_EQ(ReadFile(copy), bytes);
  EXPECT_TRUE(dialogs->shown.empty()) << Shown().join("\n").toStdString();
}

TEST_F(DocumentTest, LoneLineEndsBecomeCrLf) {
  Start();
  form->OpenDocument(WriteFile("mixed.txt", "a\rb\nc\r\nd\n"));
  dialogs->AnswerFile(Path("out.txt"));
  Click("Button3");
  EXPECT_EQ(ReadFile(Path("out.txt")), "a\r\nb\r\nc\r\nd\r\n");
}

TEST_F(DocumentTest, ACharacterShiftJisCannotHoldFailsTheSaveAndKeepsTheFile) {
  Start();
  const QString csv = WriteFile("keep.csv", "old");
  form->OpenDocument(csv);
  Editor()->setPlainText(QString::fromUtf8("ok\nsmile \xF0\x9F\x98\x80 here"));
  Click("Button10");
  EXPECT_EQ(ReadFile(csv), "old");
  ASSERT_EQ(dialogs->shown.size(), 1u);
  EXPECT_EQ(dialogs->shown[0].kind, "error");
  EXPECT_TRUE(dialogs->shown[0].text.contains("U+1F600")) << dialogs->shown[0].text.toStdString();
  EXPECT_TRUE(dialogs->shown[0].text.contains("2 行目"));
  EXPECT_EQ(form->SourcePath(), csv);
}

TEST_F(DocumentTest, AFileThatCannotBeReadOrWrittenIsReported) {
  Start();
  const QString folder = Path("locked");
  QDir(root.path()).mkpath("locked");
  const QString csv = folder + "/a.csv";
  WriteFile("locked/a.csv", "a");
  ::chmod(folder.toLocal8Bit().constData(), 0555);
  Editor()->setPlainText("b");
  dialogs->AnswerFile(folder + "/new.csv");
  Click("Button3");
  ::chmod(folder.toLocal8Bit().constData(), 0755);
  if (::geteuid() != 0) {
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_EQ(Shown()[0], "error|vornask|ファイル " + folder + "/new.csv を作成できません.");
    EXPECT_EQ(form->SourcePath(), "");
  }
  // A folder in place of the file cannot be read.
  dialogs->shown.clear();
  QDir(root.path()).mkpath("dir.csv");
  form->OpenDocument(Path("dir.csv"));  // names no file: silently nothing
  EXPECT_TRUE(dialogs->shown.empty());
  // A file replaced by a folder cannot be written either, and nothing is lost.
  const QString target = WriteFile("target.csv", "old");
  form->OpenDocument(target);
  QFile::remove(target);
  QDir(root.path()).mkpath("target.csv");
  Editor()->setPlainText("new");
  dialogs->AnswerFile(target);
  Click("Button10");  // the caption names no file: Save As onto the folder
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_TRUE(Shown()[0].endsWith("を作成できません.")) << Shown()[0].toStdString();
}

}  // namespace
}  // namespace vornask::testing

namespace vornask::testing {
namespace {

TEST_F(DocumentTest, ALongTextKeepsEveryLineAndSavesTheSameBytes) {
  Start();
  std::string bytes;
  for (int i = 0; i < 30000; ++i) bytes += "line " + std::to_string(i) + (i % 3 ? "\r\n" : i % 2 ? "\n" : "\r");
  form->OpenDocument(WriteFile("long.csv", bytes));
  EXPECT_EQ(EditorText().count(u'\n'), 30000);
  EXPECT_TRUE(EditorText().startsWith("line 0\nline 1\nline 2\n"));
  Editor()->moveCursor(QTextCursor::End);
  Editor()->insertPlainText("tail");
  dialogs->AnswerFile(Path("long-copy.csv"));
  Click("Button3");
  std::string expected;
  for (int i = 0; i < 30000; ++i) expected += "line " + std::to_string(i) + "\r\n";
  EXPECT_EQ(ReadFile(Path("long-copy.csv")), expected + "tail");
}

}  // namespace
}  // namespace vornask::testing

namespace vornask::testing {
namespace {

// Sends a drag of `file` and its drop to `target`; returns whether the drop was taken.
bool DropFile(QWidget* target, const QString& file) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(file)});
  const QPoint at(10, 10);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

TEST_F(DocumentTest, AFileDroppedOnTheEditorOrTheWindowOpensAsOpenDoes) {
  Start();
  const QString csv = WriteFile("dropped.csv", Sjis("表,1\r\n"));
  EXPECT_TRUE(DropFile(Editor()->viewport(), csv));
  EXPECT_EQ(EditorText(), "表,1\n");
  EXPECT_EQ(form->SourcePath(), csv);
  EXPECT_EQ(form->windowTitle(), csv);

  const QString other = WriteFile("other.txt", "x");
  EXPECT_TRUE(DropFile(form.get(), other));
  EXPECT_EQ(EditorText(), "x");
  EXPECT_EQ(form->SourcePath(), other);
  EXPECT_TRUE(dialogs->shown.empty());
}

}  // namespace
}  // namespace vornask::testing
