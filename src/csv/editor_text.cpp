#include "csv/editor_text.h"

#include <QTextDocument>

#include "text/failure.h"
#include "text/sjis.h"

namespace vornask {

QString DecodeDocument(std::string_view bytes) {
  const std::u16string text = sjis::Decode(bytes);
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = text[i];
    if (c == u'\r') {
      out += QChar(u'\n');
      if (i + 1 < n && text[i + 1] == u'\n') ++i;
    } else {
      out += QChar(c);
    }
  }
  return out;
}

std::string EncodeDocumentText(const QString& text) {
  // Paragraph and line separators are the document's line breaks.
  std::u16string withBreaks;
  withBreaks.reserve(static_cast<std::size_t>(text.size()) + static_cast<std::size_t>(text.size()) / 16);
  const char16_t* p = reinterpret_cast<const char16_t*>(text.utf16());
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = p[i];
    if (c == 0x2029 || c == 0x2028 || c == u'\n') {
      withBreaks += u"\r\n";
    } else if (c == u'\r') {
      withBreaks += u"\r\n";
      if (i + 1 < n && p[i + 1] == u'\n') ++i;
    } else {
      withBreaks += c;
    }
  }
  std::string bytes;
  sjis::Unencodable bad;
  if (!sjis::Encode(withBreaks, bytes, &bad)) throw Failure(sjis::UnencodableMessage(bad));
  return bytes;
}

std::string EncodeDocument(const QTextDocument& document) { return EncodeDocumentText(document.toRawText()); }

}  // namespace vornask
