#pragma once

#include <string>
#include <string_view>

#include "conversion/page_writer.h"

namespace vornask {

// The whole conversion of a comma-separated text: its lines become rows, the
// rows a grid, the grid the page.
void ConvertText(std::string_view sourceBytes, const TStyleOptions& options, std::string_view sourcePath,
                 PageSink& sink, PathStyle style = NativePathStyle());

std::string ConvertTextToPage(std::string_view sourceBytes, const TStyleOptions& options,
                              std::string_view sourcePath, PathStyle style = NativePathStyle());

}  // namespace vornask
