#pragma once

#include <string>

namespace vornask {

// The sixteen values Convert reads from the option controls, already in the
// text form written into the page. Texts are UTF-8; image files are paths as
// the edits show them.
struct TStyleOptions {
  std::string BodyColor;
  std::string TextColor;
  std::string BorderColor;
  std::string TableColor;
  std::string CaptionColor;
  std::string FontSize;
  std::string CaptionFontSize;
  std::string Border;
  std::string CellPadding;
  std::string CellSpacing;
  std::string TableWidth;
  std::string CaptionText;
  bool UseBodyImage = false;
  bool UseTableImage = false;
  std::string BodyImageFile;
  std::string TableImageFile;

  bool operator==(const TStyleOptions&) const = default;
};

}  // namespace vornask
