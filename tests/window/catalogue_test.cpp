// Bad input for the window: Convert on each bad source gives a page that
// follows the rules, shown in the editor, without a message; bad settings
// files at start and in a named load end with a clear message or read whole.
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QWebEngineView>
#include <algorithm>
#include <random>

#include "csv/editor_text.h"
#include "form_fixture.h"
#include "page_check.h"
#include "settings/option_lines.h"
#include "text/sjis.h"

namespace vornask::testing {
namespace {

using test::Binary;
using test::kSanitized;
using test::Repeat;

// Every lone CR and lone LF made CR LF, as the editor and the settings
// buffer keep line breaks.
std::string CrLf(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      out += "\r\n";
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      out += bytes[i];
    }
  }
  return out;
}

// The peak resident memory of this process so far, in MiB.
long PeakMiB() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
  return -1;
}

using CatalogueTest = FormTest;

TEST_F(CatalogueTest, ConvertTurnsEveryBadSourceIntoAPageThatFollowsTheRules) {
  const std::vector<test::BadSource> sources = test::BadSources();
  Start();
  for (const test::BadSource& source : sources) {
    const QString csv = WriteFile("source.csv", source.bytes);
    form->OpenDocument(csv);
    QElapsedTimer timer;
    timer.start();
    Click("Button2");
    const double seconds = timer.elapsed() / 1000.0;
    // A big page is not worth rendering here.
    Child<QWebEngineView>("WebBrowser1")->stop();
    ASSERT_TRUE(dialogs->shown.empty()) << source.name << ": " << Shown().join("\n").toStdString();
    const std::string page = ReadFile(Path("source.html"));
    EXPECT_EQ(test::CheckPage(source.bytes, page), "") << source.name;
    if (page.size() < (1u << 20)) {
      EXPECT_EQ(EditorText(), DecodeDocument(page)) << source.name;
    } else {
      EXPECT_TRUE(Editor()->document()->firstBlock().text().startsWith("<html><head>")) << source.name;
    }
    EXPECT_EQ(form->windowTitle(), Path("source.html"));
    // Back brings the bad source back, byte for byte when saved again.
    Click("Button9");
    Click("Button10");
    EXPECT_TRUE(ReadFile(csv) == CrLf(source.bytes)) << source.name;
    std::printf("[ catalogue ] window Convert: %-30s %8zu bytes in: %6.2f s, peak so far %ld MiB\n", source.name,
                source.bytes.size(), seconds, PeakMiB());
  }
  // The biggest page (about 40 MB, 3 million lines) sits in the editor as
  // UTF-16 with its layout; a copy too many or a leak per line would show.
  if (!kSanitized) {
    EXPECT_LT(PeakMiB(), 1536);
  }
}

TEST_F(CatalogueTest, BadSettingsFilesEndWithAClearMessageOrReadWhole) {
  std::string tenThousand;
  for (int i = 0; i < 10000; ++i)
    tenThousand += (i < 22 ? DefaultSettingsLines().ReadLine(static_cast<std::size_t>(i)) : "extra") + "\r\n";
  const std::string garbage = Binary();
  struct Case {
    const char* name;
    std::string bytes;
    QString message;  // empty: read without a message
  };
  const Case cases[] = {
      {"garbage", garbage, "error|vornask|'" + QString::fromStdString(sjis::DecodeToUtf8(garbage.substr(0, 10))) +
                               "' は整数ではありません."},
      {"10,000 lines", tenThousand, ""},
      {"one huge line", Repeat("9", 10 * 1024 * 1024),
       "error|vornask|'" + QString(4096, '9') + "' は整数ではありません."},
      {"a NUL byte", std::string("1\0\r\n", 4), "error|vornask|'1\uF700' は整数ではありません."},
  };
  QDir(root.path()).mkpath("prog/kel");
  for (const Case& c : cases) {
    WriteFile("prog/kel/kidou.kel", c.bytes);
    dialogs->shown.clear();
    QElapsedTimer timer;
    timer.start();
    if (form) {
      Restart();
    } else {
      Start();
    }
    const double startSeconds = timer.elapsed() / 1000.0;
    EXPECT_TRUE(form->isVisible());
    if (c.message.isEmpty()) {
      EXPECT_TRUE(dialogs->shown.empty()) << c.name;
    } else {
      ASSERT_EQ(dialogs->shown.size(), 1u) << c.name;
      EXPECT_EQ(Shown().front(), c.message) << c.name;
    }
    // A named load of the same file ends the same way and keeps the window.
    dialogs->shown.clear();
    dialogs->AnswerFile(Path("prog/kel/kidou.kel"));
    timer.restart();
    Click("Button5");
    const double loadSeconds = timer.elapsed() / 1000.0;
    EXPECT_EQ(dialogs->shown.size(), c.message.isEmpty() ? 0u : 1u) << c.name;
    // The buffer holds the file as loaded: a save writes it back whole.
    EXPECT_TRUE(form->SettingsLines().Bytes() == CrLf(c.bytes)) << c.name;
    std::printf("[ catalogue ] window settings: %-16s %8zu bytes: start %.2f s, named load %.2f s\n", c.name,
                c.bytes.size(), startSeconds, loadSeconds);
  }
}

}  // namespace
}  // namespace vornask::testing
