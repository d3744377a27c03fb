#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTcpServer>
#include <QTest>
#include <QWebEngineView>

#include "conversion/convert_file.h"
#include "csv/option_boxes.h"
#include "csv/editor_text.h"
#include "form_fixture.h"

namespace vornask::testing {
namespace {

using ConvertTest = FormTest;

QString Decoded(const std::string& bytes) { return DecodeDocument(bytes); }

TEST_F(ConvertTest, UntitledShowsTheGuardAndChangesNothing) {
  Start();
  Editor()->setPlainText("a,b");
  Click("Button2");
  ASSERT_EQ(Shown(), QStringList{"information|情報|名前を付けて保存してから変換してください"});
  EXPECT_EQ(EditorText(), "a,b");
  EXPECT_EQ(form->windowTitle(), "");
  EXPECT_EQ(form->HtmlPath(), "");
}

TEST_F(ConvertTest, WritesThePageBesideTheSourceAndShowsIt) {
  Start();
  const std::string source = Sjis("名前,数\r\n表,ソ,能\r\n\r\n");
  const QString csv = WriteFile("list.csv", source);
  form->OpenDocument(csv);
  Editor()->setPlainText("unsaved edits are not converted");
  static_cast<ColorBox*>(Child<QComboBox>("ColorBox1"))->setCurrentIndex(9);  // clRed
  static_cast<ColorBox*>(Child<QComboBox>("ColorBox4"))->setCurrentIndex(17);  // clSkyBlue
  Child<QLineEdit>("LabeledEdit1")->setText("売上 <b>2026</b>");
  Trigger("HTML2");

  const QString html = Path("list.html");
  const std::string page = ReadFile(html);
  EXPECT_EQ(page, ConvertTextToPage(source, form->ReadStyleOptions(), csv.toStdString()));
  EXPECT_NE(page.find("<body bgcolor=Red text=Black>"), std::string::npos);
  EXPECT_NE(page.find("% bgcolor=#A6CAF0 "), std::string::npos);
  EXPECT_NE(page.find(Sjis("<font size=3>売上 <b>2026</b></font size>")), std::string::npos);
  EXPECT_NE(page.find(Sjis("<td nowrap><font size=3>ソ</font></td>")), std::string::npos);
  EXPECT_EQ(EditorText(), Decoded(page));
  EXPECT_EQ(form->windowTitle(), html);
  EXPECT_EQ(form->HtmlPath(), html);
  EXPECT_EQ(form->IsHtmlDocument(), 1);
  EXPECT_EQ(form->SourcePath(), csv);
  EXPECT_EQ(form->ReturnPath(), csv);

  // Undo cannot bring the source back.
  const QString shown = EditorText();
  Trigger("Undo2");
  EXPECT_EQ(EditorText(), shown);

  ASSERT_TRUE(WaitForPreview());
  EXPECT_EQ(Child<QWebEngineView>("WebBrowser1")->url(), QUrl::fromLocalFile(html));
  EXPECT_TRUE(dialogs->shown.empty()) << Shown().join("\n").toStdString();

  // The same source converts to the same page again.
  Click("Button2");
  EXPECT_EQ(ReadFile(html), page);

  // Overwrite writes the edited page over the page, not over the source.
  Editor()->appendPlainText("<!-- edited -->");
  Click("Button10");
  EXPECT_NE(ReadFile(html).find("<!-- edited -->"), std::string::npos);
  EXPECT_EQ(ReadFile(csv), source);

  // Back returns to the source.
  Click("Button9");
  EXPECT_EQ(EditorText(), Decoded(source));
  EXPECT_EQ(form->windowTitle(), csv);
  EXPECT_EQ(form->IsHtmlDocument(), 0);
  EXPECT_EQ(form->HtmlPath(), html);
  ASSERT_TRUE(WaitForPreview());
}

TEST_F(ConvertTest, ImagesGetAddressesRelativeToThePage) {
  Start();
  const QString csv = WriteFile("list.txt", "a");
  QDir(root.path()).mkpath("img");
  form->OpenDocument(csv);
  dialogs->AnswerFile(Path("img/bg.png"));
  Click("Button8");
  dialogs->AnswerFile(Path("img/tb.png"));
  Click("Button4");
  Child<QCheckBox>("CheckBox1")->setChecked(true);
  Child<QCheckBox>("CheckBox2")->setChecked(true);
  Click("Button2");
  const std::string page = ReadFile(Path("list.html"));
  EXPECT_NE(page.find("<body background=\"img/bg.png\" text=Black>"), std::string::npos);
  EXPECT_NE(page.find("% background=\"img/tb.png\" cellpadding=3"), std::string::npos);
  ASSERT_TRUE(WaitForPreview());
}

TEST_F(ConvertTest, AnHtmlSourceIsShownNotConverted) {
  Start();
  const QString htm = WriteFile("LIST.HTM", "<p>hello</p>\r\n");
  form->OpenDocument(htm);
  Editor()->setPlainText("edited");
  Click("Button2");
  EXPECT_EQ(EditorText(), "<p>hello</p>\n");
  EXPECT_EQ(form->IsHtmlDocument(), 1);
  EXPECT_EQ(form->HtmlPath(), "");
  EXPECT_EQ(form->windowTitle(), htm);
  EXPECT_FALSE(Exists(Path("LIST.html")));
  ASSERT_TRUE(WaitForPreview());
  EXPECT_EQ(Child<QWebEngineView>("WebBrowser1")->url(), QUrl::fromLocalFile(htm));
  EXPECT_TRUE(dialogs->shown.empty());
}

TEST_F(ConvertTest, AMissingSourceEndsWithTheErrorBoxAndKeepsTheEditor) {
  Start();
  const QString csv = WriteFile("gone.csv", "a");
  form->OpenDocument(csv);
  QFile::remove(csv);
  Editor()->setPlainText("my edits");
  Click("Button2");
  EXPECT_EQ(Shown(), QStringList{"plain|vornask|エラー"});
  EXPECT_EQ(EditorText(), "my edits");
  EXPECT_EQ(form->IsHtmlDocument(), 0);
  EXPECT_EQ(form->windowTitle(), csv);
}

TEST_F(ConvertTest, APageThatCannotBeWrittenLeavesTheSourceInTheEditor) {
  Start();
  const QString csv = WriteFile("list.csv", "a,b\r\n");
  QDir(root.path()).mkpath("list.html");  // nothing can replace a folder
  form->OpenDocument(csv);
  Editor()->setPlainText("unsaved");
  Click("Button2");
  EXPECT_EQ(Shown(), QStringList{"plain|vornask|エラー"});
  EXPECT_EQ(EditorText(), "a,b\n");
  EXPECT_EQ(form->IsHtmlDocument(), 0);
  EXPECT_EQ(form->HtmlPath(), "");
  EXPECT_EQ(form->windowTitle(), csv);
  // So Overwrite writes the source text back, never a page.
  Click("Button10");
  EXPECT_EQ(ReadFile(csv), "a,b\r\n");
}

TEST_F(ConvertTest, ThePreviewNeverReachesTheNetwork) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
  Start();
  const std::string cell = "<img src=\"http://127.0.0.1:" + std::to_string(server.serverPort()) + "/x.png\">";
  form->OpenDocument(WriteFile("net.csv", cell));
  Click("Button2");
  ASSERT_TRUE(WaitForPreview());
  QTest::qWait(500);
  EXPECT_FALSE(server.hasPendingConnections());
  EXPECT_TRUE(dialogs->shown.empty());
}

}  // namespace
}  // namespace vornask::testing

namespace vornask::testing {
namespace {

TEST_F(ConvertTest, AnHtmlDocumentThatCannotBeLoadedLeavesTheEditorEmpty) {
  Start();
  const QString html = WriteFile("page.html", "<p>");
  form->OpenDocument(html);
  QFile::remove(html);
  Click("Button2");
  EXPECT_EQ(Shown(), QStringList{"plain|vornask|エラー"});
  EXPECT_EQ(EditorText(), "");
  EXPECT_EQ(form->IsHtmlDocument(), 1);
  EXPECT_EQ(form->windowTitle(), html);
}

}  // namespace
}  // namespace vornask::testing
