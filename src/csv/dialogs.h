#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace vornask {

// One file dialog of the window: its filter and what it keeps between uses.
struct FileDialogState {
  QString name;         // OpenDialog1, SaveDialog2, ...
  QString filter;       // "(*.csv;*.txt)|*.csv;*.txt|..."
  bool save = false;
  QString initialDir;   // empty: the dialog's own choice
  QString lastFile;     // offered again next time
  int filterIndex = 0;  // the filter last chosen
};

// The font dialog keeps a font of its own, separate from the editor's.
struct FontDialogState {
  QFont font;
  quint32 colorValue = 0x80000008u;  // the window-text colour until one is picked
};

// Every modal window the program shows goes through this, so tests can
// answer dialogs and record messages without ever blocking.
class IDialogs {
 public:
  virtual ~IDialogs() = default;
  // Runs a file dialog; returns the chosen full path, or empty when cancelled.
  virtual QString RunFileDialog(FileDialogState& dialog) = 0;
  // Runs the font dialog; on OK updates `dialog` and returns true.
  virtual bool RunFontDialog(FontDialogState& dialog) = 0;
  // The information box: title "情報", information icon, one OK button.
  virtual void Information(const QString& text) = 0;
  // A box with the error icon (the failure display).
  virtual void Error(const QString& title, const QString& text) = 0;
  // A box without icon (Convert's "エラー").
  virtual void Plain(const QString& title, const QString& text) = 0;
};

// The real dialogs: QFileDialog, a font dialog with a colour choice, QMessageBox.
class QtDialogs : public IDialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}
  QString RunFileDialog(FileDialogState& dialog) override;
  bool RunFontDialog(FontDialogState& dialog) override;
  void Information(const QString& text) override;
  void Error(const QString& title, const QString& text) override;
  void Plain(const QString& title, const QString& text) override;

 private:
  QWidget* parent_;
};

// "(*.csv)|*.csv|..." in Qt's form: "(*.csv) (*.csv);;...".
QString QtFilter(const QString& filter, QStringList* entries = nullptr);

// The RGB colour a colour value stands for (system colours resolved).
QColor ColorFromValue(quint32 value);

}  // namespace vornask
