#pragma once

#include <QString>
#include <string>
#include <string_view>

class QTextDocument;

namespace vornask {

// A file's Shift_JIS bytes as editor text: CR LF, lone CR and lone LF are all
// line breaks; bytes that are no character survive as private-use characters.
QString DecodeDocument(std::string_view bytes);

// The editor's text as file bytes, CR LF at every line break. Throws Failure
// naming the first character Shift_JIS cannot hold, and its line.
std::string EncodeDocument(const QTextDocument& document);
std::string EncodeDocumentText(const QString& text);

}  // namespace vornask
