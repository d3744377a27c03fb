#include "scripted_dialogs.h"

#include <stdexcept>

namespace vornask::testing {

QString ScriptedDialogs::RunFileDialog(FileDialogState& dialog) {
  fileRuns.push_back({dialog.name, dialog.initialDir, dialog.filter});
  if (files_.empty()) throw std::logic_error("unexpected file dialog " + dialog.name.toStdString());
  const QString answer = files_.front();
  files_.pop_front();
  if (!answer.isEmpty()) dialog.lastFile = answer;
  return answer;
}

bool ScriptedDialogs::RunFontDialog(FontDialogState& dialog) {
  fontDialogOpenedWith.push_back(dialog.font);
  if (fonts_.empty()) throw std::logic_error("unexpected font dialog");
  const FontAnswer answer = fonts_.front();
  fonts_.pop_front();
  if (!answer.ok) return false;
  dialog.font = answer.font;
  if (answer.color) dialog.colorValue = *answer.color;
  return true;
}

}  // namespace vornask::testing
