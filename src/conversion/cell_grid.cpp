#include "conversion/cell_grid.h"

#include <array>
#include <limits>
#include <stdexcept>

#include "text/sjis.h"

namespace vornask {
namespace {

enum : unsigned char { kPlain = 0, kLead = 1, kComma = 2 };

constexpr std::array<unsigned char, 256> MakeClasses() {
  std::array<unsigned char, 256> c{};
  for (int b = 0; b < 256; ++b) c[b] = sjis::IsLeadByte(static_cast<unsigned char>(b)) ? kLead : kPlain;
  c[','] = kComma;
  return c;
}
constexpr auto kClass = MakeClasses();

}  // namespace

std::string_view TCellGrid::CellAt(std::int32_t column, std::int32_t row) const {
  const std::size_t first = firstCell_[row];
  const std::size_t count = firstCell_[row + 1] - first;
  if (static_cast<std::size_t>(column) >= count) return {};
  const std::string_view text = rows_[row];
  const std::size_t begin = cellStart_[first + column];
  const std::size_t end =
      static_cast<std::size_t>(column) + 1 < count ? cellStart_[first + column + 1] - 1 : text.size();
  return text.substr(begin, end - begin);
}

TCellGrid BuildCellGrid(std::vector<std::string_view> rows) {
  TCellGrid grid;
  grid.rows_ = std::move(rows);
  if (grid.rows_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw std::length_error("too many rows");
  grid.firstCell_.reserve(grid.rows_.size() + 1);
  std::size_t maxCells = 0;
  for (std::string_view row : grid.rows_) {
    if (row.size() > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("row too long");
    const std::size_t first = grid.cellStart_.size();
    grid.firstCell_.push_back(first);
    grid.cellStart_.push_back(0);
    const auto* p = reinterpret_cast<const unsigned char*>(row.data());
    const std::size_t n = row.size();
    for (std::size_t i = 0; i < n; ++i) {
      const unsigned char k = kClass[p[i]];
      if (k == kComma) {
        grid.cellStart_.push_back(static_cast<std::uint32_t>(i + 1));
      } else if (k == kLead) {
        ++i;  // the next byte, whatever it is, belongs to this character
      }
    }
    const std::size_t cells = grid.cellStart_.size() - first;
    if (cells > maxCells) maxCells = cells;
  }
  grid.firstCell_.push_back(grid.cellStart_.size());
  if (maxCells > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw std::length_error("too many columns");
  grid.columnCount_ = static_cast<std::int32_t>(maxCells);
  return grid;
}

}  // namespace vornask
