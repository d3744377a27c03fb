#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "conversion/convert_file.h"
#include "conversion/page_writer.h"
#include "settings/option_state.h"
#include "test_support.h"
#include "text/lines.h"

namespace vornask {
namespace {

using test::CrLf;
using test::Sjis;

constexpr const char* kSource = "C:\\work\\list.csv";

TStyleOptions WorkedExampleStyle() {
  TStyleOptions o = BuildStyleOptions(OptionState{});
  o.CaptionText = "Sales";
  return o;
}

std::string Page(std::string_view source, const TStyleOptions& o, std::string_view path = kSource,
                 PathStyle style = PathStyle::Windows) {
  return ConvertTextToPage(source, o, path, style);
}

// Line `index` of a page, without its CR LF.
std::string PageLine(const std::string& page, std::size_t index) {
  const auto lines = SplitLines(page);
  return index < lines.size() ? std::string(lines[index]) : "<none>";
}

TEST(PageWriter, WorkedExampleByteForByte) {
  const std::string expected = CrLf({
      "<html><head><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">"
      "<title></title></head>",
      "<body bgcolor=White text=Black>",
      "<center><table border=1 bordercolor=Black width=100% bgcolor=White cellpadding=3 cellspacing=3>",
      "<caption><font color=Black><font size=3>Sales</font size></font color></caption>",
      "<tr>",
      "<td nowrap><font size=3>a</font></td>",
      "<td nowrap><font size=3>b</font></td>",
      "</tr>",
      "<tr>",
      "<td nowrap><font size=3>c</font></td>",
      "<td nowrap><font size=3></font></td>",
      "</tr>",
      "</table></center>",
      "</body>",
      "</html>",
  });
  EXPECT_EQ(kHeadLine.size(), 105u);
  EXPECT_EQ(Page("a,b\r\nc\r\n", WorkedExampleStyle()), expected);
}

TEST(PageWriter, LineCountIsSevenPlusRowsTimesColumnsPlusTwo) {
  const std::pair<std::string, std::size_t> cases[] = {
      {"", 7},              // rows 0: the fixed lines only
      {"\r\n", 7 + 1 * 3},  // one empty cell
      {"a\r\nb,c,d\r\n", 7 + 2 * 5},
      {"x\r\n\r\n", 7 + 2 * 3},  // a final empty row is a row of empty cells
      {std::string(5000, ',') + "\r\na", 7 + 2 * 5003},
  };
  for (const auto& [source, count] : cases) {
    const std::string page = Page(source, WorkedExampleStyle());
    EXPECT_EQ(SplitLines(page).size(), count);
    EXPECT_EQ(page.substr(page.size() - 2), "\r\n");
    EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), static_cast<std::ptrdiff_t>(count));
  }
  const std::string empty = Page("", WorkedExampleStyle());
  EXPECT_EQ(PageLine(empty, 4), "</table></center>");
}

TEST(PageWriter, StyleTextVariants) {
  struct Case {
    const char* what;
    void (*change)(TStyleOptions&);
    std::size_t line;
    std::string expected;
  };
  const Case cases[] = {
      {"empty caption", [](TStyleOptions& o) { o.CaptionText.clear(); }, 3,
       "<caption><font color=Black><font size=3></font size></font color></caption>"},
      {"caption markup", [](TStyleOptions& o) { o.CaptionText = "<b>a&b</b>"; }, 3,
       "<caption><font color=Black><font size=3><b>a&b</b></font size></font color></caption>"},
      {"caption Japanese and euro", [](TStyleOptions& o) { o.CaptionText = "売上€"; }, 3,
       "<caption><font color=Black><font size=3>" + Sjis("売上") +
           "&#x20AC;</font size></font color></caption>"},
      {"no body colour", [](TStyleOptions& o) { o.BodyColor.clear(); }, 1, "<body bgcolor= text=Black>"},
      {"body image without file", [](TStyleOptions& o) { o.UseBodyImage = true; }, 1,
       "<body background=\"\" text=Black>"},
      {"body image", [](TStyleOptions& o) { o.UseBodyImage = true, o.BodyImageFile = "C:\\work\\bg.jpg"; }, 1,
       "<body background=\"bg.jpg\" text=Black>"},
      {"file kept without the flag", [](TStyleOptions& o) { o.BodyImageFile = "C:\\work\\bg.jpg"; }, 1,
       "<body bgcolor=White text=Black>"},
      {"no border selection", [](TStyleOptions& o) { o.Border = "-1"; }, 2,
       "<center><table border=-1 bordercolor=Black width=100% bgcolor=White cellpadding=3 cellspacing=3>"},
      {"table image", [](TStyleOptions& o) { o.UseTableImage = true, o.TableImageFile = "D:\\pics\\t.png"; },
       2,
       "<center><table border=1 bordercolor=Black width=100% background=\"D:/pics/t.png\" cellpadding=3 "
       "cellspacing=3>"},
      {"image in a 0x5C folder",
       [](TStyleOptions& o) { o.UseTableImage = true, o.TableImageFile = "C:\\work\\表\\t.png"; }, 2,
       "<center><table border=1 bordercolor=Black width=100% background=\"" + Sjis("表") +
           "/t.png\" cellpadding=3 cellspacing=3>"},
      {"unencodable path",
       [](TStyleOptions& o) { o.UseBodyImage = true, o.BodyImageFile = "C:\\work\\€ 1.jpg"; }, 1,
       "<body background=\"%E2%82%AC 1.jpg\" text=Black>"},
  };
  for (const auto& c : cases) {
    TStyleOptions o = WorkedExampleStyle();
    c.change(o);
    const std::string page = Page("x\r\n", o);
    EXPECT_EQ(PageLine(page, c.line), c.expected) << c.what;
    EXPECT_EQ(SplitLines(page).size(), 10u) << c.what;
  }
}

TEST(PageWriter, OptionsFromControlsReachThePage) {
  OptionState state;
  state.colorIndex = {16, 17, 18, 19, -1};
  state.sizeIndex = {0, 6, -1, 10, 0, 0};
  const std::string page = Page("c\r\n", BuildStyleOptions(state));
  EXPECT_EQ(PageLine(page, 1), "<body bgcolor=#C0DCC0 text=#A6CAF0>");
  EXPECT_EQ(
      PageLine(page, 2),
      "<center><table border=-1 bordercolor=#FFFBF0 width=50% bgcolor=#A0A0A4 cellpadding=10 cellspacing=0>");
  EXPECT_EQ(PageLine(page, 3), "<caption><font color=><font size=7></font size></font color></caption>");
  EXPECT_EQ(PageLine(page, 5), "<td nowrap><font size=1>c</font></td>");
}

TEST(PageWriter, CellsGoInByteForByte) {
  const std::string cells[] = {"<b>x</b>", "a&b",     Sjis("表ソ能"), "\x80\xA0\xFF", std::string("n\0l", 3),
                               "\xED\x40", "tail\x81"};
  for (const std::string& cell : cells) {
    const std::string page = Page(cell + "\r\n", WorkedExampleStyle());
    EXPECT_EQ(PageLine(page, 5), "<td nowrap><font size=3>" + cell + "</font></td>");
  }
}

TEST(PageWriter, LargePagesArriveWholeAndInOrder) {
  std::string source;
  for (int r = 0; r < 30000; ++r) source += std::to_string(r) + ",x,y\r\n";
  std::vector<std::string> pieces;
  struct Recorder : PageSink {
    std::vector<std::string>& pieces;
    explicit Recorder(std::vector<std::string>& p) : pieces(p) {}
    void Write(std::string_view bytes) override { pieces.emplace_back(bytes); }
  } recorder(pieces);
  ConvertText(source, WorkedExampleStyle(), kSource, recorder, PathStyle::Windows);
  std::string joined;
  for (const auto& p : pieces) joined += p;
  EXPECT_GT(pieces.size(), 1u);
  EXPECT_EQ(joined, Page(source, WorkedExampleStyle()));
  EXPECT_EQ(SplitLines(joined).size(), 7u + 30000u * 5u);
  EXPECT_EQ(PageLine(joined, 4 + 29999 * 5 + 1), "<td nowrap><font size=3>29999</font></td>");
}

}  // namespace
}  // namespace vornask
