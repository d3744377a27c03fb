// The program's entry: the application, the one window, the event loop.
#include <QApplication>
#include <QIcon>
#include <QStringList>
#include <memory>

#include "csv/tform1.h"
#include "settings/settings_paths.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
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
