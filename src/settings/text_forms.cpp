#include "settings/text_forms.h"

#include <cctype>

#include "text/failure.h"
#include "text/sjis.h"

namespace vornask {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The line as a message shows it: at most its first 4096 bytes (a line's
// length in the rules), never half a character. A message box holding a
// whole megabyte line takes minutes to lay out, at start-up among others.
std::string Shown(std::string_view line) {
  constexpr std::size_t kShown = 4096;
  std::size_t keep = 0;
  while (keep < line.size()) {
    const std::size_t len =
        sjis::IsLeadByte(static_cast<unsigned char>(line[keep])) && keep + 1 < line.size() ? 2 : 1;
    if (keep + len > kShown) break;
    keep += len;
  }
  return sjis::DecodeToUtf8(line.substr(0, keep));
}

[[noreturn]] void NotInteger(std::string_view line) {
  throw Failure(FormatMessage("'%s' は整数ではありません", Shown(line)));
}

[[noreturn]] void NotFlag(std::string_view line) {
  throw Failure(FormatMessage("'%s' は正しい論理型ではありません", Shown(line)));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// A decimal number: [+-] digits [. digits] [(e|E) [+-] digits], at least one digit.
bool ParseDecimal(std::string_view s, bool& nonZero) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool digits = false;
  nonZero = false;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    digits = true;
    nonZero |= s[i] != '0';
  }
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && IsDigit(s[i]); ++i) {
      digits = true;
      nonZero |= s[i] != '0';
    }
  }
  if (!digits) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool exponentDigits = false;
    for (; i < s.size() && IsDigit(s[i]); ++i) exponentDigits = true;
    if (!exponentDigits) return false;
  }
  return i == s.size();
}

}  // namespace

std::int32_t ParseInteger(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && line[i] == ' ') ++i;
  std::string_view s = line.substr(i);
  std::size_t hexStart = std::string_view::npos;
  if (s.starts_with("0x") || s.starts_with("0X")) {
    hexStart = 2;
  } else if (!s.empty() && (s[0] == '$' || s[0] == 'x' || s[0] == 'X')) {
    hexStart = 1;
  }
  if (hexStart != std::string_view::npos) {
    const std::string_view digits = s.substr(hexStart);
    if (digits.empty()) NotInteger(line);
    std::uint32_t value = 0;
    int significant = 0;
    for (char c : digits) {
      const int h = HexValue(c);
      if (h < 0) NotInteger(line);
      if (significant > 0 || h != 0) ++significant;
      if (significant > 8) NotInteger(line);
      value = (value << 4) | static_cast<std::uint32_t>(h);
    }
    return static_cast<std::int32_t>(value);
  }
  bool negative = false;
  std::size_t k = 0;
  if (k < s.size() && (s[k] == '+' || s[k] == '-')) negative = s[k++] == '-';
  if (k >= s.size()) NotInteger(line);
  std::int64_t value = 0;
  for (; k < s.size(); ++k) {
    if (!IsDigit(s[k])) NotInteger(line);
    value = value * 10 + (s[k] - '0');
    if (value > 2147483648LL) NotInteger(line);
  }
  if (negative) value = -value;
  if (value > 2147483647LL) NotInteger(line);
  return static_cast<std::int32_t>(value);
}

std::string FormatInteger(std::int64_t value) { return std::to_string(value); }

bool ParseFlag(std::string_view line) {
  std::size_t b = 0, e = line.size();
  while (b < e && line[b] == ' ') ++b;
  while (e > b && line[e - 1] == ' ') --e;
  bool nonZero = false;
  if (b < e && ParseDecimal(line.substr(b, e - b), nonZero)) return nonZero;
  if (EqualsIgnoringCase(line, "true")) return true;
  if (EqualsIgnoringCase(line, "false")) return false;
  NotFlag(line);
}

std::string FormatFlag(bool value) { return value ? "-1" : "0"; }

}  // namespace vornask
