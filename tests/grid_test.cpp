#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "conversion/cell_grid.h"
#include "text/lines.h"

namespace vornask {
namespace {

// The grid as rows of cells, every row ColumnCount wide.
using Table = std::vector<std::vector<std::string>>;

Table Cells(const TCellGrid& grid) {
  Table table;
  for (std::int32_t r = 0; r < grid.RowCount(); ++r) {
    table.emplace_back();
    for (std::int32_t c = 0; c < grid.ColumnCount(); ++c) table.back().emplace_back(grid.CellAt(c, r));
  }
  return table;
}

Table GridOf(std::string_view text) { return Cells(BuildCellGrid(SplitLines(text))); }

TEST(CellGrid, RowsAndColumnsFromText) {
  struct Case {
    std::string text;
    Table cells;
  };
  const Case cases[] = {
      {"", {}},
      {"\r\n", {{""}}},
      {"a,b\r\n\r\nc\r\n", {{"a", "b"}, {"", ""}, {"c", ""}}},
      {"a\r\nb,c,d", {{"a", "", ""}, {"b", "c", "d"}}},
      {"\r\nx,y", {{"", ""}, {"x", "y"}}},
      {",a", {{"", "a"}}},
      {"a,,b", {{"a", "", "b"}}},
      {"a,", {{"a", ""}}},
      {"a,b,", {{"a", "b", ""}}},
      {" a , b ", {{" a ", " b "}}},
      {"\ta\t,b", {{"\ta\t", "b"}}},
      {"\"x,y\"", {{"\"x", "y\""}}},
      {"<b>x</b>,a&b", {{"<b>x</b>", "a&b"}}},
      {"a\r\n\r\n", {{"a"}, {""}}},
      {"a,b\nc\n", {{"a", "b"}, {"c", ""}}},         // LF only
      {"a,b\rc\r", {{"a", "b"}, {"c", ""}}},         // CR only
      {"\x95\x5C,x", {{"\x95\x5C", "x"}}},           // 表 next to a comma
      {"\x83\x5C\x81\x43", {{"\x83\x5C\x81\x43"}}},  // ソ、 : no comma byte at all
      // Malformed: a comma straight after a lead byte is that character's second byte.
      {"a\x81,b,c", {{"a\x81,b", "c"}}},
      {"ab\x81", {{"ab\x81"}}},
      {"\xFF,\x80", {{"\xFF", "\x80"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(GridOf(c.text), c.cells) << testing::PrintToString(c.text);
}

TEST(CellGrid, LongRowsAreTakenWhole) {
  // 5000 bytes with commas beyond the 4096th byte: every one of them counts.
  std::string row(4090, 'a');
  while (row.size() < 5000) row += ",bbbbbbbbb";
  const TCellGrid grid = BuildCellGrid({row});
  const std::int32_t commas = static_cast<std::int32_t>(std::count(row.begin(), row.end(), ','));
  ASSERT_EQ(grid.ColumnCount(), commas + 1);
  EXPECT_EQ(grid.CellAt(commas, 0), row.substr(row.rfind(',') + 1));
}

// The splitting rule, one byte at a time: a lead byte takes the next byte
// with it, any other comma ends a cell.
std::vector<std::string> SplitRow(const std::string& row) {
  std::vector<std::string> cells(1);
  for (std::size_t i = 0; i < row.size(); ++i) {
    const auto b = static_cast<unsigned char>(row[i]);
    if (b == ',') {
      cells.emplace_back();
    } else {
      cells.back() += row[i];
      if (((b >= 0x81 && b <= 0x9F) || b >= 0xE0) && b <= 0xFC && i + 1 < row.size())
        cells.back() += row[++i];
    }
  }
  return cells;
}

TEST(CellGrid, RandomRowsSplitByTheByteRule) {
  std::mt19937 random(11);
  // Mostly plain runs, so that commas and lead bytes fall at every offset of
  // a multi-byte scan, with broken pairs among them.
  const char special[] = {',', ',', '"', '\x81', '\x95', '\x5C', '\xE0', '\xFC', '\xFD', '\x80', '\x40'};
  for (int round = 0; round < 1000; ++round) {
    std::vector<std::string> rows(1 + random() % 6);
    for (auto& row : rows)
      for (int n = random() % 40; n > 0; --n)
        row += random() % 4 ? static_cast<char>('a' + random() % 26) : special[random() % sizeof special];
    const TCellGrid grid = BuildCellGrid({rows.begin(), rows.end()});
    ASSERT_EQ(grid.RowCount(), static_cast<std::int32_t>(rows.size()));
    std::size_t widest = 0;
    for (std::int32_t r = 0; r < grid.RowCount(); ++r) {
      const auto cells = SplitRow(rows[r]);
      widest = std::max(widest, cells.size());
      ASSERT_EQ(grid.CellsInRow(r), static_cast<std::int32_t>(cells.size()))
          << testing::PrintToString(rows[r]);
      for (std::int32_t c = 0; c < grid.ColumnCount(); ++c)
        EXPECT_EQ(grid.CellAt(c, r), c < grid.CellsInRow(r) ? cells[c] : "");
    }
    EXPECT_EQ(grid.ColumnCount(), static_cast<std::int32_t>(widest));
  }
}

}  // namespace
}  // namespace vornask
