#include "settings/settings_lines.h"

namespace vornask {

TSettingsLines::TSettingsLines() {
  for (int i = 0; i < kLineCount; ++i) bytes_ += "\r\n";
}

bool TSettingsLines::Locate(std::size_t index, std::size_t& begin, std::size_t& end) const {
  std::size_t at = 0;
  for (std::size_t i = 0; i < index; ++i) {
    const std::size_t brk = bytes_.find("\r\n", at);
    if (brk == std::string::npos) return false;
    at = brk + 2;
  }
  begin = at;
  const std::size_t brk = bytes_.find("\r\n", at);
  end = brk == std::string::npos ? bytes_.size() : brk;
  return true;
}

std::string TSettingsLines::ReadLine(std::size_t index) const {
  std::size_t begin, end;
  if (!Locate(index, begin, end)) return "";
  return bytes_.substr(begin, end - begin);
}

void TSettingsLines::WriteLine(std::size_t index, std::string_view text) {
  std::size_t begin, end;
  if (!Locate(index, begin, end)) return;
  bytes_.replace(begin, end - begin, text);
}

void TSettingsLines::Load(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 16);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  bytes_ = std::move(out);
}

std::size_t TSettingsLines::LineCount() const {
  std::size_t count = 1;
  for (std::size_t at = bytes_.find("\r\n"); at != std::string::npos; at = bytes_.find("\r\n", at + 2))
    ++count;
  return count;
}

}  // namespace vornask
