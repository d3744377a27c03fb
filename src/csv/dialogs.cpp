#include "csv/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QScreen>
#include <QVBoxLayout>

#include "settings/option_state.h"

namespace vornask {

QString QtFilter(const QString& filter, QStringList* entries) {
  const QStringList parts = filter.split(u'|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    // Qt reads the patterns from the last parentheses, separated by spaces;
    // a description that already ends with them is shown as it stands.
    QString patterns = parts[i + 1];
    const QString tail = "(" + patterns + ")";
    patterns.replace(u';', u' ');
    if (parts[i].endsWith(tail)) {
      out << parts[i].left(parts[i].size() - tail.size()) + "(" + patterns + ")";
    } else {
      out << parts[i] + " (" + patterns + ")";
    }
  }
  if (entries) *entries = out;
  return out.join(";;");
}

QColor ColorFromValue(quint32 value) {
  if (value & 0x80000000u) return QApplication::palette().color(QPalette::WindowText);
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QString QtDialogs::RunFileDialog(FileDialogState& d) {
  QStringList entries;
  QFileDialog dialog(parent_, QString(), d.initialDir, QtFilter(d.filter, &entries));
  dialog.setObjectName(d.name);
  dialog.setAcceptMode(d.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);  // a typed name need not exist
  dialog.setOptions(QFileDialog::DontConfirmOverwrite);
  if (d.filterIndex >= 0 && d.filterIndex < entries.size()) dialog.selectNameFilter(entries[d.filterIndex]);
  // The name last chosen is offered again; a folder the command set wins over its folder.
  if (!d.lastFile.isEmpty())
    dialog.selectFile(d.initialDir.isEmpty() ? d.lastFile : QFileInfo(d.lastFile).fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  d.filterIndex = entries.indexOf(dialog.selectedNameFilter());
  d.lastFile = dialog.selectedFiles().first();
  return d.lastFile;
}

bool QtDialogs::RunFontDialog(FontDialogState& d) {
  // Qt's font dialog has no colour choice; the window's font dialog offers one
  // beside face, style, size and effects.
  QDialog dialog(parent_);
  dialog.setObjectName("FontDialog1");
  auto* layout = new QVBoxLayout(&dialog);
  auto* fonts = new QFontDialog(d.font, &dialog);
  fonts->setWindowFlags(Qt::Widget);
  fonts->setOptions(QFontDialog::NoButtons);
  layout->addWidget(fonts);
  // A face the platform lacks shows as another; unless the user picks a face,
  // the font keeps the name it had.
  const QString shownFamily = fonts->currentFont().family();
  auto* colorRow = new QComboBox(&dialog);
  colorRow->addItem(QObject::tr("(現在の色)"));
  for (int i = 0; i < 16; ++i) {
    const ColorItem& item = ColorList[i];
    QPixmap swatch(16, 16);
    swatch.fill(QColor::fromRgb(item.rgb));
    colorRow->addItem(QIcon(swatch), QString::fromLatin1(item.itemText.data() + 2, item.itemText.size() - 2));
  }
  layout->addWidget(new QLabel(QObject::tr("色(&C):"), &dialog));
  layout->addWidget(colorRow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  const QString family = d.font.family();
  d.font = fonts->currentFont();
  if (d.font.family() == shownFamily) d.font.setFamily(family);
  if (colorRow->currentIndex() > 0) {
    const std::uint32_t rgb = ColorList[colorRow->currentIndex() - 1].rgb;
    d.colorValue = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
  }
  return true;
}

namespace {

void Show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText("OK");
  box.exec();
}

}  // namespace

void QtDialogs::Information(const QString& text) { Show(parent_, QMessageBox::Information, "情報", text); }

void QtDialogs::Error(const QString& title, const QString& text) {
  Show(parent_, QMessageBox::Critical, title, text);
}

void QtDialogs::Plain(const QString& title, const QString& text) {
  Show(parent_, QMessageBox::NoIcon, title, text);
}

}  // namespace vornask
