#pragma once

#include <string>
#include <string_view>
#include <vector>

// Path rules on UTF-8 path text. Only ASCII bytes ("\", "/", ":", ".") carry
// meaning, so the second byte of a double-byte character is never a separator.
namespace vornask {

enum class PathStyle { Windows, Posix };

constexpr PathStyle NativePathStyle() {
#ifdef _WIN32
  return PathStyle::Windows;
#else
  return PathStyle::Posix;
#endif
}

char Separator(PathStyle style);

// Windows: "C:" for a drive path, "\\server\share" for a network path, else
// empty. POSIX: "/" for an absolute path, else empty.
std::string DrivePart(std::string_view path, PathStyle style);

// Where the file name begins: after the last separator (or drive colon).
std::size_t FileNameStart(std::string_view path, PathStyle style);

// The folder names between the drive part and the file name, empty ones left out.
std::vector<std::string_view> FolderNames(std::string_view path, PathStyle style);

// Whether the path's extension is ".html" or ".htm", in any letter case.
bool HasHtmlExtension(std::string_view path, PathStyle style = NativePathStyle());

// The page written for a source: its folder, a separator and its name with the
// extension (from the name's last ".") replaced by ".html", or ".html" added.
std::string OutputPath(std::string_view source, PathStyle style = NativePathStyle());

// The folder a save dialog opens in for a document path: Windows "C:\data"
// ("C:\" for the root, empty without a drive letter); POSIX "/data" ("/").
std::string InitialFolder(std::string_view path, PathStyle style = NativePathStyle());

// Whether two folder names are the same: letter case ignored on Windows.
bool SameFolderName(std::string_view a, std::string_view b, PathStyle style);

}  // namespace vornask
