#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "csv/option_boxes.h"
#include "form_fixture.h"

namespace vornask::testing {
namespace {

using OptionsTest = FormTest;

TEST_F(OptionsTest, DefaultsReadAsTheDesignedStyle) {
  Start();
  const TStyleOptions o = form->ReadStyleOptions();
  EXPECT_EQ(o.BodyColor, "White");
  EXPECT_EQ(o.TextColor, "Black");
  EXPECT_EQ(o.BorderColor, "Black");
  EXPECT_EQ(o.TableColor, "White");
  EXPECT_EQ(o.CaptionColor, "Black");
  EXPECT_EQ(o.FontSize, "3");
  EXPECT_EQ(o.CaptionFontSize, "3");
  EXPECT_EQ(o.Border, "1");
  EXPECT_EQ(o.CellPadding, "3");
  EXPECT_EQ(o.CellSpacing, "3");
  EXPECT_EQ(o.TableWidth, "100");
  EXPECT_EQ(o, BuildStyleOptions(OptionState{}));
}

TEST_F(OptionsTest, ColourBoxesHoldTheTwentyColours) {
  Start();
  auto* box = Child<QComboBox>("ColorBox3");
  ASSERT_EQ(box->count(), 20);
  EXPECT_EQ(box->itemText(0), "clBlack");
  EXPECT_EQ(box->itemText(19), "clMedGray");
  EXPECT_FALSE(box->isEditable());
  box->setCurrentIndex(16);
  EXPECT_EQ(form->ReadStyleOptions().BorderColor, "#C0DCC0");
}

struct Typing {
  const char* box;
  std::vector<int> keys;  // Qt keys typed in order
  int index;              // selected index after typing
  const char* text;       // text shown
  const char* selected;   // marked text
};

class SizeBoxTyping : public OptionsTest, public ::testing::WithParamInterface<Typing> {};

TEST_P(SizeBoxTyping, CompletesToTheFirstItemAndReportsEveryChange) {
  Start();
  const Typing& t = GetParam();
  auto* box = Child<QComboBox>(t.box);
  QSignalSpy changes(box, SIGNAL(changed()));
  box->setFocus();
  box->lineEdit()->selectAll();
  for (int key : t.keys) QTest::keyClick(box->lineEdit(), static_cast<Qt::Key>(key));
  EXPECT_EQ(box->currentIndex(), t.index);
  EXPECT_EQ(box->lineEdit()->text(), t.text);
  EXPECT_EQ(box->lineEdit()->selectedText(), t.selected);
  EXPECT_EQ(changes.count(), static_cast<int>(t.keys.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SizeBoxTyping,
    ::testing::Values(Typing{"ComboBox6", {Qt::Key_8}, 3, "80", "0"},
                      Typing{"ComboBox6", {Qt::Key_1}, 5, "100", "00"},
                      Typing{"ComboBox3", {Qt::Key_1, Qt::Key_0}, 10, "10", ""},
                      Typing{"ComboBox3", {Qt::Key_7}, 7, "7", ""},
                      Typing{"ComboBox1", {Qt::Key_9}, -1, "9", ""},
                      Typing{"ComboBox6", {Qt::Key_8, Qt::Key_Backspace}, -1, "8", ""}));

TEST_F(OptionsTest, ASizeBoxWithoutSelectionGivesTheEdgeNumbers) {
  Start();
  for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6"})
    static_cast<SizeBox*>(Child<QComboBox>(name))->Select(-1);
  const TStyleOptions o = form->ReadStyleOptions();
  EXPECT_EQ(o.FontSize, "0");
  EXPECT_EQ(o.CaptionFontSize, "0");
  EXPECT_EQ(o.Border, "-1");
  EXPECT_EQ(o.CellPadding, "-1");
  EXPECT_EQ(o.CellSpacing, "-1");
  EXPECT_EQ(o.TableWidth, "40");
}

TEST_F(OptionsTest, SelectingFromCodeRunsNoHandler) {
  Start();
  for (const char* name : {"ColorBox1", "ComboBox1"}) {
    auto* box = Child<QComboBox>(name);
    QSignalSpy changes(box, SIGNAL(changed()));
    if (auto* color = qobject_cast<ColorBox*>(box)) color->Select(3);
    if (auto* size = qobject_cast<SizeBox*>(box)) size->Select(3);
    EXPECT_EQ(changes.count(), 0);
  }
  EXPECT_FALSE(Exists(StartupFile()));
}

TEST_F(OptionsTest, ImageButtonsStoreThePathAndShowIt) {
  Start();
  const QString image = Path("img/bg.png");
  dialogs->AnswerFile(image);
  Click("Button8");
  EXPECT_EQ(form->StoredBodyImagePath(), image);
  EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), image);
  EXPECT_FALSE(Child<QCheckBox>("CheckBox1")->isChecked());
  EXPECT_EQ(form->ReadStyleOptions().BodyImageFile, image.toStdString());
  EXPECT_EQ(dialogs->fileRuns.back().name, "OpenDialog2");
  EXPECT_EQ(dialogs->fileRuns.back().filter, "(*.jpg;*.jpeg)|*.jpg;*.jpeg|(*.bmp)|*.bmp|(*.gif)|*.gif|(*.png)|*.png");

  // Typing into the edit changes what Convert uses, not the stored path.
  Child<QLineEdit>("Edit1")->setText("/other.png");
  EXPECT_EQ(form->ReadStyleOptions().BodyImageFile, "/other.png");
  EXPECT_EQ(form->StoredBodyImagePath(), image);

  dialogs->AnswerFile("");  // cancelled
  Click("Button4");
  EXPECT_EQ(form->StoredTableImagePath(), "");
  EXPECT_EQ(dialogs->fileRuns.back().name, "OpenDialog3");
}

}  // namespace
}  // namespace vornask::testing
