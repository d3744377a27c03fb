// The option controls: their state as the settings lines and Convert see it,
// and the two background-image buttons.
#include <QCheckBox>
#include <QLineEdit>

#include "csv/option_boxes.h"
#include "csv/tform1.h"
#include "settings/option_state.h"

namespace vornask {

int TForm1::ColorIndex(int box) const { return ColorBoxes_[box - 1]->currentIndex(); }
void TForm1::SelectColor(int box, int index) { ColorBoxes_[box - 1]->Select(index); }
int TForm1::SizeIndex(int box) const { return ComboBoxes_[box - 1]->currentIndex(); }
void TForm1::SelectSize(int box, int index) { ComboBoxes_[box - 1]->Select(index); }
bool TForm1::Checked(int box) const { return (box == 1 ? CheckBox1 : CheckBox2)->isChecked(); }

void TForm1::SetChecked(int box, bool checked) {
  SetFromCode([&] { (box == 1 ? CheckBox1 : CheckBox2)->setChecked(checked); });
}

std::string TForm1::CaptionText() const { return LabeledEdit1->text().toStdString(); }

void TForm1::SetCaptionText(const std::string& text) {
  SetFromCode([&] { LabeledEdit1->setText(QString::fromStdString(text)); });
}

std::string TForm1::BodyImagePath() const { return BodyImagePath_.toStdString(); }
void TForm1::SetBodyImagePath(const std::string& path) { BodyImagePath_ = QString::fromStdString(path); }
std::string TForm1::TableImagePath() const { return TableImagePath_.toStdString(); }
void TForm1::SetTableImagePath(const std::string& path) { TableImagePath_ = QString::fromStdString(path); }

TStyleOptions TForm1::ReadStyleOptions() const {
  OptionState state;
  for (int i = 0; i < 5; ++i) state.colorIndex[i] = ColorBoxes_[i]->currentIndex();
  for (int i = 0; i < 6; ++i) state.sizeIndex[i] = ComboBoxes_[i]->currentIndex();
  state.useBodyImage = CheckBox1->isChecked();
  state.useTableImage = CheckBox2->isChecked();
  state.captionText = LabeledEdit1->text().toStdString();
  state.bodyImageFile = Edit1->text().toStdString();
  state.tableImageFile = Edit2->text().toStdString();
  return BuildStyleOptions(state);
}

void TForm1::ChooseImage(FileDialogState& dialog, QString& storedPath, QLineEdit* edit, int line) {
  const QString chosen = dialogs_->RunFileDialog(dialog);
  if (chosen.isEmpty()) return;
  storedPath = chosen;  // nothing checks that it is an image
  edit->setText(storedPath);
  WriteLineAndSave(line, TextToLine(storedPath.toStdString()));
}

void TForm1::Button8Click() { ChooseImage(OpenDialog2, BodyImagePath_, Edit1, settings_line::kBodyImagePath); }
void TForm1::Button4Click() { ChooseImage(OpenDialog3, TableImagePath_, Edit2, settings_line::kTableImagePath); }

}  // namespace vornask
