#include "conversion/cell_grid.h"

#include <array>
#include <bit>
#include <cstdint>
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

// The index of the first byte at or after i that is a comma or has its high
// bit set (every lead byte has), looked for eight bytes at a time; n, or the
// start of the last few bytes, when there is none. Short cells of plain text
// are the common case, and a byte loop over them dominated the conversion.
std::size_t SkipPlain(const unsigned char* p, std::size_t i, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  constexpr std::uint64_t kCommas = kOnes * ',';
  for (; n - i >= 8; i += 8) {
    // Assembled little-endian whatever the machine (one load where it is).
    std::uint64_t x = 0;
    for (int b = 7; b >= 0; --b) x = (x << 8) | p[i + b];
    const std::uint64_t v = x ^ kCommas;
    // Flags every comma byte and every high byte; a borrow can only flag a
    // byte above a real hit, so the lowest flag is exact.
    const std::uint64_t hit = ((v - kOnes) & ~v & kHigh) | (x & kHigh);
    if (hit) return i + (std::countr_zero(hit) >> 3);
  }
  return i;
}

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
    for (std::size_t i = 0; i < n;) {
      i = SkipPlain(p, i, n);
      if (i >= n) break;
      const unsigned char k = kClass[p[i]];
      if (k == kComma) {
        grid.cellStart_.push_back(static_cast<std::uint32_t>(i + 1));
      }
      // A lead byte takes the next byte, whatever it is, with it.
      i += k == kLead ? 2 : 1;
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
