#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include "form_fixture.h"

namespace vornask::testing {
namespace {

using EditTest = FormTest;

TEST_F(EditTest, CommandsActOnTheEditorWhateverHasTheFocus) {
  Start();
  QApplication::setActiveWindow(form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  auto* caption = Child<QLineEdit>("LabeledEdit1");
  caption->setText("caption text");
  caption->selectAll();
  Editor()->setPlainText("abc def");
  QTextCursor cursor = Editor()->textCursor();
  cursor.setPosition(0);
  cursor.setPosition(3, QTextCursor::KeepAnchor);
  Editor()->setTextCursor(cursor);
  caption->setFocus();

  QApplication::clipboard()->clear();
  Trigger("Copy2");
  EXPECT_EQ(QApplication::clipboard()->text(), "abc");
  Trigger("Cut1");
  EXPECT_EQ(EditorText(), " def");
  Trigger("Paste2");
  EXPECT_EQ(EditorText(), "abc def");
  Trigger("Undo2");
  EXPECT_EQ(EditorText(), " def");
  EXPECT_EQ(caption->text(), "caption text");

  // Delete leaves the clipboard alone.
  QApplication::clipboard()->setText("clip");
  cursor = Editor()->textCursor();
  cursor.setPosition(0);
  cursor.setPosition(2, QTextCursor::KeepAnchor);
  Editor()->setTextCursor(cursor);
  Trigger("Delete1");
  EXPECT_EQ(EditorText(), "ef");
  EXPECT_EQ(QApplication::clipboard()->text(), "clip");
  EXPECT_EQ(QApplication::focusWidget(), caption);

  // Select all moves the focus to the editor.
  Trigger("SelectAll1");
  EXPECT_EQ(QApplication::focusWidget(), Editor());
  EXPECT_EQ(Editor()->textCursor().selectedText(), "ef");
}

TEST_F(EditTest, NothingToActOnDoesNothing) {
  Start();
  Editor()->setPlainText("x");
  QApplication::clipboard()->setText("clip");
  for (const char* action : {"Cut2", "Copy2", "Delete2"}) Trigger(action);
  EXPECT_EQ(EditorText(), "x");
  EXPECT_EQ(QApplication::clipboard()->text(), "clip");
  EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(EditTest, TabInTheEditorInsertsATab) {
  Start();
  QApplication::setActiveWindow(form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  Editor()->setFocus();
  QTest::keyClick(Editor(), Qt::Key_A);
  QTest::keyClick(Editor(), Qt::Key_Tab);
  QTest::keyClick(Editor(), Qt::Key_B);
  EXPECT_EQ(EditorText(), "a\tb");
  EXPECT_EQ(QApplication::focusWidget(), Editor());
}

}  // namespace
}  // namespace vornask::testing
