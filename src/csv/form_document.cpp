// Document commands: New, Open, Save As, Overwrite, Back.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "csv/editor_text.h"
#include "csv/tform1.h"
#include "text/failure.h"
#include "text/files.h"
#include "text/paths.h"

namespace vornask {

namespace {
std::string Utf8(const QString& s) { return s.toStdString(); }
}  // namespace

void TForm1::LoadIntoEditor(const QString& path) {
  const std::string bytes = ReadFileBytes(Utf8(path));
  RichEdit1->setPlainText(DecodeDocument(bytes));
}

void TForm1::SaveEditorTo(const QString& path) {
  // Encode first: a character Shift_JIS cannot hold fails before any file is touched.
  const std::string bytes = EncodeDocument(*RichEdit1->document());
  WriteFileAtomically(Utf8(path), bytes, "ストリームへの書き込みに失敗しました");
}

void TForm1::SetCaption(const QString& text) { setWindowTitle(text); }

void TForm1::SetDocumentPaths(const QString& path) {
  SourcePath_ = path;
  ReturnPath_ = SourcePath_;
}

void TForm1::Button7Click() {
  RichEdit1->clear();
  SetDocumentPaths(QString());
  IsHtmlDocument_ = 0;
  SetCaption(SourcePath_);
  RichEdit1->setFocus();
  QTextCursor cursor = RichEdit1->textCursor();
  cursor.setPosition(0);
  RichEdit1->setTextCursor(cursor);
}

void TForm1::Button1Click() {
  const QString chosen = dialogs_->RunFileDialog(OpenDialog1);
  if (chosen.isEmpty()) return;
  OpenDocument(chosen);
}

void TForm1::OpenDocument(const QString& path) {
  if (!FileExists(Utf8(path))) return;  // a typed name that names no file
  LoadIntoEditor(path);
  SetDocumentPaths(path);
  SetCaption(SourcePath_);
}

void TForm1::SaveAsSteps() {
  if (!SourcePath_.isEmpty()) SaveDialog1.initialDir = QString::fromStdString(InitialFolder(Utf8(SourcePath_)));
  const QString chosen = dialogs_->RunFileDialog(SaveDialog1);
  if (chosen.isEmpty()) return;
  SaveEditorTo(chosen);
  SetDocumentPaths(chosen);
  SetCaption(SourcePath_);
}

void TForm1::Button3Click() { SaveAsSteps(); }

void TForm1::Button10Click() {
  const QString target = windowTitle();
  if (FileExists(Utf8(target))) {
    SaveEditorTo(target);
    return;
  }
  SaveAsSteps();
}

void TForm1::Button9Click() {
  if (SourcePath_.isEmpty() || !FileExists(Utf8(SourcePath_))) return;
  RichEdit1->clear();
  SourcePath_ = ReturnPath_;
  LoadIntoEditor(SourcePath_);
  SetCaption(SourcePath_);
  IsHtmlDocument_ = HasHtmlExtension(Utf8(SourcePath_)) ? 1 : 0;
}

namespace {

// The one local file a drag carries, or empty.
QString DraggedFile(const QMimeData* data) {
  if (!data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile()) return {};
  return data->urls().first().toLocalFile();
}

}  // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!DraggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  // A file dropped on the editor opens, as anywhere in the window; dragged
  // text still moves within the editor.
  if (watched == RichEdit1->viewport()) {
    const auto type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove) {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (!DraggedFile(drag->mimeData()).isEmpty()) {
        drag->acceptProposedAction();
        return true;
      }
    } else if (type == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      if (!DraggedFile(drop->mimeData()).isEmpty()) {
        dropEvent(drop);
        return true;
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString path = DraggedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  Guarded([this, path] { OpenDocument(path); });
}

}  // namespace vornask
