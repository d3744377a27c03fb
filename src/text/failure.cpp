#include "text/failure.h"

namespace vornask {

std::string FormatMessage(std::string_view pattern, std::string_view argument) {
  std::string out(pattern);
  if (auto at = out.find("%s"); at != std::string::npos) out.replace(at, 2, argument);
  return out;
}

std::string CannotOpenMessage(std::string_view path) {
  return FormatMessage("ファイル %s は開けません", path);
}

std::string CannotCreateMessage(std::string_view path) {
  return FormatMessage("ファイル %s を作成できません", path);
}

}  // namespace vornask
