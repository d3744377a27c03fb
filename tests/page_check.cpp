#include "page_check.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "conversion/page_writer.h"
#include "text/lines.h"
#include "text/sjis.h"

namespace vornask::test {
namespace {

// The next line of the page from `at`, which must end with CR LF.
bool NextLine(std::string_view page, std::size_t& at, std::string_view& line) {
  const std::size_t end = page.find("\r\n", at);
  if (end == std::string_view::npos) return false;
  line = page.substr(at, end - at);
  at = end + 2;
  return true;
}

std::size_t CellsOf(std::string_view row) {
  std::size_t cells = 1;
  for (std::size_t i = 0; i < row.size();) {
    const auto b = static_cast<unsigned char>(row[i]);
    if (b == ',') ++cells;
    i += sjis::IsLeadByte(b) ? 2 : 1;
  }
  return cells;
}

}  // namespace

std::string CheckPage(std::string_view source, std::string_view page) {
  const std::vector<std::string_view> rows = SplitLines(source);
  std::size_t columns = 0;
  for (std::string_view row : rows) columns = std::max(columns, CellsOf(row));

  std::size_t at = 0;
  std::string_view line;
  if (!NextLine(page, at, line) || line != kHeadLine) return "no head line";
  for (const char* start : {"<body ", "<center><table border=", "<caption><font color="}) {
    if (!NextLine(page, at, line) || line.substr(0, std::string_view(start).size()) != start)
      return std::string("no line starting ") + start;
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::string where = "row " + std::to_string(r);
    if (!NextLine(page, at, line) || line != "<tr>") return where + ": no <tr>";
    std::string joined;
    const std::size_t cells = CellsOf(rows[r]);
    for (std::size_t c = 0; c < columns; ++c) {
      if (!NextLine(page, at, line)) return where + ": page ends";
      const std::string_view open = "<td nowrap><font size=", close = "</font></td>";
      const std::size_t gt = line.find('>', open.size());
      if (line.substr(0, open.size()) != open || gt == std::string_view::npos ||
          line.size() < gt + 1 + close.size() || line.substr(line.size() - close.size()) != close)
        return where + ": not a cell line";
      const std::string_view cell = line.substr(gt + 1, line.size() - close.size() - gt - 1);
      if (c < cells) {
        if (c > 0) joined += ',';
        joined += cell;
      } else if (!cell.empty()) {
        return where + ": a cell past the row's end is not empty";
      }
    }
    if (joined != rows[r]) return where + ": cells do not give back the row";
    if (!NextLine(page, at, line) || line != "</tr>") return where + ": no </tr>";
  }
  for (const char* end : {"</table></center>", "</body>", "</html>"})
    if (!NextLine(page, at, line) || line != end) return std::string("no ") + end;
  if (at != page.size()) return "bytes after </html>";
  return "";
}

}  // namespace vornask::test

namespace vornask::test {

std::string Repeat(std::string_view piece, std::size_t times) {
  std::string s;
  s.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) s += piece;
  return s;
}

std::string Binary() {
  std::mt19937 random(6);
  std::string s(256 * 1024, '\0');
  for (char& c : s) c = static_cast<char>(random());
  for (int b = 0; b < 256; ++b) s[static_cast<std::size_t>(b)] = static_cast<char>(b);
  return s;
}

}  // namespace vornask::test

namespace vornask::test {

std::vector<BadSource> BadSources() {
  return {
      {"empty", ""},
      {"binary", Binary()},
      {"nul bytes", std::string("a\0b,\0\r\n\0,c\0\r\n\0", 13)},
      {"10 MB single line", Repeat(std::string(999, 'x') + ",", 10 * 1024 * 1024 / 1000)},
      {"1,000,000 columns", Repeat(",", 999999) + "\r\n"},
      {"1,000,000 empty lines", Repeat("\r\n", 1000000)},
      {"lone lead byte at the end", "a,b\r\nc,\x81"},
      {"lead byte before a line break", "\x81\r\n\x9F\nx,\xE0\r"},
      {"lead byte before a comma", "\x81,x,y\r\n"},
      {"0x80", "a\x80,b\r\n"},
      {"0xA0", "\xA0,\xA0\r\n"},
      {"0xFD to 0xFF", "\xFD,\xFE,\xFF\r\n\xFF\xFF"},
  };
}

}  // namespace vornask::test
