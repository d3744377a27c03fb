#pragma once

#include <cstdint>
#include <string>

#include "settings/option_state.h"
#include "settings/settings_lines.h"
#include "text/failure.h"

namespace vornask {

// Line numbers of the settings buffer.
namespace settings_line {
inline constexpr int kColorBox1 = 0, kColorBox5 = 1, kColorBox3 = 2, kColorBox4 = 3, kColorBox2 = 4;
inline constexpr int kComboBox1 = 5, kComboBox3 = 6, kComboBox4 = 7, kComboBox5 = 8, kComboBox6 = 9,
                     kComboBox2 = 10;
inline constexpr int kCheckBox1 = 11, kCheckBox2 = 12, kBodyImagePath = 13, kTableImagePath = 14,
                     kCaption = 15;
inline constexpr int kFontSize = 16, kFontName = 17, kFontRed = 18, kFontGreen = 19, kFontBlue = 20;
// The line of ColorBoxN (index N-1) and of ComboBoxN.
inline constexpr int kColorBoxLine[5] = {kColorBox1, kColorBox2, kColorBox3, kColorBox4, kColorBox5};
inline constexpr int kComboBoxLine[6] = {kComboBox1, kComboBox2, kComboBox3, kComboBox4, kComboBox5, kComboBox6};
}  // namespace settings_line

// The option controls as the settings lines see them. Boxes are numbered as
// the controls are (ColorBox1..5, ComboBox1..6, CheckBox1..2). Texts are UTF-8.
class IOptionControls {
 public:
  virtual ~IOptionControls() = default;
  virtual int ColorIndex(int box) const = 0;
  virtual void SelectColor(int box, int index) = 0;  // runs no handler
  virtual int SizeIndex(int box) const = 0;
  virtual void SelectSize(int box, int index) = 0;  // runs no handler
  virtual bool Checked(int box) const = 0;
  // Runs the box's click handler, before returning, when the state changes.
  virtual void SetChecked(int box, bool checked) = 0;
  virtual std::string CaptionText() const = 0;
  // Runs the caption's change handler, before returning, when the text changes.
  virtual void SetCaptionText(const std::string& text) = 0;
  virtual std::string BodyImagePath() const = 0;
  virtual void SetBodyImagePath(const std::string& path) = 0;
  virtual std::string TableImagePath() const = 0;
  virtual void SetTableImagePath(const std::string& path) = 0;
};

// Text lines hold Shift_JIS; a character it cannot hold is kept as "&#xHHHH;".
std::string TextToLine(const std::string& utf8);
std::string LineToText(const std::string& line);

// A line that does not hold its text form; `line` is its number from 0.
class SettingsLineFailure : public Failure {
 public:
  SettingsLineFailure(const std::string& message, int line) : Failure(message), line(line) {}
  int line;
};

// Applies lines 0 to 15 in their fixed order. Each step converts its line
// before touching its control; a failed conversion throws and ends the apply.
// Handlers run by SetChecked/SetCaptionText may use `lines` meanwhile.
void ApplyOptionLines(const TSettingsLines& lines, IOptionControls& controls);

// Writes lines 0 to 15 from the controls and the stored image paths.
void StoreOptionLines(TSettingsLines& lines, const IOptionControls& controls);

// The editor font as lines 16 to 20 describe it.
class IEditorFont {
 public:
  virtual ~IEditorFont() = default;
  virtual void SetSizePoints(int points) = 0;
  virtual void SetName(const std::string& utf8) = 0;
  virtual void SetColor(int red, int green, int blue) = 0;
};

// Size (line 16), then name (17, empty keeps the name, cut to 31 bytes), then
// colour (18 to 20, all converted first, lowest 8 bits each).
void ApplyEditorFontLines(const TSettingsLines& lines, IEditorFont& font);

// Lines 16 to 20: size, name, and the lowest three bytes of a colour value.
void StoreEditorFontLines(TSettingsLines& lines, int sizePoints, const std::string& nameUtf8,
                          std::uint32_t colorValue);

// The option controls as plain state, for callers without widgets (the
// command-line converter). Handlers do nothing.
class OptionStateControls : public IOptionControls {
 public:
  OptionState state;
  std::string bodyImagePath;
  std::string tableImagePath;

  int ColorIndex(int box) const override { return state.colorIndex[box - 1]; }
  void SelectColor(int box, int index) override;
  int SizeIndex(int box) const override { return state.sizeIndex[box - 1]; }
  void SelectSize(int box, int index) override;
  bool Checked(int box) const override { return box == 1 ? state.useBodyImage : state.useTableImage; }
  void SetChecked(int box, bool checked) override { (box == 1 ? state.useBodyImage : state.useTableImage) = checked; }
  std::string CaptionText() const override { return state.captionText; }
  void SetCaptionText(const std::string& text) override { state.captionText = text; }
  std::string BodyImagePath() const override { return bodyImagePath; }
  void SetBodyImagePath(const std::string& path) override { bodyImagePath = path; }
  std::string TableImagePath() const override { return tableImagePath; }
  void SetTableImagePath(const std::string& path) override { tableImagePath = path; }
};

// The lines a named save of the default controls writes, with the design
// font's lines: what a startup settings file starts as.
TSettingsLines DefaultSettingsLines();

}  // namespace vornask
