#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "conversion/style_options.h"

namespace vornask {

struct ColorItem {
  std::string_view itemText;  // "clWhite"
  std::uint32_t rgb;          // 0xRRGGBB
};

// The twenty colours of every colour box, in list order.
extern const std::array<ColorItem, 20> ColorList;

// The word written into the page for a colour index; empty without a
// selection. Indexes 16 to 19 have no HTML name and are written in hex.
std::string HtmlColorWord(int index);

// Item texts of the size boxes, ComboBox1 to ComboBox6.
std::array<std::string_view, 11> SizeItems(int box, int& count);

// The option controls' state without widgets: indexes (-1 = no selection),
// check states and texts (UTF-8).
struct OptionState {
  std::array<int, 5> colorIndex{15, 0, 0, 15, 0};  // ColorBox1..ColorBox5
  std::array<int, 6> sizeIndex{2, 2, 1, 3, 3, 5};  // ComboBox1..ComboBox6
  bool useBodyImage = false;                        // CheckBox1
  bool useTableImage = false;                       // CheckBox2
  std::string captionText;                          // LabeledEdit1
  std::string bodyImageFile;                        // Edit1
  std::string tableImageFile;                       // Edit2

  bool operator==(const OptionState&) const = default;
};

// Builds the page's style texts from the controls' state.
TStyleOptions BuildStyleOptions(const OptionState& state);

}  // namespace vornask
