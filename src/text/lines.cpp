#include "text/lines.h"

#include <cstring>

namespace vornask {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  const char* p = text.data();
  const char* end = p + text.size();
  const char* start = p;
  // The next LF at or after p (null when none is left). It is searched for
  // again only once p has passed it, so text broken by lone CRs stays linear.
  const char* lf = p < end ? static_cast<const char*>(std::memchr(p, '\n', end - p)) : nullptr;
  while (p < end) {
    if (lf && lf < p) lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
    const char* stop = lf ? lf : end;
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', stop - p));
    if (cr) {
      lines.emplace_back(start, cr - start);
      p = (cr + 1 < end && cr[1] == '\n') ? cr + 2 : cr + 1;
      start = p;
    } else if (lf) {
      lines.emplace_back(start, lf - start);
      p = lf + 1;
      start = p;
    } else {
      p = end;
    }
  }
  if (start < end) lines.emplace_back(start, end - start);
  return lines;
}

std::string JoinLinesCrLf(const std::vector<std::string_view>& lines) {
  std::size_t size = 0;
  for (auto line : lines) size += line.size() + 2;
  std::string out;
  out.reserve(size);
  for (auto line : lines) {
    out += line;
    out += "\r\n";
  }
  return out;
}

}  // namespace vornask
