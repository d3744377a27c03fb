#include "conversion/convert_file.h"

#include "conversion/cell_grid.h"
#include "text/lines.h"

namespace vornask {

void ConvertText(std::string_view sourceBytes, const TStyleOptions& options, std::string_view sourcePath,
                 PageSink& sink, PathStyle style) {
  const TCellGrid grid = BuildCellGrid(SplitLines(sourceBytes));
  WriteHtmlPage(grid, options, sourcePath, sink, style);
}

std::string ConvertTextToPage(std::string_view sourceBytes, const TStyleOptions& options,
                              std::string_view sourcePath, PathStyle style) {
  std::string page;
  StringSink sink(page);
  ConvertText(sourceBytes, options, sourcePath, sink, style);
  return page;
}

}  // namespace vornask
