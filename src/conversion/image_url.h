#pragma once

#include <string>
#include <string_view>

#include "text/paths.h"

namespace vornask {

// The address of an image for a page written beside `basePath`: relative when
// both share a drive part, else the image path itself; Windows separators
// become "/". Both paths and the result are UTF-8 text.
std::string RelativeImageUrl(std::string_view basePath, std::string_view imagePath,
                             PathStyle style = NativePathStyle());

}  // namespace vornask
