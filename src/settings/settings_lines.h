#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vornask {

// The settings buffer: Shift_JIS bytes in which CR LF separates lines.
// Line i is the text between the i-th break and the next; a buffer ending
// with a break has one more, empty, line after it. Reading past the last line
// gives empty text; writing never adds or removes a line. Lines are read back
// whole, however long.
class TSettingsLines {
 public:
  static constexpr int kLineCount = 22;

  TSettingsLines();  // 22 empty lines, each followed by CR LF

  std::string ReadLine(std::size_t index) const;
  void WriteLine(std::size_t index, std::string_view text);

  // Replaces the whole buffer by a file's bytes, each lone CR or LF made CR LF.
  void Load(std::string_view bytes);
  // The bytes to save, exactly as held.
  const std::string& Bytes() const { return bytes_; }
  std::size_t LineCount() const;

 private:
  // [begin, end) of line `index`, or false when there is no such line.
  bool Locate(std::size_t index, std::size_t& begin, std::size_t& end) const;

  std::string bytes_;
};

}  // namespace vornask
