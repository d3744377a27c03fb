#include "csv/editor_text.h"

#include <QTextDocument>
#include <algorithm>

#include "text/failure.h"
#include "text/sjis.h"

namespace vornask {
namespace {

// A text control spends most of its time per paragraph, so a long text keeps
// up to kLinesPerBlock lines in one paragraph, separated by line separators.
// Both kinds of break are lines to the user and are saved alike.
constexpr int kLinesPerBlock = 16;
constexpr std::ptrdiff_t kGroupAbove = 20000;

}  // namespace

QString DecodeDocument(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  auto* units = reinterpret_cast<char16_t*>(text.data());
  const std::size_t n = sjis::DecodeInto(bytes, units);
  const bool group = std::count(bytes.begin(), bytes.end(), '\n') > kGroupAbove ||
                     std::count(bytes.begin(), bytes.end(), '\r') > kGroupAbove;
  // Line breaks in place: the text only shrinks.
  std::size_t w = 0;
  int inBlock = 0;
  for (std::size_t r = 0; r < n; ++r) {
    char16_t c = units[r];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && r + 1 < n && units[r + 1] == u'\n') ++r;
      if (group && ++inBlock < kLinesPerBlock) {
        c = QChar::LineSeparator;
      } else {
        c = u'\n';
        inBlock = 0;
      }
    }
    units[w++] = c;
  }
  text.truncate(static_cast<qsizetype>(w));
  return text;
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
