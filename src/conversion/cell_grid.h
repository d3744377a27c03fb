#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vornask {

// The cells of one conversion, addressed [column][row]. Cells are views into
// the rows handed to BuildCellGrid: the caller keeps those bytes alive while
// the grid is used. A cell a row does not reach is empty.
class TCellGrid {
 public:
  std::int32_t ColumnCount() const { return columnCount_; }
  std::int32_t RowCount() const { return static_cast<std::int32_t>(rows_.size()); }
  std::string_view CellAt(std::int32_t column, std::int32_t row) const;

  // The cells one row really has (1 + its delimiters).
  std::int32_t CellsInRow(std::int32_t row) const {
    return static_cast<std::int32_t>(firstCell_[row + 1] - firstCell_[row]);
  }

 private:
  friend TCellGrid BuildCellGrid(std::vector<std::string_view> rows);

  std::vector<std::string_view> rows_;
  std::vector<std::size_t> firstCell_;   // per row, index into cellStart_; one extra at the end
  std::vector<std::uint32_t> cellStart_;  // offset of each cell inside its row
  std::int32_t columnCount_ = 0;
};

// Splits each row at its delimiters: a comma byte that is not the second byte
// of a double-byte Shift_JIS character. Rows are taken whole, however long.
TCellGrid BuildCellGrid(std::vector<std::string_view> rows);

}  // namespace vornask
