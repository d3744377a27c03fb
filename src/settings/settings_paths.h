#pragma once

#include <string>
#include <string_view>

#include "text/paths.h"

namespace vornask {

// The program's own folder without a trailing separator. Windows: the drive
// and the folder ("C:\Tools\conv", "C:" in a root); POSIX: the folder ("" in
// the root).
std::string ExeDirPath(std::string_view programFile, PathStyle style = NativePathStyle());

// Where the settings live: "kel" beside the program when that folder exists
// (portable use), else "vornask/kel" in the user's configuration folder.
struct SettingsLocation {
  std::string dir;          // SettingsDir
  std::string startupFile;  // StartupSettingsFile: dir + "kidou.kel"
  bool portable = false;    // the folder beside the program; never created
};

SettingsLocation ResolveSettings(std::string_view exeDir, std::string_view userConfigHome,
                                 PathStyle style = NativePathStyle());

// The user's configuration folder: $XDG_CONFIG_HOME, else $HOME/.config
// (%APPDATA% on Windows). Empty when none is known.
std::string UserConfigHome();

// Creates the settings folder when it is the per-user one and missing; a
// portable folder is never created. Returns false when it could not be made.
bool EnsureSettingsDir(const SettingsLocation& location);

}  // namespace vornask
