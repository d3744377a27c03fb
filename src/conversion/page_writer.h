#pragma once

#include <string>
#include <string_view>

#include "conversion/cell_grid.h"
#include "conversion/style_options.h"
#include "text/paths.h"

namespace vornask {

// Receives the page's bytes in order, in large pieces.
class PageSink {
 public:
  virtual ~PageSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

class StringSink : public PageSink {
 public:
  explicit StringSink(std::string& out) : out_(out) {}
  void Write(std::string_view bytes) override { out_ += bytes; }

 private:
  std::string& out_;
};

// Writes the page: 7 + RowCount x (ColumnCount + 2) lines of Shift_JIS bytes,
// each followed by CR LF. Nothing is escaped: cells go in byte for byte, and
// style texts as given. UTF-8 texts become Shift_JIS; a character Shift_JIS
// cannot hold is written as a character reference in the caption and as
// percent-encoded UTF-8 in an image address.
void WriteHtmlPage(const TCellGrid& grid, const TStyleOptions& options, std::string_view sourcePath,
                   PageSink& sink, PathStyle style = NativePathStyle());

// The head line, always the same.
inline constexpr std::string_view kHeadLine =
    "<html><head><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
    "charset=Shift_JIS\"><title></title></head>";

}  // namespace vornask
