#include "text/paths.h"

namespace vornask {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool HasDriveLetter(std::string_view path) {
  return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// Start of the extension inside the file name (npos when there is none).
std::size_t ExtensionStart(std::string_view path, PathStyle style) {
  const std::size_t name = FileNameStart(path, style);
  const std::size_t dot = path.rfind('.');
  return (dot == std::string_view::npos || dot < name) ? std::string_view::npos : dot;
}

}  // namespace

char Separator(PathStyle style) { return style == PathStyle::Windows ? '\\' : '/'; }

std::string DrivePart(std::string_view path, PathStyle style) {
  if (style == PathStyle::Posix) return (!path.empty() && path[0] == '/') ? "/" : "";
  if (HasDriveLetter(path)) return std::string(path.substr(0, 2));
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // Two backslashes, the server, a backslash and the share.
    std::size_t server_end = path.find('\\', 2);
    if (server_end == std::string_view::npos) return std::string(path);
    std::size_t share_end = path.find('\\', server_end + 1);
    return std::string(path.substr(0, share_end));
  }
  return "";
}

std::size_t FileNameStart(std::string_view path, PathStyle style) {
  const std::size_t at = style == PathStyle::Windows ? path.find_last_of("\\:")
                                                     : path.find_last_of('/');
  return at == std::string_view::npos ? 0 : at + 1;
}

std::vector<std::string_view> FolderNames(std::string_view path, PathStyle style) {
  const std::size_t from = DrivePart(path, style).size();
  const std::size_t to = FileNameStart(path, style);
  std::vector<std::string_view> names;
  const char sep = Separator(style);
  std::size_t i = from;
  while (i < to) {
    std::size_t next = path.find(sep, i);
    if (next == std::string_view::npos || next > to) next = to;
    if (next > i) names.push_back(path.substr(i, next - i));
    i = next + 1;
  }
  return names;
}

bool HasHtmlExtension(std::string_view path, PathStyle style) {
  const std::size_t dot = ExtensionStart(path, style);
  if (dot == std::string_view::npos) return false;
  const std::string_view ext = path.substr(dot);
  return EqualsIgnoringCase(ext, ".html") || EqualsIgnoringCase(ext, ".htm");
}

std::string OutputPath(std::string_view source, PathStyle style) {
  const std::size_t dot = ExtensionStart(source, style);
  std::string out(dot == std::string_view::npos ? source : source.substr(0, dot));
  out += ".html";
  return out;
}

std::string InitialFolder(std::string_view path, PathStyle style) {
  const std::size_t name = FileNameStart(path, style);
  if (style == PathStyle::Windows) {
    if (!HasDriveLetter(path)) return "";
    std::string dir(path.substr(2, name > 2 ? name - 2 : 0));
    while (dir.size() > 1 && dir.back() == '\\') dir.pop_back();
    if (dir.empty()) dir.push_back('\\');
    return std::string(path.substr(0, 2)) + dir;
  }
  std::string dir(path.substr(0, name));
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

bool SameFolderName(std::string_view a, std::string_view b, PathStyle style) {
  return style == PathStyle::Windows ? EqualsIgnoringCase(a, b) : a == b;
}

}  // namespace vornask
