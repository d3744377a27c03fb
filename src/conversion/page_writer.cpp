#include "conversion/page_writer.h"

#include "conversion/image_url.h"
#include "text/sjis.h"

namespace vornask {
namespace {

constexpr std::size_t kFlushSize = 1 << 20;

std::string PageText(const std::string& utf8) {
  return sjis::FromUtf8(utf8, sjis::Fallback::CharacterReference);
}

std::string PageUrl(std::string_view base, const std::string& image, PathStyle style) {
  return sjis::FromUtf8(RelativeImageUrl(base, image, style), sjis::Fallback::PercentUtf8);
}

}  // namespace

void WriteHtmlPage(const TCellGrid& grid, const TStyleOptions& o, std::string_view sourcePath,
                   PageSink& sink, PathStyle style) {
  std::string buf;
  buf.reserve(kFlushSize + (1 << 12));
  auto line = [&buf](std::string_view text) {
    buf += text;
    buf += "\r\n";
  };

  line(kHeadLine);
  if (o.UseBodyImage) {
    line("<body background=\"" + PageUrl(sourcePath, o.BodyImageFile, style) + "\" text=" + o.TextColor + ">");
  } else {
    line("<body bgcolor=" + o.BodyColor + " text=" + o.TextColor + ">");
  }
  const std::string tableStart = "<center><table border=" + o.Border + " bordercolor=" + o.BorderColor +
                                 " width=" + o.TableWidth + "%";
  const std::string tableEnd = " cellpadding=" + o.CellPadding + " cellspacing=" + o.CellSpacing + ">";
  if (o.UseTableImage) {
    line(tableStart + " background=\"" + PageUrl(sourcePath, o.TableImageFile, style) + "\"" + tableEnd);
  } else {
    line(tableStart + " bgcolor=" + o.TableColor + tableEnd);
  }
  line("<caption><font color=" + o.CaptionColor + "><font size=" + o.CaptionFontSize + ">" +
       PageText(o.CaptionText) + "</font size></font color></caption>");

  const std::string cellStart = "<td nowrap><font size=" + o.FontSize + ">";
  constexpr std::string_view cellEnd = "</font></td>\r\n";
  const std::int32_t rows = grid.RowCount();
  const std::int32_t columns = grid.ColumnCount();
  for (std::int32_t r = 0; r < rows; ++r) {
    buf += "<tr>\r\n";
    for (std::int32_t c = 0; c < columns; ++c) {
      buf += cellStart;
      buf += grid.CellAt(c, r);
      buf += cellEnd;
      if (buf.size() >= kFlushSize) {
        sink.Write(buf);
        buf.clear();
      }
    }
    buf += "</tr>\r\n";
  }
  line("</table></center>");
  line("</body>");
  line("</html>");
  sink.Write(buf);
}

}  // namespace vornask
