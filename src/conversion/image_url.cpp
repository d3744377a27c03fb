#include "conversion/image_url.h"

#include <algorithm>

namespace vornask {

std::string RelativeImageUrl(std::string_view basePath, std::string_view imagePath, PathStyle style) {
  if (imagePath.empty()) return "";
  std::string relative;
  const std::string baseDrive = DrivePart(basePath, style);
  const std::string imageDrive = DrivePart(imagePath, style);
  if (!SameFolderName(baseDrive, imageDrive, style)) {
    relative = std::string(imagePath);
  } else {
    const auto baseFolders = FolderNames(basePath, style);
    const auto imageFolders = FolderNames(imagePath, style);
    std::size_t common = 0;
    while (common < baseFolders.size() && common < imageFolders.size() &&
           SameFolderName(baseFolders[common], imageFolders[common], style))
      ++common;
    const char sep = Separator(style);
    for (std::size_t i = common; i < baseFolders.size(); ++i) {
      relative += "..";
      relative += sep;
    }
    for (std::size_t i = common; i < imageFolders.size(); ++i) {
      relative += imageFolders[i];
      relative += sep;
    }
    relative += imagePath.substr(FileNameStart(imagePath, style));
  }
  if (style == PathStyle::Windows) std::replace(relative.begin(), relative.end(), '\\', '/');
  return relative;
}

}  // namespace vornask
