// Times the window's Convert on a big source, offscreen: from the command to
// the editor holding the page (the preview then loads on its own).
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "csv/tform1.h"

namespace {

class SilentDialogs : public vornask::IDialogs {
 public:
  QString RunFileDialog(vornask::FileDialogState&) override { return {}; }
  bool RunFontDialog(vornask::FontDialogState&) override { return false; }
  void Information(const QString& text) override { Report("information", text); }
  void Error(const QString&, const QString& text) override { Report("error", text); }
  void Plain(const QString&, const QString& text) override { Report("plain", text); }
  int shown = 0;

 private:
  void Report(const char* kind, const QString& text) {
    ++shown;
    std::fprintf(stderr, "%s: %s\n", kind, text.toUtf8().constData());
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;

  QTemporaryDir dir;
  const QString source = dir.filePath("big.csv");
  {
    std::ofstream out(source.toStdString(), std::ios::binary);
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < 10; ++c) out << (c ? "," : "") << "r" << r << "c" << c << "xx";
      out << "\r\n";
    }
  }
  auto dialogs = std::make_shared<SilentDialogs>();
  std::vector<double> seconds;
  {
    vornask::TForm1 form({dir.filePath("vornask").toStdString(), dir.path().toStdString(), dialogs});
    form.show();
    QApplication::processEvents();
    form.OpenDocument(source);
    for (int i = 0; i < runs; ++i) {
      QElapsedTimer timer;
      timer.start();
      form.Button2Click();
      seconds.push_back(timer.nsecsElapsed() / 1e9);
      QApplication::processEvents();
    }
    const auto lines = form.findChild<QPlainTextEdit*>("RichEdit1")->toPlainText().count(u'\n');
    std::sort(seconds.begin(), seconds.end());
    std::printf("source: %d rows, %.1f MB; editor: %lld lines after Convert\n", rows,
                QFileInfo(source).size() / 1e6, static_cast<long long>(lines));
    std::printf("Convert (command to editor filled): median %.3f s, best %.3f s over %d runs\n",
                seconds[seconds.size() / 2], seconds.front(), runs);
  }
  return dialogs->shown == 0 ? 0 : 1;
}
