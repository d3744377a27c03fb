// Takes the README's screenshots: the real window under a display (Xvfb),
// a Japanese sample opened, options picked, converted, previewed.
// Usage: vornask-screenshot OUT_DIR
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <deque>
#include <fstream>

#include "csv/tform1.h"
#include "text/sjis.h"

namespace {

class Answers : public vornask::IDialogs {
 public:
  std::deque<QString> files;
  QString RunFileDialog(vornask::FileDialogState& d) override {
    if (files.empty()) return {};
    d.lastFile = files.front();
    files.pop_front();
    return d.lastFile;
  }
  bool RunFontDialog(vornask::FontDialogState&) override { return false; }
  void Information(const QString&) override {}
  void Error(const QString&, const QString& text) override { qWarning("error: %s", qPrintable(text)); }
  void Plain(const QString&, const QString& text) override { qWarning("plain: %s", qPrintable(text)); }
};

void Write(const QString& path, const std::string& bytes) {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

void Shot(QWidget& window, const QString& path) {
  QTest::qWait(300);
  const QRect frame = window.frameGeometry();
  window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).save(path);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  const QString out = argc > 1 ? argv[1] : ".";
  QDir work(QDir::temp().filePath("vornask-screenshot"));
  work.removeRecursively();
  work.mkpath("img");
  const QString csv = work.filePath("売上.csv");
  Write(csv, vornask::sjis::FromUtf8("品名,数量,単価,産地\r\nりんご,12,150,青森\r\nみかん,30,80,愛媛\r\n"
                                     "表計算ソフト,1,9800,東京\r\nぶどう,5,420,山梨\r\n",
                                     vornask::sjis::Fallback::Fail));
  // A small tiled background for the page.
  QImage tile(24, 24, QImage::Format_RGB32);
  tile.fill(QColor(0xFF, 0xFB, 0xF0));
  QPainter(&tile).fillRect(0, 0, 12, 12, QColor(0xF0, 0xE8, 0xD8));
  tile.save(work.filePath("img/bg.png"));

  auto answers = std::make_shared<Answers>();
  int status = 0;
  {
    vornask::TForm1 form({work.filePath("vornask").toStdString(), work.path().toStdString(), answers});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 2;
    form.OpenDocument(csv);
    Shot(form, out + "/window.png");

    form.findChild<QComboBox*>("ColorBox3")->setCurrentIndex(4);  // navy border
    form.findChild<QComboBox*>("ColorBox4")->setCurrentIndex(17);  // sky blue table
    form.findChild<QComboBox*>("ColorBox5")->setCurrentIndex(1);  // maroon caption
    form.findChild<QComboBox*>("ComboBox2")->setCurrentIndex(4);  // caption size 5
    form.findChild<QComboBox*>("ComboBox3")->setCurrentIndex(2);  // border 2
    form.findChild<QLineEdit*>("LabeledEdit1")->setText("今月の売上");
    answers->files.push_back(work.filePath("img/bg.png"));
    form.findChild<QPushButton*>("Button8")->click();
    form.findChild<QCheckBox*>("CheckBox1")->setChecked(true);
    form.findChild<QPushButton*>("Button2")->click();
    QElapsedTimer timer;
    timer.start();
    while (form.PendingPreviews() > 0 && timer.elapsed() < 20000) QTest::qWait(50);
    Shot(form, out + "/converted.png");
    status = form.HtmlPath().isEmpty() ? 1 : 0;
  }
  work.removeRecursively();
  return status;
}
