#include "settings/option_lines.h"

#include "settings/text_forms.h"
#include "text/sjis.h"

namespace vornask {
namespace sl = settings_line;

namespace {

// The order ApplyOptionLines and StoreOptionLines walk lines 0 to 10.
struct IndexLine {
  int line;
  bool color;
  int box;
};
constexpr IndexLine kIndexLines[] = {
    {sl::kColorBox1, true, 1},  {sl::kColorBox5, true, 5},  {sl::kColorBox3, true, 3},
    {sl::kColorBox4, true, 4},  {sl::kColorBox2, true, 2},  {sl::kComboBox1, false, 1},
    {sl::kComboBox3, false, 3}, {sl::kComboBox4, false, 4}, {sl::kComboBox5, false, 5},
    {sl::kComboBox6, false, 6}, {sl::kComboBox2, false, 2},
};

int Clamp(int index, int count) { return (index < 0 || index >= count) ? -1 : index; }

}  // namespace

std::string TextToLine(const std::string& utf8) {
  return sjis::FromUtf8(utf8, sjis::Fallback::CharacterReference);
}

std::string LineToText(const std::string& line) {
  return sjis::ExpandCharacterReferences(sjis::DecodeToUtf8(line));
}

namespace {

// Converts line `line` with `parse`, naming the line when it fails.
template <typename Parse>
auto ParseLine(const TSettingsLines& lines, int line, Parse parse) {
  try {
    return parse(lines.ReadLine(line));
  } catch (const SettingsLineFailure&) {
    throw;
  } catch (const Failure& failure) {
    throw SettingsLineFailure(failure.what(), line);
  }
}

}  // namespace

void ApplyOptionLines(const TSettingsLines& lines, IOptionControls& controls) {
  for (const IndexLine& step : kIndexLines) {
    const int index = ParseLine(lines, step.line, ParseInteger);
    if (step.color) {
      controls.SelectColor(step.box, index);
    } else {
      controls.SelectSize(step.box, index);
    }
  }
  const bool body = ParseLine(lines, sl::kCheckBox1, ParseFlag);
  controls.SetChecked(1, body);
  const bool table = ParseLine(lines, sl::kCheckBox2, ParseFlag);
  controls.SetChecked(2, table);
  controls.SetBodyImagePath(LineToText(lines.ReadLine(sl::kBodyImagePath)));
  controls.SetTableImagePath(LineToText(lines.ReadLine(sl::kTableImagePath)));
  controls.SetCaptionText(LineToText(lines.ReadLine(sl::kCaption)));
}

void StoreOptionLines(TSettingsLines& lines, const IOptionControls& controls) {
  for (const IndexLine& step : kIndexLines) {
    const int index = step.color ? controls.ColorIndex(step.box) : controls.SizeIndex(step.box);
    lines.WriteLine(step.line, FormatInteger(index));
  }
  lines.WriteLine(sl::kCheckBox1, FormatFlag(controls.Checked(1)));
  lines.WriteLine(sl::kCheckBox2, FormatFlag(controls.Checked(2)));
  lines.WriteLine(sl::kBodyImagePath, TextToLine(controls.BodyImagePath()));
  lines.WriteLine(sl::kTableImagePath, TextToLine(controls.TableImagePath()));
  lines.WriteLine(sl::kCaption, TextToLine(controls.CaptionText()));
}

void ApplyEditorFontLines(const TSettingsLines& lines, IEditorFont& font) {
  font.SetSizePoints(ParseLine(lines, sl::kFontSize, ParseInteger));
  std::string name = lines.ReadLine(sl::kFontName);
  if (!name.empty()) {
    // At most 31 bytes, never half a double-byte character.
    std::size_t keep = 0;
    for (std::size_t i = 0; i < name.size();) {
      const std::size_t len =
          (sjis::IsLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) ? 2 : 1;
      if (i + len > 31) break;
      i += len;
      keep = i;
    }
    name.resize(keep);
    font.SetName(LineToText(name));
  }
  const int red = ParseLine(lines, sl::kFontRed, ParseInteger);
  const int green = ParseLine(lines, sl::kFontGreen, ParseInteger);
  const int blue = ParseLine(lines, sl::kFontBlue, ParseInteger);
  font.SetColor(red & 0xFF, green & 0xFF, blue & 0xFF);
}

void StoreEditorFontLines(TSettingsLines& lines, int sizePoints, const std::string& nameUtf8,
                          std::uint32_t colorValue) {
  lines.WriteLine(sl::kFontSize, FormatInteger(sizePoints));
  lines.WriteLine(sl::kFontName, TextToLine(nameUtf8));
  lines.WriteLine(sl::kFontRed, FormatInteger(colorValue & 0xFF));
  lines.WriteLine(sl::kFontGreen, FormatInteger((colorValue >> 8) & 0xFF));
  lines.WriteLine(sl::kFontBlue, FormatInteger((colorValue >> 16) & 0xFF));
}

void OptionStateControls::SelectColor(int box, int index) {
  state.colorIndex[box - 1] = Clamp(index, static_cast<int>(ColorList.size()));
}

void OptionStateControls::SelectSize(int box, int index) {
  int count = 0;
  SizeItems(box, count);
  state.sizeIndex[box - 1] = Clamp(index, count);
}

TSettingsLines DefaultSettingsLines() {
  TSettingsLines lines;
  StoreOptionLines(lines, OptionStateControls{});
  // The design font: "ＭＳ Ｐゴシック", 9 points, the window-text colour.
  StoreEditorFontLines(lines, 9, "ＭＳ Ｐゴシック", 0x80000008u);
  return lines;
}

}  // namespace vornask
