#include "csv/option_boxes.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "settings/option_state.h"

namespace vornask {
namespace {

class ColorItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool highlighted = option.state & QStyle::State_Selected;
    DrawColorItem(*painter, option.rect, index.data(Qt::UserRole).value<QColor>(),
                  index.data(Qt::DisplayRole).toString(), highlighted, option.palette);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width() + 21, 16);
  }
};

}  // namespace

void DrawColorItem(QPainter& painter, const QRect& rect, const QColor& color, const QString& text,
                   bool highlighted, const QPalette& palette) {
  painter.save();
  painter.fillRect(rect, palette.color(highlighted ? QPalette::Highlight : QPalette::Base));
  const int side = 16;
  const QRect square(rect.left() + 1, rect.top() + (rect.height() - side) / 2 + 1, side - 2, side - 2);
  painter.fillRect(square, color);
  QColor outline = color;
  if (color.red() > 192 || color.green() > 192 || color.blue() > 192) {
    outline = Qt::black;
  } else if (highlighted) {
    outline = Qt::white;
  }
  painter.setPen(outline);
  painter.drawRect(square.adjusted(0, 0, -1, -1));
  painter.setPen(palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text));
  const QRect textRect(square.right() + 1 + 5, rect.top(), rect.right() - square.right() - 5, rect.height());
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
  painter.restore();
}

ColorBox::ColorBox(QWidget* parent) : QComboBox(parent) {
  setItemDelegate(new ColorItemDelegate(this));
  for (const ColorItem& item : ColorList) {
    addItem(QString::fromLatin1(item.itemText.data(), item.itemText.size()));
    setItemData(count() - 1, QColor::fromRgb(item.rgb), Qt::UserRole);
  }
  connect(this, &QComboBox::activated, this, &ColorBox::changed);
}

void ColorBox::Select(int index) {
  const QSignalBlocker block(this);
  setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

void ColorBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  if (currentIndex() >= 0) {
    DrawColorItem(painter, field, currentData(Qt::UserRole).value<QColor>(), currentText(), hasFocus(),
                  palette());
  }
}

SizeBox::SizeBox(int box, QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);  // completion is done here, by the rule below
  int count = 0;
  const auto items = SizeItems(box, count);
  for (int i = 0; i < count; ++i) addItem(QString::fromLatin1(items[i].data(), items[i].size()));
  connect(this, &QComboBox::activated, this, &SizeBox::changed);
  connect(lineEdit(), &QLineEdit::textEdited, this, &SizeBox::TextEdited);
  lineEdit()->installEventFilter(this);
}

void SizeBox::Select(int index) {
  const QSignalBlocker block(this);
  setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

bool SizeBox::eventFilter(QObject* watched, QEvent* event) {
  // Keys reach the text field, not the box: note a deletion before the edit.
  if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    backspace_ = key == Qt::Key_Backspace || key == Qt::Key_Delete;
  }
  return QComboBox::eventFilter(watched, event);
}

void SizeBox::SelectKeepingText(int index) {
  QLineEdit* edit = lineEdit();
  const QString text = edit->text();
  const int cursor = edit->cursorPosition();
  {
    const QSignalBlocker block(this);
    setCurrentIndex(index);
  }
  edit->setText(text);
  edit->setCursorPosition(cursor);
}

void SizeBox::TextEdited(const QString& text) {
  if (backspace_) {
    SelectKeepingText(-1);
    backspace_ = false;
  } else {
    int found = -1;
    for (int i = 0; i < count() && !text.isEmpty(); ++i) {
      if (itemText(i).startsWith(text, Qt::CaseInsensitive)) {
        found = i;
        break;
      }
    }
    if (found >= 0) {
      {
        const QSignalBlocker block(this);
        setCurrentIndex(found);
      }
      // Show the item with the completed rest marked.
      lineEdit()->setText(itemText(found));
      lineEdit()->setSelection(itemText(found).size(), text.size() - itemText(found).size());
    } else {
      SelectKeepingText(-1);
    }
  }
  emit changed();
}

}  // namespace vornask
