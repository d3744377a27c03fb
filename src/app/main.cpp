// The program's entry: the application, the one window, the event loop.
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QStringList>
#include <memory>

#include "csv/tform1.h"
#include "settings/settings_paths.h"

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);  // the web view wants it before the application
  QApplication application(argc, argv);
  // Qt's own dialog texts in the user's language, where translations are installed.
  QTranslator qtTexts;
  if (qtTexts.load(QLocale(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTexts);
  const QString programFile = QCoreApplication::applicationFilePath();
  application.setApplicationName(vornask::ProgramTitleFor(programFile));
  // The desktop entry and the icon theme name the program "vornask".
  QGuiApplication::setDesktopFileName("vornask");
  QApplication::setWindowIcon(QIcon::fromTheme("vornask"));
  int status = 0;
  {
    vornask::FormEnvironment environment{programFile.toStdString(), vornask::UserConfigHome(), nullptr};
    auto form = std::make_unique<vornask::TForm1>(environment);
    form->show();
    // A file named on the command line (as the desktop opens one) opens as Open does.
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 2) form->Guarded([&] { form->OpenDocument(args[1]); });
    status = application.exec();
  }  // the window, with its web view, goes before the application
  return status;
}
