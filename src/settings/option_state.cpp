#include "settings/option_state.h"

#include <cstdio>

namespace vornask {

const std::array<ColorItem, 20> ColorList = {{
    {"clBlack", 0x000000},   {"clMaroon", 0x800000},     {"clGreen", 0x008000},
    {"clOlive", 0x808000},   {"clNavy", 0x000080},       {"clPurple", 0x800080},
    {"clTeal", 0x008080},    {"clGray", 0x808080},       {"clSilver", 0xC0C0C0},
    {"clRed", 0xFF0000},     {"clLime", 0x00FF00},       {"clYellow", 0xFFFF00},
    {"clBlue", 0x0000FF},    {"clFuchsia", 0xFF00FF},    {"clAqua", 0x00FFFF},
    {"clWhite", 0xFFFFFF},   {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xA6CAF0},
    {"clCream", 0xFFFBF0},   {"clMedGray", 0xA0A0A4},
}};

std::string HtmlColorWord(int index) {
  if (index < 0 || index >= static_cast<int>(ColorList.size())) return "";
  if (index >= 16) {
    // Browsers know no such names and would show another colour than the swatch.
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%06X", static_cast<unsigned>(ColorList[index].rgb));
    return hex;
  }
  return std::string(ColorList[index].itemText.substr(2));
}

std::array<std::string_view, 11> SizeItems(int box, int& count) {
  switch (box) {
    case 1:
    case 2:
      count = 7;
      return {"1", "2", "3", "4", "5", "6", "7"};
    case 6:
      count = 6;
      return {"50", "60", "70", "80", "90", "100"};
    default:
      count = 11;
      return {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
  }
}

TStyleOptions BuildStyleOptions(const OptionState& s) {
  // A size box without a selection reads as index -1, so its number follows
  // the same rule ("0", "-1", "40").
  auto index = [&s](int box) {
    int count = 0;
    SizeItems(box, count);
    const int i = s.sizeIndex[box - 1];
    return (i < 0 || i >= count) ? -1 : i;
  };
  TStyleOptions o;
  o.BodyColor = HtmlColorWord(s.colorIndex[0]);
  o.TextColor = HtmlColorWord(s.colorIndex[1]);
  o.BorderColor = HtmlColorWord(s.colorIndex[2]);
  o.TableColor = HtmlColorWord(s.colorIndex[3]);
  o.CaptionColor = HtmlColorWord(s.colorIndex[4]);
  o.FontSize = std::to_string(index(1) + 1);
  o.CaptionFontSize = std::to_string(index(2) + 1);
  o.Border = std::to_string(index(3));
  o.CellPadding = std::to_string(index(4));
  o.CellSpacing = std::to_string(index(5));
  o.TableWidth = std::to_string(index(6) * 10 + 50);
  o.CaptionText = s.captionText;
  o.UseBodyImage = s.useBodyImage;
  o.UseTableImage = s.useTableImage;
  o.BodyImageFile = s.bodyImageFile;
  o.TableImageFile = s.tableImageFile;
  return o;
}

}  // namespace vornask
