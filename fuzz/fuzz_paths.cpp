// Path rules in both styles: no crash, the pieces agree with each other, and
// a relative image address leads from the page's folder to the image.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/image_url.h"
#include "settings/settings_paths.h"
#include "text/paths.h"

namespace {

using vornask::PathStyle;

void Check(bool ok) {
  if (!ok) std::abort();
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

// Folder names with "." dropped and ".." taking one away, as a file system
// would walk them.
std::vector<std::string> Walk(const std::vector<std::string>& names, bool ignoreCase) {
  std::vector<std::string> out;
  for (const std::string& n : names) {
    if (n == ".") continue;
    if (n == "..") {
      if (!out.empty()) out.pop_back();
      continue;
    }
    out.push_back(ignoreCase ? Lower(n) : n);
  }
  return out;
}

std::vector<std::string> Split(std::string_view s, char sep) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (true) {
    const std::size_t j = s.find(sep, i);
    out.emplace_back(s.substr(i, j == std::string_view::npos ? std::string_view::npos : j - i));
    if (j == std::string_view::npos) break;
    i = j + 1;
  }
  return out;
}

bool HasDotFolder(const std::vector<std::string_view>& names) {
  return std::any_of(names.begin(), names.end(), [](std::string_view n) { return n == "." || n == ".."; });
}

void CheckOne(std::string_view path, PathStyle style) {
  const char sep = vornask::Separator(style);
  const std::size_t nameStart = vornask::FileNameStart(path, style);
  Check(nameStart <= path.size());
  const std::string_view name = path.substr(nameStart);
  Check(name.find(sep) == std::string_view::npos);
  if (style == PathStyle::Windows) Check(name.find(':') == std::string_view::npos);

  const std::string drive = vornask::DrivePart(path, style);
  Check(path.substr(0, drive.size()) == drive);
  for (std::string_view folder : vornask::FolderNames(path, style)) {
    Check(!folder.empty());
    Check(folder.find(sep) == std::string_view::npos);
  }

  // The page lands in the source's folder, under a name ending in ".html".
  const std::string out = vornask::OutputPath(path, style);
  Check(out.size() >= 5 && out.compare(out.size() - 5, 5, ".html") == 0);
  Check(out.compare(0, nameStart, path.substr(0, nameStart)) == 0);
  Check(vornask::FileNameStart(out, style) == nameStart);
  Check(vornask::HasHtmlExtension(out, style));

  const std::string initial = vornask::InitialFolder(path, style);
  if (style == PathStyle::Windows) {
    const bool drivePath = drive.size() == 2 && drive[1] == ':';
    Check(initial.empty() != drivePath);
    if (drivePath) Check(initial.compare(0, 2, drive) == 0 && initial.size() >= 3);
  } else {
    Check(path.compare(0, initial.size(), initial) == 0);
  }
  const std::string exeDir = vornask::ExeDirPath(path, style);
  Check(exeDir.size() <= nameStart);
}

void CheckImageUrl(std::string_view base, std::string_view image, PathStyle style) {
  const std::string url = vornask::RelativeImageUrl(base, image, style);
  const bool windows = style == PathStyle::Windows;
  if (image.empty()) {
    Check(url.empty());
    return;
  }
  std::string imageShown(image);
  if (windows) std::replace(imageShown.begin(), imageShown.end(), '\\', '/');
  const std::string baseDrive = vornask::DrivePart(base, style);
  const std::string imageDrive = vornask::DrivePart(image, style);
  const bool sameDrive = windows ? Lower(baseDrive) == Lower(imageDrive) : baseDrive == imageDrive;
  if (!sameDrive) {
    // Another drive, or an image given without one: its full text.
    Check(url == imageShown);
    return;
  }
  // Relative: never from the root (a Windows name may hold "/" itself),
  // ending in the image's file name.
  if (!windows) Check(url.empty() || url[0] != '/');
  const std::string_view name = image.substr(vornask::FileNameStart(image, style));
  Check(url.size() >= name.size());
  std::string nameShown(name);
  Check(url.compare(url.size() - name.size(), name.size(), nameShown) == 0);

  // Where it leads: the base's folder walked by the address must be the
  // image's folder. Only for names that a walk reads as they are written.
  const auto baseFolders = vornask::FolderNames(base, style);
  const auto imageFolders = vornask::FolderNames(image, style);
  if (HasDotFolder(baseFolders) || HasDotFolder(imageFolders)) return;
  if (windows) {
    // "/" would split a Windows name in the address; ":" past the drive
    // (a stream name) is not a folder separator in the rules.
    const auto odd = [](std::string_view p) {
      return p.find('/') != std::string_view::npos || p.find(':', 2) != std::string_view::npos;
    };
    if (odd(base) || odd(image)) return;
  }
  std::vector<std::string> walked(baseFolders.begin(), baseFolders.end());
  std::vector<std::string> parts = Split(url, '/');
  parts.pop_back();  // the file name
  walked.insert(walked.end(), parts.begin(), parts.end());
  std::vector<std::string> target(imageFolders.begin(), imageFolders.end());
  Check(Walk(walked, windows) == Walk(target, windows));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string base = in.ConsumeRandomLengthString(512);
  const std::string image = in.ConsumeRemainingBytesAsString();
  for (PathStyle style : {PathStyle::Windows, PathStyle::Posix}) {
    CheckOne(base, style);
    CheckOne(image, style);
    CheckImageUrl(base, image, style);
  }
  return 0;
}
