// The window: controls at their designed places, menus, dialogs and bindings.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "csv/option_boxes.h"
#include "csv/tform1.h"
#include "csv/web_preview.h"
#include "text/failure.h"

namespace vornask {
namespace {

const QString kDesignFace = QStringLiteral("ＭＳ Ｐゴシック");

// The design font: 12 pixels high, 9 points at 96 dpi.
QFont DesignFont() {
  QFont font(kDesignFace);
  font.setPointSize(9);
  return font;
}

// A control made with its designed name and place.
template <typename T, typename... Args>
T* Placed(QWidget* parent, const char* name, const QRect& place, Args&&... args) {
  auto* control = new T(std::forward<Args>(args)..., parent);
  control->setObjectName(name);
  control->setGeometry(place);
  return control;
}

QFrame* Bevel(QWidget* parent, const char* name, int left, int top, int width, int height, bool box) {
  auto* frame = new QFrame(parent);
  frame->setObjectName(name);
  frame->setFrameShape(box ? QFrame::Panel : QFrame::Box);
  frame->setFrameShadow(QFrame::Sunken);
  frame->setGeometry(left, top, width, height);
  frame->setAttribute(Qt::WA_TransparentForMouseEvents);
  return frame;
}

}  // namespace

QString ProgramTitleFor(const QString& programFile) {
  QString name = QFileInfo(programFile).fileName();
  name = name.left(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
  if (name.size() > 1) name = name.left(1) + name.mid(1).toLower();
  return name;
}

QString FailureText(const QString& message) {
  if (!message.isEmpty() && message.back().unicode() > u'.') return message + ".";
  return message;
}

TForm1::TForm1(FormEnvironment environment, QWidget* parent)
    : QMainWindow(parent), env_(std::move(environment)) {
  setObjectName("Form1");
  dialogs_ = env_.dialogs ? env_.dialogs : std::make_shared<QtDialogs>(this);
  programTitle_ = ProgramTitleFor(QString::fromStdString(env_.programFile));
  // The design face is kept by name; the platform draws a Japanese face for it.
  QFont::insertSubstitutions(kDesignFace, {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"});
  setFont(DesignFont());
  setWindowTitle(QString());
  setAcceptDrops(true);
  CreateControls();
  CreateMenus();
  CreateDialogs();
  BindCommands();
  // Outer size 640 x 486 at 96 dpi: a client area of 632 x 440 below the menu.
  resize(632, 440 + menuBar()->sizeHint().height());
  Guarded([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

QPushButton* TForm1::ToolButton(const char* name, const QString& caption, int left, int width) {
  auto* button = new QPushButton(caption, central_);
  button->setObjectName(name);
  button->setGeometry(left, 0, width, 25);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

QLabel* TForm1::DesignLabel(const char* name, const QString& text, int left, int top, int width, int height) {
  auto* label = new QLabel(text, central_);
  label->setObjectName(name);
  label->setGeometry(left, top, width, height);
  // Sized to its text, as labels size themselves, and ending where designed,
  // so that a wider face never cuts it or pushes it onto its control.
  const int needed = label->fontMetrics().horizontalAdvance(text) + 2;
  if (needed > width) label->setGeometry(left + width - needed, top, needed, height);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

void TForm1::CreateControls() {
  central_ = new QWidget(this);
  central_->setObjectName("ClientArea");
  central_->setAutoFillBackground(true);
  central_->setBackgroundRole(QPalette::Button);
  setCentralWidget(central_);

  ToolButton("Button7", "新規作成", 8, 73);
  ToolButton("Button1", "開く", 88, 57);
  ToolButton("Button10", "上書き", 152, 57);
  ToolButton("Button3", "保存", 216, 57);
  ToolButton("Button2", "HTMLに変換", 280, 97);
  ToolButton("Button9", "戻る", 384, 57);
  ToolButton("Button5", "設定読み込み", 464, 81);
  ToolButton("Button6", "設定保存", 552, 73);

  auto* panel = new QFrame(central_);
  panel->setObjectName("Panel1");
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setLineWidth(1);
  panel->setGeometry(8, 32, 616, 257);
  Splitter1 = new QSplitter(Qt::Horizontal, panel);
  Splitter1->setObjectName("Splitter1");
  Splitter1->setGeometry(1, 1, 614, 255);
  Splitter1->setHandleWidth(10);
  Splitter1->setChildrenCollapsible(true);
  RichEdit1 = new QPlainTextEdit(Splitter1);
  RichEdit1->setObjectName("RichEdit1");
  RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
  RichEdit1->setTabChangesFocus(false);
  RichEdit1->setFocusPolicy(Qt::ClickFocus);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  RichEdit1->setFont(DesignFont());
  RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
  RichEdit1->viewport()->installEventFilter(this);
  WebBrowser1 = CreateWebPreview(Splitter1, this);
  WebBrowser1->setObjectName("WebBrowser1");
  Splitter1->setSizes({312, 292});
  connect(WebBrowser1->page(), &QWebEnginePage::loadingChanged, this, &TForm1::PreviewLoading);

  Bevel(central_, "Bevel4", 8, 296, 617, 121, false);
  Bevel(central_, "Bevel1", 8, 296, 161, 89, true);
  Bevel(central_, "Bevel3", 448, 296, 177, 89, false);
  Bevel(central_, "Bevel2", 8, 384, 305, 33, true);

  struct BoxPlace {
    const char* name;
    const char* label;
    const char* labelName;
    int labelLeft, labelTop, labelWidth, left, top;
  };
  const BoxPlace colors[5] = {
      {"ColorBox1", "body bg", "Label1", 24, 312, 40, 64, 304},
      {"ColorBox2", "body text", "Label2", 16, 336, 48, 64, 328},
      {"ColorBox3", "table border", "Label3", 184, 312, 61, 248, 304},
      {"ColorBox4", "table bg", "Label4", 208, 336, 41, 248, 328},
      {"ColorBox5", "caption text", "Label12", 456, 312, 61, 520, 304},
  };
  const int defaults[5] = {15, 0, 0, 15, 0};
  for (int i = 0; i < 5; ++i) {
    const BoxPlace& p = colors[i];
    DesignLabel(p.labelName, p.label, p.labelLeft, p.labelTop, p.labelWidth, 12);
    auto* box = Placed<ColorBox>(central_, p.name, {p.left, p.top, 97, 22});
    box->Select(defaults[i]);
    ColorBoxes_[i] = box;
  }
  const BoxPlace sizes[6] = {
      {"ComboBox1", "body font size", "Label5", 48, 360, 72, 120, 352},
      {"ComboBox2", "caption font size", "Label13", 488, 336, 85, 576, 328},
      {"ComboBox3", "border", "Label8", 368, 312, 32, 400, 304},
      {"ComboBox4", "padding", "Label9", 360, 336, 39, 400, 328},
      {"ComboBox5", "spacing", "Label10", 360, 360, 39, 400, 352},
      {"ComboBox6", "table width(%)", "Label11", 224, 360, 70, 296, 354},
  };
  const OptionState initial;
  for (int i = 0; i < 6; ++i) {
    const BoxPlace& p = sizes[i];
    DesignLabel(p.labelName, p.label, p.labelLeft, p.labelTop, p.labelWidth, 12);
    auto* box = Placed<SizeBox>(central_, p.name, {p.left, p.top, i == 5 ? 49 : 41, 20}, i + 1);
    box->Select(initial.sizeIndex[i]);
    ComboBoxes_[i] = box;
  }

  DesignLabel("LabeledEdit1Label", "caption", 456, 353, 37, 12)->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  LabeledEdit1 = Placed<QLineEdit>(central_, "LabeledEdit1", {456, 368, 161, 20});
  CheckBox1 = Placed<QCheckBox>(central_, "CheckBox1", {8, 392, 17, 17});
  Button8 = Placed<QPushButton>(central_, "Button8", {24, 384, 73, 25}, "background");
  Edit1 = Placed<QLineEdit>(central_, "Edit1", {96, 392, 209, 20});
  CheckBox2 = Placed<QCheckBox>(central_, "CheckBox2", {320, 392, 17, 17});
  Button4 = Placed<QPushButton>(central_, "Button4", {336, 384, 73, 25}, "background");
  Edit2 = Placed<QLineEdit>(central_, "Edit2", {408, 392, 209, 20});
  DesignLabel("Label6", QString(), 8, 408, 4, 12);
  DesignLabel("Label7", QString(), 320, 408, 4, 12);

  // The Tab key visits exactly these 18 controls, in this order.
  QWidget* order[] = {ColorBoxes_[0], ColorBoxes_[1], ComboBoxes_[0], ColorBoxes_[2], ColorBoxes_[3],
                      ComboBoxes_[5], ComboBoxes_[2], ComboBoxes_[3], ComboBoxes_[4], ColorBoxes_[4],
                      ComboBoxes_[1], LabeledEdit1,   CheckBox1,      Button8,        Edit1,
                      CheckBox2,      Button4,        Edit2};
  for (QWidget* w : order) w->setFocusPolicy(Qt::StrongFocus);
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  auto* status = new QStatusBar(this);
  status->setObjectName("StatusBar1");
  status->setSizeGripEnabled(true);
  status->setFixedHeight(20);
  setStatusBar(status);
}

void TForm1::CreateMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");
  auto item = [this](QMenu* menu, const char* name, const QString& caption, std::function<void()> handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, handler] { Guarded(handler); });
    return action;
  };
  auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };
  auto menu = [bar](const char* name, const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(QString(name) + "Item");
    return m;
  };
  auto empty = [bar] { bar->addAction(QString())->setEnabled(false); };

  QMenu* file = menu("File1", "ファイル(&F)");
  item(file, "New1", "新規作成(&N)", [this] { Button7Click(); });
  item(file, "Open1", "開く(&O)...", [this] { Button1Click(); });
  separator(file, "N2");
  item(file, "HTML2", "HTMLに変換(&H)", [this] { Button2Click(); });
  separator(file, "N6");
  item(file, "N5", "上書き保存(&S)", [this] { Button10Click(); });
  item(file, "SaveAs1", "名前をつけて保存(&A)...", [this] { Button3Click(); });
  empty();
  QMenu* edit = menu("Edit3", "編集(&E)");
  item(edit, "Undo2", "元に戻す(&U)", [this] { Undo1Click(); });
  separator(edit, "N7");
  item(edit, "Cut2", "切り取り(&T)", [this] { Cut1Click(); });
  item(edit, "Copy2", "コピー(&C)", [this] { Copy1Click(); });
  item(edit, "Paste2", "貼り付け(&P)", [this] { Paste1Click(); });
  item(edit, "Delete2", "削除(&D)", [this] { Delete1Click(); });
  separator(edit, "N8");
  item(edit, "SelectAll1", "すべて選択(&A)", [this] { N4Click(); });
  empty();
  QMenu* settings = menu("N1", "設定(&Z)");
  item(settings, "Open2", "読み込み(&L)", [this] { Button5Click(); });
  item(settings, "Save2", "保存(&S)", [this] { Button6Click(); });
  empty();
  QMenu* view = menu("Font1", "表示(&V)");
  item(view, "U1", "戻る(&U)", [this] { Button9Click(); });
  separator(view, "N9");
  item(view, "N3", "フォント(&F)", [this] { N3Click(); });
  empty();
  QMenu* help = menu("Help1", "ヘルプ(&H)");
  item(help, "About1", "バージョン情報(&A)", [this] { About1Click(); });

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  item(PopupMenu1, "Undo1", "元に戻す(&U)", [this] { Undo1Click(); });
  separator(PopupMenu1, "N10");
  item(PopupMenu1, "Cut1", "切り取り(&T)", [this] { Cut1Click(); });
  item(PopupMenu1, "Copy1", "コピー(&C)", [this] { Copy1Click(); });
  item(PopupMenu1, "Paste1", "貼り付け(&P)", [this] { Paste1Click(); });
  item(PopupMenu1, "Delete1", "削除(&D)", [this] { Delete1Click(); });
  separator(PopupMenu1, "N11");
  item(PopupMenu1, "N4", "すべて選択(&A)", [this] { N4Click(); });
  connect(RichEdit1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(RichEdit1->viewport()->mapToGlobal(at)); });
}

void TForm1::CreateDialogs() {
  const QString documents = "(*.csv;*.txt)|*.csv;*.txt|(*.html;*.htm)|*.html;*.htm";
  const QString images = "(*.jpg;*.jpeg)|*.jpg;*.jpeg|(*.bmp)|*.bmp|(*.gif)|*.gif|(*.png)|*.png";
  const QString settings = "設定ファイル(*.kel)|*.kel";
  auto dialog = [](const char* name, const QString& filter, bool save) {
    FileDialogState d;
    d.name = name;
    d.filter = filter;
    d.save = save;
    return d;
  };
  OpenDialog1 = dialog("OpenDialog1", documents, false);
  SaveDialog1 = dialog("SaveDialog1", documents, true);
  OpenDialog2 = dialog("OpenDialog2", images, false);
  OpenDialog3 = dialog("OpenDialog3", images, false);
  OpenDialog4 = dialog("OpenDialog4", settings, false);
  SaveDialog2 = dialog("SaveDialog2", settings, true);
  FontDialog1.font = DesignFont();
}

void TForm1::BindCommands() {
  auto bind = [this](const char* name, void (TForm1::*handler)()) {
    auto* button = central_->findChild<QPushButton*>(name);
    connect(button, &QPushButton::clicked, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  };
  bind("Button7", &TForm1::Button7Click);
  bind("Button1", &TForm1::Button1Click);
  bind("Button10", &TForm1::Button10Click);
  bind("Button3", &TForm1::Button3Click);
  bind("Button2", &TForm1::Button2Click);
  bind("Button9", &TForm1::Button9Click);
  bind("Button5", &TForm1::Button5Click);
  bind("Button6", &TForm1::Button6Click);
  bind("Button8", &TForm1::Button8Click);
  bind("Button4", &TForm1::Button4Click);
  for (int i = 0; i < 5; ++i)
    connect(ColorBoxes_[i], &ColorBox::changed, this, [this, i] { Guarded([this, i] { ColorBoxChange(i + 1); }); });
  for (int i = 0; i < 6; ++i)
    connect(ComboBoxes_[i], &SizeBox::changed, this, [this, i] { Guarded([this, i] { ComboBoxChange(i + 1); }); });
  // Programmatic changes of these run their handlers too, and at once; the
  // settings read relies on it, and lets a failure there end the read.
  connect(CheckBox1, &QCheckBox::toggled, this, [this] { RunChangeHandler([this] { CheckBox1Click(); }); });
  connect(CheckBox2, &QCheckBox::toggled, this, [this] { RunChangeHandler([this] { CheckBox2Click(); }); });
  connect(LabeledEdit1, &QLineEdit::textChanged, this, [this] { RunChangeHandler([this] { LabeledEdit1Change(); }); });
}

void TForm1::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& failure) {
    dialogs_->Error(programTitle_, FailureText(QString::fromUtf8(failure.what())));
  } catch (...) {
    // Nothing may escape into the event loop.
    dialogs_->Error(programTitle_, FailureText(QStringLiteral("予期しないエラーが発生しました")));
  }
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!property("shownOnce").toBool()) {
    setProperty("shownOnce", true);
    if (QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    Guarded([this] { FormShow(); });
  }
}

void TForm1::FormShow() {
  RichEdit1->clear();
  SourcePath_.clear();
  ReturnPath_.clear();
  IsHtmlDocument_ = 0;
  SetCaption(SourcePath_);
  ColorBoxes_[0]->setFocus();
  QTextCursor cursor = RichEdit1->textCursor();
  cursor.setPosition(0);
  RichEdit1->setTextCursor(cursor);
}

void TForm1::About1Click() {
  dialogs_->Information(QStringLiteral("Vornask\rVersion2.0\r表を作るための小さな道具"));
}

}  // namespace vornask

namespace vornask {

void TForm1::RunChangeHandler(const std::function<void()>& handler) {
  if (!settingFromCode_) {
    Guarded(handler);
    return;
  }
  // Set from code (a settings read): the failure belongs to the caller.
  try {
    handler();
  } catch (...) {
    if (!pendingFailure_) pendingFailure_ = std::current_exception();
  }
}

void TForm1::SetFromCode(const std::function<void()>& set) {
  settingFromCode_ = true;
  pendingFailure_ = nullptr;
  set();
  settingFromCode_ = false;
  if (pendingFailure_) std::rethrow_exception(std::exchange(pendingFailure_, nullptr));
}

}  // namespace vornask
