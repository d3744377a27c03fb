// Settings: the buffer's line rules on any bytes, the integer and flag text
// forms (a value by the rules or the right message), and applying a whole
// file to the option controls.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings/option_lines.h"
#include "settings/settings_lines.h"
#include "settings/text_forms.h"
#include "text/failure.h"
#include "text/sjis.h"

namespace {

using vornask::Failure;

void Check(bool ok) {
  if (!ok) std::abort();
}

// A message quotes the line's first 4096 bytes, never half a character.
std::string Message(const char* pattern, std::string_view line) {
  std::size_t keep = 0;
  for (std::size_t i = 0; i < line.size();) {
    i += vornask::sjis::IsLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < line.size() ? 2 : 1;
    if (i > 4096) break;
    keep = i;
  }
  return vornask::FormatMessage(pattern, vornask::sjis::DecodeToUtf8(line.substr(0, keep)));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Hex(char c) {
  if (IsDigit(c)) return c - '0';
  c = static_cast<char>(c | 0x20);
  return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
}

// The integer form by the rules, written out plainly: returns false when
// the line holds no integer.
bool ExpectedInteger(std::string_view line, std::int64_t& value) {
  std::size_t i = line.find_first_not_of(' ');
  if (i == std::string_view::npos) return false;
  std::string_view s = line.substr(i);
  for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (s.substr(0, prefix.size()) != prefix) continue;
    const std::string_view digits = s.substr(prefix.size());
    const std::size_t first = digits.find_first_not_of('0');
    if (digits.empty()) return false;
    std::uint64_t v = 0;
    for (char c : digits) {
      if (Hex(c) < 0) return false;
      v = v * 16 + static_cast<unsigned>(Hex(c));
      if (v > 0xFFFFFFFFull) return false;
    }
    if (first != std::string_view::npos && digits.size() - first > 8) return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return true;
  }
  bool negative = false;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return false;
  std::int64_t v = 0;
  for (char c : s) {
    if (!IsDigit(c)) return false;
    v = v * 10 + (c - '0');
    if (v > (std::int64_t{1} << 31)) return false;
  }
  value = negative ? -v : v;
  return value >= INT32_MIN && value <= INT32_MAX;
}

// The flag form by the rules: a decimal number (sign, digits, a decimal mark,
// an exponent) with spaces around it, or True/False.
bool ExpectedFlag(std::string_view line, bool& value) {
  std::string lower(line);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  if (lower == "true" || lower == "false") {
    value = lower == "true";
    return true;
  }
  const std::size_t b = line.find_first_not_of(' ');
  if (b == std::string_view::npos) return false;
  std::string_view s = line.substr(b, line.find_last_not_of(' ') - b + 1);
  std::size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  std::size_t digits = 0;
  bool nonZero = false;
  for (; i < s.size() && (IsDigit(s[i]) || s[i] == '.'); ++i) {
    if (s[i] == '.') {
      if (s.find('.') != i) return false;  // one decimal mark at most
      continue;
    }
    ++digits;
    nonZero |= s[i] != '0';
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t exponentStart = i;
    while (i < s.size() && IsDigit(s[i])) ++i;
    if (i == exponentStart) return false;
  }
  if (i != s.size()) return false;
  value = nonZero;
  return true;
}

void CheckTextForms(std::string_view line) {
  std::int64_t expected = 0;
  const bool isInteger = ExpectedInteger(line, expected);
  try {
    const std::int32_t got = vornask::ParseInteger(line);
    Check(isInteger && got == expected);
    Check(vornask::ParseInteger(vornask::FormatInteger(got)) == got);
  } catch (const Failure& f) {
    Check(!isInteger && f.what() == Message("'%s' は整数ではありません", line));
  }
  bool flag = false;
  const bool isFlag = ExpectedFlag(line, flag);
  try {
    const bool got = vornask::ParseFlag(line);
    Check(isFlag && got == flag);
    Check(vornask::ParseFlag(vornask::FormatFlag(got)) == got);
  } catch (const Failure& f) {
    Check(!isFlag && f.what() == Message("'%s' は正しい論理型ではありません", line));
  }
}

// The buffer's lines by the rules: CR LF separates them.
std::vector<std::string> LinesOf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (true) {
    const std::size_t brk = bytes.find("\r\n", at);
    lines.push_back(bytes.substr(at, brk == std::string::npos ? std::string::npos : brk - at));
    if (brk == std::string::npos) return lines;
    at = brk + 2;
  }
}

void CheckBuffer(std::string_view file, std::size_t index, std::string_view text) {
  vornask::TSettingsLines buffer;
  buffer.Load(file);
  const std::string loaded = buffer.Bytes();
  // Every lone CR and lone LF became CR LF, nothing else changed.
  for (std::size_t i = 0; i < loaded.size(); ++i) {
    if (loaded[i] == '\r') Check(i + 1 < loaded.size() && loaded[i + 1] == '\n');
    if (loaded[i] == '\n') Check(i > 0 && loaded[i - 1] == '\r');
  }
  std::string withoutBreaks, fileWithoutBreaks;
  for (char c : loaded)
    if (c != '\r' && c != '\n') withoutBreaks += c;
  for (char c : file)
    if (c != '\r' && c != '\n') fileWithoutBreaks += c;
  Check(withoutBreaks == fileWithoutBreaks);
  vornask::TSettingsLines again;
  again.Load(loaded);
  Check(again.Bytes() == loaded);

  const std::vector<std::string> lines = LinesOf(loaded);
  Check(buffer.LineCount() == lines.size());
  for (std::size_t i = 0; i < lines.size() + 2; ++i)
    Check(buffer.ReadLine(i) == (i < lines.size() ? lines[i] : ""));

  // Writing replaces one line and never adds or removes one.
  buffer.WriteLine(index, text);
  std::vector<std::string> expected = lines;
  if (index < expected.size()) expected[index] = std::string(text);
  Check(LinesOf(buffer.Bytes()) == expected);
}

// The option controls after applying a file: every step before a failing
// line applied, the failure naming a line that really fails.
void CheckApply(std::string_view file) {
  vornask::TSettingsLines buffer;
  buffer.Load(file);
  vornask::OptionStateControls controls;
  try {
    vornask::ApplyOptionLines(buffer, controls);
  } catch (const vornask::SettingsLineFailure& f) {
    Check(f.line >= 0 && f.line <= 12);
    const std::string line = buffer.ReadLine(static_cast<std::size_t>(f.line));
    const bool flagLine = f.line >= 11;
    Check(f.what() == Message(flagLine ? "'%s' は正しい論理型ではありません" : "'%s' は整数ではありません", line));
    return;
  }
  for (int index : controls.state.colorIndex) Check(index >= -1 && index < 20);
  for (int index : controls.state.sizeIndex) Check(index >= -1 && index <= 10);
  // Stored again and read back, the controls come out the same.
  vornask::TSettingsLines stored;
  vornask::StoreOptionLines(stored, controls);
  vornask::OptionStateControls again;
  vornask::ApplyOptionLines(stored, again);
  Check(again.state == controls.state);
  Check(again.bodyImagePath == controls.bodyImagePath);
  Check(again.tableImagePath == controls.tableImagePath);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string line = in.ConsumeRandomLengthString(64);
  CheckTextForms(line);
  const std::size_t index = in.ConsumeIntegralInRange<std::size_t>(0, 30);
  std::string text = in.ConsumeRandomLengthString(32);
  text.erase(text.find_first_of("\r\n") == std::string::npos ? text.size() : text.find_first_of("\r\n"));
  const std::string file = in.ConsumeRemainingBytesAsString();
  CheckBuffer(file, index, text);
  CheckApply(file);
  return 0;
}
