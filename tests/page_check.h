#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vornask::test {

// Whether `page` is the page the rules give for the comma-separated `source`:
// 7 + RowCount x (ColumnCount + 2) lines, each ended by CR LF, the fixed
// lines in place, and every row's cells, joined with commas, the row itself.
// Returns "" when it is, else what is wrong. Cells are split here byte by
// byte, independently of the cell grid.
std::string CheckPage(std::string_view source, std::string_view page);

}  // namespace vornask::test

namespace vornask::test {

// Whether the tests run under AddressSanitizer (slower: bounds are looser).
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

// Bad sources: a piece repeated, and 256 KiB of random bytes holding every byte value.
std::string Repeat(std::string_view piece, std::size_t times);
std::string Binary();

}  // namespace vornask::test

namespace vornask::test {

// Every kind of bad source the converter and the window are tried on.
struct BadSource {
  const char* name;
  std::string bytes;
};
std::vector<BadSource> BadSources();

}  // namespace vornask::test
