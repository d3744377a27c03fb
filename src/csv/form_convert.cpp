// Convert: the saved source becomes the page beside it, shown in the preview.
#include <QApplication>
#include <QPlainTextEdit>
#include <QUrl>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

#include "conversion/convert_file.h"
#include "csv/editor_text.h"
#include "csv/tform1.h"
#include "text/files.h"
#include "text/paths.h"

namespace vornask {

void TForm1::Button2Click() {
  if (SourcePath_.isEmpty()) {
    dialogs_->Information("名前を付けて保存してから変換してください");
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    const std::string source = SourcePath_.toStdString();
    IsHtmlDocument_ = HasHtmlExtension(source) ? 1 : 0;
    if (IsHtmlDocument_ == 1) {
      RichEdit1->clear();
      LoadIntoEditor(SourcePath_);
      // The document just loaded is what the preview shows.
      Preview(SourcePath_);
    } else {
      ConvertCommaSeparated();
    }
  } catch (...) {
    QApplication::restoreOverrideCursor();
    dialogs_->Plain(programTitle_, "エラー");
    return;
  }
  QApplication::restoreOverrideCursor();
}

void TForm1::ConvertCommaSeparated() {
  // What is converted is the file on disk, never unsaved edits.
  const std::string source = SourcePath_.toStdString();
  const std::string bytes = ReadFileBytes(source);
  const std::string page = ConvertTextToPage(bytes, ReadStyleOptions(), source);
  const std::string output = OutputPath(source);
  try {
    WriteFileAtomically(output, page, "ストリームへの書き込みに失敗しました");
  } catch (...) {
    // The caption still names the source: the editor shows the source as
    // loaded, never page lines that Overwrite would write over it.
    RichEdit1->setPlainText(DecodeDocument(bytes));
    throw;
  }
  RichEdit1->setPlainText(DecodeDocument(page));
  HtmlPath_ = QString::fromStdString(output);
  SetCaption(HtmlPath_);
  IsHtmlDocument_ = 1;
  RichEdit1->document()->clearUndoRedoStacks();
  RichEdit1->document()->setUndoRedoEnabled(true);
  Preview(HtmlPath_);
}

void TForm1::Preview(const QString& path) {
  previewUrl_ = QUrl::fromLocalFile(path);
  pendingPreviews_ = 1;
  WebBrowser1->load(previewUrl_);
}

void TForm1::PreviewLoading(const QWebEngineLoadingInfo& info) {
  if (info.url() != previewUrl_ || info.status() == QWebEngineLoadingInfo::LoadStartedStatus) return;
  pendingPreviews_ = 0;
  // A page the view could not show is a failed Convert; a load stopped by a
  // newer one is not.
  if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus) dialogs_->Plain(programTitle_, "エラー");
}

}  // namespace vornask
