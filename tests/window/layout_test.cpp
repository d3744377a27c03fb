#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWebEngineView>

#include "form_fixture.h"
#include "text/failure.h"

namespace vornask::testing {
namespace {

using LayoutTest = FormTest;

TEST_F(LayoutTest, StartsUntitledWithFocusOnTheFirstColourBox) {
  Start();
  QApplication::setActiveWindow(form.get());
  EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
  EXPECT_EQ(form->windowTitle(), "");
  EXPECT_EQ(EditorText(), "");
  EXPECT_EQ(form->SourcePath(), "");
  EXPECT_EQ(form->IsHtmlDocument(), 0);
  EXPECT_EQ(form->HtmlPath(), "");
  EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>("ColorBox1"));
  EXPECT_TRUE(Child<QWebEngineView>("WebBrowser1")->url().isEmpty());
  EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(LayoutTest, ControlsStandWhereDesigned) {
  Start();
  struct Place {
    const char* name;
    QRect rect;
  };
  const Place places[] = {
      {"Button7", {8, 0, 73, 25}},      {"Button2", {280, 0, 97, 25}},    {"Button6", {552, 0, 73, 25}},
      {"Panel1", {8, 32, 616, 257}},    {"ColorBox1", {64, 304, 97, 22}}, {"ComboBox6", {296, 354, 49, 20}},
      {"LabeledEdit1", {456, 368, 161, 20}}, {"CheckBox1", {8, 392, 17, 17}}, {"Edit2", {408, 392, 209, 20}},
      {"Bevel4", {8, 296, 617, 121}},
  };
  for (const Place& p : places) EXPECT_EQ(Child<QWidget>(p.name)->geometry(), p.rect) << p.name;
  EXPECT_EQ(Child<QPushButton>("Button2")->text(), "HTMLに変換");
  EXPECT_EQ(Child<QWidget>("ClientArea")->size(), QSize(632, 420));
}

TEST_F(LayoutTest, TabVisitsTheEighteenOptionControlsInOrder) {
  Start();
  QApplication::setActiveWindow(form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  const char* order[] = {"ColorBox1", "ColorBox2", "ComboBox1", "ColorBox3", "ColorBox4", "ComboBox6",
                         "ComboBox3", "ComboBox4", "ComboBox5", "ColorBox5", "ComboBox2", "LabeledEdit1",
                         "CheckBox1", "Button8",   "Edit1",     "CheckBox2", "Button4",   "Edit2", "ColorBox1"};
  Child<QWidget>("ColorBox1")->setFocus();
  for (const char* name : order) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    // An editable box has its line edit focused; the box is its parent.
    QWidget* control = focus->objectName().isEmpty() ? focus->parentWidget() : focus;
    EXPECT_EQ(control->objectName(), name);
    QTest::keyClick(focus, Qt::Key_Tab);
  }
}

TEST_F(LayoutTest, MenusHoldTheDesignedItems) {
  Start();
  const QList<QAction*> top = form->menuBar()->actions();
  ASSERT_EQ(top.size(), 9);
  const QStringList captions = {"ファイル(&F)", "", "編集(&E)", "", "設定(&Z)", "", "表示(&V)", "", "ヘルプ(&H)"};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(top[i]->text(), captions[i]);
    if (captions[i].isEmpty()) {
      EXPECT_EQ(top[i]->menu(), nullptr);
    }
  }
  for (const char* name : {"New1", "Open1", "HTML2", "N5", "SaveAs1", "Undo2", "Cut2", "Copy2", "Paste2",
                           "Delete2", "SelectAll1", "Open2", "Save2", "U1", "N3", "About1", "Undo1", "Cut1",
                           "Copy1", "Paste1", "Delete1", "N4"})
    EXPECT_NE(form->findChild<QAction*>(name), nullptr) << name;
}

TEST_F(LayoutTest, AboutShowsThreeLines) {
  Start();
  Trigger("About1");
  ASSERT_EQ(dialogs->shown.size(), 1u);
  EXPECT_EQ(dialogs->shown[0].kind, "information");
  EXPECT_EQ(dialogs->shown[0].title, "情報");
  const QStringList lines = dialogs->shown[0].text.split(u'\r');
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "Vornask");
  EXPECT_EQ(lines[1], "Version2.0");
  EXPECT_FALSE(dialogs->shown[0].text.contains(u'\n'));
}

TEST(FailureDisplay, AppendsAStopOnlyAfterCharactersSortingAfterIt) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"ファイル x は開けません", "ファイル x は開けません."},
      {"disk full", "disk full."},
      {"code 7", "code 7."},
      {"ends with stop.", "ends with stop."},
      {"ends with space ", "ends with space "},
      {"bang!", "bang!"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FailureText(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(ProgramTitle, IsTheFileNameCutAtTheFirstStop) {
  EXPECT_EQ(ProgramTitleFor("/usr/bin/vornask"), "vornask");
  EXPECT_EQ(ProgramTitleFor("C:/Tools/CSVCONV.EXE"), "Csvconv");
  EXPECT_EQ(ProgramTitleFor("/opt/Vornask.bin.x"), "Vornask");
}

TEST_F(LayoutTest, AFailingHandlerIsShownAndTheWindowGoesOn) {
  Start();
  form->Guarded([] { throw Failure("ファイル /x は開けません"); });
  ASSERT_EQ(Shown().size(), 1);
  EXPECT_EQ(Shown()[0], "error|vornask|ファイル /x は開けません.");
  EXPECT_TRUE(form->isVisible());
}

}  // namespace
}  // namespace vornask::testing

namespace vornask::testing {
namespace {

TEST(FileDialogFilter, BecomesQtsFormWithoutRepeatingItsPatterns) {
  QStringList entries;
  EXPECT_EQ(QtFilter("(*.csv;*.txt)|*.csv;*.txt|(*.html;*.htm)|*.html;*.htm", &entries),
            "(*.csv *.txt);;(*.html *.htm)");
  EXPECT_EQ(QtFilter("設定ファイル(*.kel)|*.kel"), "設定ファイル(*.kel)");
  EXPECT_EQ(QtFilter("Pictures|*.png;*.gif"), "Pictures (*.png *.gif)");
  EXPECT_EQ(entries.size(), 2);
}

}  // namespace
}  // namespace vornask::testing
