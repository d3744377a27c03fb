#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

#include "csv/dialogs.h"

namespace vornask::testing {

// Answers dialogs from a script and records every box shown; never blocks.
class ScriptedDialogs : public IDialogs {
 public:
  struct Shown {
    QString kind;  // "information", "error", "plain"
    QString title;
    QString text;
  };
  struct FileRun {
    QString name;
    QString initialDir;
    QString filter;
  };

  // The next file dialog returns this path (empty: cancelled).
  void AnswerFile(const QString& path) { files_.push_back(path); }
  // The next font dialog is confirmed with this font (and colour, if given).
  void AnswerFont(const QFont& font, std::optional<quint32> color = std::nullopt) {
    fonts_.push_back({font, color, true});
  }
  void CancelFont() { fonts_.push_back({QFont(), std::nullopt, false}); }

  QString RunFileDialog(FileDialogState& dialog) override;
  bool RunFontDialog(FontDialogState& dialog) override;
  void Information(const QString& text) override { shown.push_back({"information", "情報", text}); }
  void Error(const QString& title, const QString& text) override { shown.push_back({"error", title, text}); }
  void Plain(const QString& title, const QString& text) override { shown.push_back({"plain", title, text}); }

  std::vector<Shown> shown;
  std::vector<FileRun> fileRuns;
  std::vector<QFont> fontDialogOpenedWith;

 private:
  struct FontAnswer {
    QFont font;
    std::optional<quint32> color;
    bool ok;
  };
  std::deque<QString> files_;
  std::deque<FontAnswer> fonts_;
};

}  // namespace vornask::testing
