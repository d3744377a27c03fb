#pragma once

#include <QComboBox>

namespace vornask {

// A drop-down list of the twenty colours, each item drawn as a swatch and its
// text. Only a user's choice reports a change.
class ColorBox : public QComboBox {
  Q_OBJECT

 public:
  explicit ColorBox(QWidget* parent = nullptr);
  // Selects an index; one outside the list leaves no item selected.
  void Select(int index);

 signals:
  void changed();

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// An editable drop-down of numbers whose typed text completes to the first
// item that begins with it. Every user edit reports a change; the index is
// the only thing read.
class SizeBox : public QComboBox {
  Q_OBJECT

 public:
  SizeBox(int box, QWidget* parent = nullptr);
  void Select(int index);

 signals:
  void changed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void TextEdited(const QString& text);
  void SelectKeepingText(int index);

  bool backspace_ = false;
};

// Draws a colour item: a square the item's height, shrunk by one pixel, filled
// with the colour and outlined black when any component exceeds 192, else in
// white when highlighted and in its own colour when not; the text 5 pixels on.
void DrawColorItem(QPainter& painter, const QRect& rect, const QColor& color, const QString& text,
                   bool highlighted, const QPalette& palette);

}  // namespace vornask
