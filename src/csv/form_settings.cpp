// Settings: the start-up read, the auto-save handlers, named settings files
// and the editor font.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "csv/option_boxes.h"
#include "csv/tform1.h"
#include "settings/text_forms.h"
#include "text/failure.h"
#include "text/files.h"

namespace vornask {
namespace sl = settings_line;

SettingsLocation TForm1::Settings() const {
  return ResolveSettings(ExeDirPath(env_.programFile), env_.userConfigHome);
}

void TForm1::SaveStartupSettings() {
  const SettingsLocation where = Settings();
  if (!EnsureSettingsDir(where)) throw Failure(CannotCreateMessage(where.startupFile));
  WriteFileAtomically(where.startupFile, memo1_.Bytes(), kStreamWriteError);
}

void TForm1::WriteLineAndSave(int line, const std::string& text, bool save) {
  memo1_.WriteLine(line, text);
  if (save) SaveStartupSettings();
}

void TForm1::FormCreate() {
  // Until a file is read, the buffer holds the defaults, so that an auto-save
  // never writes a file that the next start cannot read whole.
  memo1_ = DefaultSettingsLines();
  const SettingsLocation where = Settings();
  if (!FileExists(where.startupFile)) return;
  const std::string bytes = ReadFileBytes(where.startupFile);
  memo1_.Load(bytes);
  ApplyOptionLines(memo1_, *this);
  ApplyEditorFontLines(memo1_, *this);
  Edit1->setText(BodyImagePath_);
  Edit2->setText(TableImagePath_);
}

void TForm1::ColorBoxChange(int box) {
  WriteLineAndSave(sl::kColorBoxLine[box - 1], FormatInteger(ColorBoxes_[box - 1]->currentIndex()));
}

void TForm1::ComboBoxChange(int box) {
  WriteLineAndSave(sl::kComboBoxLine[box - 1], FormatInteger(ComboBoxes_[box - 1]->currentIndex()));
}

void TForm1::CheckBox1Click() { WriteLineAndSave(sl::kCheckBox1, FormatFlag(CheckBox1->isChecked())); }

// Saved at once like every other option, so that a change of this box alone
// is not lost when the program ends.
void TForm1::CheckBox2Click() { WriteLineAndSave(sl::kCheckBox2, FormatFlag(CheckBox2->isChecked())); }

void TForm1::LabeledEdit1Change() { WriteLineAndSave(sl::kCaption, TextToLine(LabeledEdit1->text().toStdString())); }

void TForm1::Button6Click() {
  SaveDialog2.initialDir = QString::fromStdString(Settings().dir);
  const QString chosen = dialogs_->RunFileDialog(SaveDialog2);
  if (chosen.isEmpty()) return;
  StoreOptionLines(memo1_, *this);
  WriteFileAtomically(chosen.toStdString(), memo1_.Bytes(), kStreamWriteError);
}

void TForm1::Button5Click() {
  OpenDialog4.initialDir = QString::fromStdString(Settings().dir);
  const QString chosen = dialogs_->RunFileDialog(OpenDialog4);
  if (chosen.isEmpty()) return;
  const std::string bytes = ReadFileBytes(chosen.toStdString());
  memo1_.Load(bytes);
  ApplyOptionLines(memo1_, *this);
}

void TForm1::N3Click() {
  if (!dialogs_->RunFontDialog(FontDialog1)) return;
  RichEdit1->setFont(FontDialog1.font);
  editorColorValue_ = FontDialog1.colorValue;
  QPalette palette = RichEdit1->palette();
  palette.setColor(QPalette::Text, ColorFromValue(editorColorValue_));
  RichEdit1->setPalette(palette);
  StoreEditorFontLines(memo1_, FontDialog1.font.pointSize(), FontDialog1.font.family().toStdString(),
                       FontDialog1.colorValue);
  SaveStartupSettings();
}

void TForm1::SetSizePoints(int points) {
  QFont font = RichEdit1->font();
  if (points > 0) font.setPointSize(points);
  RichEdit1->setFont(font);
}

void TForm1::SetName(const std::string& utf8) {
  QFont font = RichEdit1->font();
  font.setFamily(QString::fromStdString(utf8));
  RichEdit1->setFont(font);
}

void TForm1::SetColor(int red, int green, int blue) {
  editorColorValue_ = static_cast<quint32>(red | (green << 8) | (blue << 16));
  QPalette palette = RichEdit1->palette();
  palette.setColor(QPalette::Text, QColor(red, green, blue));
  RichEdit1->setPalette(palette);
}

}  // namespace vornask
