#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vornask {

// Integer lines: optional leading spaces, then [+-]digits in the signed 32-bit
// range, or hexadecimal after "$", "x", "X", "0x" or "0X" (at most eight
// significant digits, two's complement). Failure: "'%s' は整数ではありません".
std::int32_t ParseInteger(std::string_view line);
std::string FormatInteger(std::int64_t value);

// Flag lines: a decimal number with spaces around it (any non-zero value is
// true), or "True"/"False" in any letter case. Written "-1" and "0".
// Failure: "'%s' は正しい論理型ではありません".
bool ParseFlag(std::string_view line);
std::string FormatFlag(bool value);

}  // namespace vornask
