#include "form_fixture.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include "text/sjis.h"

namespace vornask::testing {

void FormTest::SetUp() {
  ASSERT_TRUE(root.isValid());
  QDir(root.path()).mkpath("prog");
  QDir(root.path()).mkpath("config");
  dialogs = std::make_shared<ScriptedDialogs>();
}

void FormTest::TearDown() {
  form.reset();
  QApplication::processEvents();
}

TForm1& FormTest::Start() {
  if (portableSettings) QDir(root.path()).mkpath("prog/kel");
  FormEnvironment env{Path("prog/vornask").toStdString(), Path("config").toStdString(), dialogs};
  form = std::make_unique<TForm1>(env);
  form->show();
  QApplication::processEvents();
  return *form;
}

void FormTest::Restart() {
  form.reset();
  QApplication::processEvents();
  Start();
}

void FormTest::Click(const char* button) { Child<QPushButton>(button)->click(); }

void FormTest::Trigger(const char* action) {
  QAction* a = form->findChild<QAction*>(action);
  ASSERT_NE(a, nullptr) << action;
  a->trigger();
}

QString FormTest::WriteFile(const QString& name, const std::string& bytes) {
  const QString path = Path(name);
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
  return path;
}

std::string FormTest::ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "<missing>";
  const QByteArray bytes = f.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool FormTest::Exists(const QString& path) { return QFile::exists(path); }

bool FormTest::WaitForPreview(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (form->PendingPreviews() > 0 && timer.elapsed() < ms) QTest::qWait(20);
  return form->PendingPreviews() == 0;
}

QStringList FormTest::Shown() const {
  QStringList out;
  for (const auto& s : dialogs->shown) out << s.kind + "|" + s.title + "|" + s.text;
  return out;
}

std::string Sjis(const std::string& utf8) { return sjis::FromUtf8(utf8, sjis::Fallback::Fail); }

}  // namespace vornask::testing
