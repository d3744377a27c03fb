#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "csv/tform1.h"
#include "scripted_dialogs.h"

QT_BEGIN_NAMESPACE
// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace vornask::testing {

// A real window on a temporary program folder, with scripted dialogs.
class FormTest : public ::testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  // Creates and shows the window (start-up read included).
  TForm1& Start();
  void Restart();  // closes the window and starts a new one on the same folder

  template <typename T>
  T* Child(const char* name) {
    T* found = form->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QPlainTextEdit* Editor() { return Child<QPlainTextEdit>("RichEdit1"); }
  QString EditorText() { return Editor()->toPlainText(); }
  void Click(const char* button);
  void Trigger(const char* action);

  QString Path(const QString& name) const { return QDir(root.path()).filePath(name); }
  QString WriteFile(const QString& name, const std::string& bytes);
  static std::string ReadFile(const QString& path);
  static bool Exists(const QString& path);
  QString SettingsDir() const { return QDir(root.path()).filePath("prog/kel"); }
  QString StartupFile() const { return SettingsDir() + "/kidou.kel"; }

  // Waits until the preview has loaded what it was sent to.
  bool WaitForPreview(int ms = 30000);
  // Messages shown, as "kind|title|text".
  QStringList Shown() const;

  QTemporaryDir root;
  std::shared_ptr<ScriptedDialogs> dialogs;
  std::unique_ptr<TForm1> form;
  bool portableSettings = true;  // create prog/kel before start
};

// Shift_JIS bytes of a UTF-8 literal.
std::string Sjis(const std::string& utf8);

}  // namespace vornask::testing
