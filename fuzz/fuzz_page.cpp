// The cell grid and the page writer: any source bytes and any style texts
// give a page of 7 + RowCount x (ColumnCount + 2) lines whose cells, joined
// with commas, give back each row.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/cell_grid.h"
#include "conversion/convert_file.h"
#include "conversion/page_writer.h"
#include "text/lines.h"
#include "text/sjis.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Style texts never hold a line break: they come from one-line controls
// and from settings lines.
std::string OneLine(FuzzedDataProvider& in, std::size_t max) {
  std::string s = in.ConsumeRandomLengthString(max);
  s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }), s.end());
  return s;
}

// The cells of a row by the rules, byte by byte: a comma is a delimiter
// unless a lead byte just took it as its second byte.
std::vector<std::string_view> SplitRow(std::string_view row) {
  std::vector<std::string_view> cells;
  std::size_t start = 0;
  for (std::size_t i = 0; i < row.size();) {
    const auto b = static_cast<unsigned char>(row[i]);
    if (b == ',') {
      cells.push_back(row.substr(start, i - start));
      start = ++i;
    } else {
      i += vornask::sjis::IsLeadByte(b) ? 2 : 1;
    }
  }
  cells.push_back(row.substr(start));
  return cells;
}

// The page's lines: every line ends with CR LF, and no other CR or LF appears.
std::vector<std::string_view> PageLines(std::string_view page) {
  std::vector<std::string_view> lines;
  std::size_t at = 0;
  while (at < page.size()) {
    const std::size_t end = page.find("\r\n", at);
    Check(end != std::string_view::npos);
    const std::string_view line = page.substr(at, end - at);
    Check(line.find_first_of("\r\n") == std::string_view::npos);
    lines.push_back(line);
    at = end + 2;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  vornask::TStyleOptions o;
  o.UseBodyImage = in.ConsumeBool();
  o.UseTableImage = in.ConsumeBool();
  o.FontSize = OneLine(in, 4);
  o.BodyColor = OneLine(in, 8);
  o.CaptionText = OneLine(in, 64);
  o.BodyImageFile = OneLine(in, 64);
  o.TableImageFile = OneLine(in, 64);
  const std::string sourcePath = OneLine(in, 64);
  const auto style = in.ConsumeBool() ? vornask::PathStyle::Windows : vornask::PathStyle::Posix;
  const std::string source = in.ConsumeRemainingBytesAsString();

  const std::vector<std::string_view> rows = vornask::SplitLines(source);
  const vornask::TCellGrid grid = vornask::BuildCellGrid(rows);
  const std::int32_t rowCount = grid.RowCount();
  const std::int32_t columns = grid.ColumnCount();
  Check(static_cast<std::size_t>(rowCount) == rows.size());

  std::size_t widest = 0;
  for (std::int32_t r = 0; r < rowCount; ++r) {
    const auto expected = SplitRow(rows[r]);
    widest = std::max(widest, expected.size());
    Check(grid.CellsInRow(r) == static_cast<std::int32_t>(expected.size()));
    for (std::int32_t c = 0; c < columns; ++c)
      Check(grid.CellAt(c, r) == (static_cast<std::size_t>(c) < expected.size() ? expected[c] : ""));
  }
  Check(static_cast<std::size_t>(columns) == widest);
  // Every row is padded to the widest, so a few kilobytes can ask for a page
  // of many megabytes; the bad-input tests cover those, the fuzzer moves on.
  if (static_cast<std::int64_t>(rowCount) * columns > (1 << 12)) return 0;

  const std::string page = vornask::ConvertTextToPage(source, o, sourcePath, style);
  const auto lines = PageLines(page);
  Check(lines.size() == 7 + static_cast<std::size_t>(rowCount) * (static_cast<std::size_t>(columns) + 2));
  Check(lines[0] == vornask::kHeadLine);
  Check(lines[lines.size() - 3] == "</table></center>");
  Check(lines[lines.size() - 2] == "</body>");
  Check(lines[lines.size() - 1] == "</html>");

  // Each row: "<tr>", its cells, "</tr>"; its cells joined give the row back.
  const std::string cellStart = "<td nowrap><font size=" + o.FontSize + ">";
  const std::string_view cellEnd = "</font></td>";
  std::size_t at = 4;
  for (std::int32_t r = 0; r < rowCount; ++r) {
    Check(lines[at++] == "<tr>");
    std::string joined;
    for (std::int32_t c = 0; c < columns; ++c) {
      const std::string_view line = lines[at++];
      Check(line.size() >= cellStart.size() + cellEnd.size());
      Check(line.substr(0, cellStart.size()) == cellStart);
      Check(line.substr(line.size() - cellEnd.size()) == cellEnd);
      const std::string_view cell = line.substr(cellStart.size(), line.size() - cellStart.size() - cellEnd.size());
      if (c < grid.CellsInRow(r)) {
        if (c > 0) joined += ',';
        joined += cell;
      } else {
        Check(cell.empty());
      }
    }
    Check(joined == rows[r]);
    Check(lines[at++] == "</tr>");
  }
  return 0;
}
