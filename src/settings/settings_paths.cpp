#include "settings/settings_paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "text/files.h"

namespace vornask {

std::string ExeDirPath(std::string_view programFile, PathStyle style) {
  const std::size_t name = FileNameStart(programFile, style);
  std::string dir(programFile.substr(0, name));
  const char sep = Separator(style);
  while (!dir.empty() && dir.back() == sep) dir.pop_back();
  return dir;
}

SettingsLocation ResolveSettings(std::string_view exeDir, std::string_view userConfigHome, PathStyle style) {
  const char sep = Separator(style);
  SettingsLocation where;
  const std::string portable = std::string(exeDir) + sep + "kel";
  if (DirectoryExists(portable) || userConfigHome.empty()) {
    where.dir = portable;
    where.portable = true;
  } else {
    std::string home(userConfigHome);
    while (home.size() > 1 && home.back() == sep) home.pop_back();
    where.dir = home + sep + "vornask" + sep + "kel";
  }
  where.startupFile = where.dir + sep + "kidou.kel";
  return where;
}

std::string UserConfigHome() {
#ifdef _WIN32
  const char* appData = std::getenv("APPDATA");
  return appData ? appData : "";
#else
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return xdg;
  if (const char* home = std::getenv("HOME"); home && home[0] != '\0') return std::string(home) + "/.config";
  return "";
#endif
}

bool EnsureSettingsDir(const SettingsLocation& location) {
  if (location.portable || DirectoryExists(location.dir)) return true;
  std::error_code ec;
  std::filesystem::create_directories(
      std::filesystem::path(std::u8string(location.dir.begin(), location.dir.end())), ec);
  return !ec && DirectoryExists(location.dir);
}

}  // namespace vornask
