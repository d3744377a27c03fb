// Edit commands and the editor font. Each acts on the editor whatever has the focus.
#include <QPlainTextEdit>
#include <QTextCursor>

#include "csv/tform1.h"

namespace vornask {

void TForm1::Undo1Click() { RichEdit1->undo(); }
void TForm1::Cut1Click() { RichEdit1->cut(); }
void TForm1::Copy1Click() { RichEdit1->copy(); }
void TForm1::Paste1Click() { RichEdit1->paste(); }

void TForm1::Delete1Click() {
  QTextCursor cursor = RichEdit1->textCursor();
  if (cursor.hasSelection()) {
    cursor.removeSelectedText();
    RichEdit1->setTextCursor(cursor);
  }
}

void TForm1::N4Click() {
  RichEdit1->setFocus();
  RichEdit1->selectAll();
}

}  // namespace vornask
