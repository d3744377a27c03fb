#pragma once

#include <string>
#include <string_view>

namespace vornask::test {

// Whether `page` is the page the rules give for the comma-separated `source`:
// 7 + RowCount x (ColumnCount + 2) lines, each ended by CR LF, the fixed
// lines in place, and every row's cells, joined with commas, the row itself.
// Returns "" when it is, else what is wrong. Cells are split here byte by
// byte, independently of the cell grid.
std::string CheckPage(std::string_view source, std::string_view page);

}  // namespace vornask::test
