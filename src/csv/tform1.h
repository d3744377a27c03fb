#pragma once

#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "csv/dialogs.h"
#include "settings/option_lines.h"
#include "settings/settings_lines.h"
#include "settings/settings_paths.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QWebEngineView;
class QWebEngineLoadingInfo;

namespace vornask {

class ColorBox;
class SizeBox;

// What the window needs from outside: the program's folder (for settings),
// the program file name (for the title) and the dialogs. Tests pass their own.
struct FormEnvironment {
  std::string programFile;     // full path of the program file
  std::string userConfigHome;  // the user's configuration folder; may be empty
  std::shared_ptr<IDialogs> dialogs;  // null: the real dialogs
};

// The one main window, holding every control and every command handler.
class TForm1 : public QMainWindow, private IOptionControls, private IEditorFont {
  Q_OBJECT

 public:
  explicit TForm1(FormEnvironment environment, QWidget* parent = nullptr);
  ~TForm1() override;

  // Document state.
  const QString& SourcePath() const { return SourcePath_; }
  const QString& ReturnPath() const { return ReturnPath_; }
  const QString& HtmlPath() const { return HtmlPath_; }
  int IsHtmlDocument() const { return IsHtmlDocument_; }
  const QString& StoredBodyImagePath() const { return BodyImagePath_; }
  const QString& StoredTableImagePath() const { return TableImagePath_; }
  const TSettingsLines& SettingsLines() const { return memo1_; }
  QString ProgramTitle() const { return programTitle_; }
  SettingsLocation Settings() const;
  TStyleOptions ReadStyleOptions() const;
  // Page loads in the preview that have not finished yet (for tests).
  int PendingPreviews() const { return pendingPreviews_; }

  // Handlers, named after the control and event that run them.
  void FormCreate();
  void FormShow();
  void Button7Click();   // New
  void Button1Click();   // Open
  void Button3Click();   // Save As
  void Button10Click();  // Overwrite
  void Button9Click();   // Back
  void Button2Click();   // Convert
  void Button5Click();   // load named settings
  void Button6Click();   // save named settings
  void Button8Click();   // page background image
  void Button4Click();   // table background image
  void Undo1Click();
  void Cut1Click();
  void Copy1Click();
  void Paste1Click();
  void Delete1Click();
  void N4Click();  // Select all
  void N3Click();  // Font
  void About1Click();
  void ColorBoxChange(int box);  // ColorBox1Change .. ColorBox5Change
  void ComboBoxChange(int box);  // ComboBox1Change .. ComboBox6Change
  void CheckBox1Click();
  void CheckBox2Click();
  void LabeledEdit1Change();

  // Opens a file as Open does, without the dialog (a dropped file, an argument).
  void OpenDocument(const QString& path);

  // Runs a handler under the failure display: a failure that escapes it is
  // shown in an error box titled with the program title.
  void Guarded(const std::function<void()>& handler);
  // Runs a change handler: guarded when the user changed the control, its
  // failure carried to SetFromCode when code did.
  void RunChangeHandler(const std::function<void()>& handler);
  void SetFromCode(const std::function<void()>& set);

 protected:
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Layout and bindings.
  void CreateControls();
  void CreateMenus();
  void CreateDialogs();
  void BindCommands();
  QPushButton* ToolButton(const char* name, const QString& caption, int left, int width);
  QLabel* DesignLabel(const char* name, const QString& text, int left, int top, int width, int height);

  // Document helpers.
  void LoadIntoEditor(const QString& path);
  void SaveEditorTo(const QString& path);
  void SetCaption(const QString& text);
  void SetDocumentPaths(const QString& path);
  void SaveAsSteps();

  // Convert steps.
  void ConvertCommaSeparated();
  void Preview(const QString& path);
  void PreviewLoading(const QWebEngineLoadingInfo& info);

  // Settings helpers.
  void SaveStartupSettings();
  void WriteLineAndSave(int line, const std::string& text, bool save = true);
  void ApplyStartupFont();
  void ChooseImage(FileDialogState& dialog, QString& storedPath, QLineEdit* edit, int line);

  // IOptionControls: the option controls as the settings lines see them.
  int ColorIndex(int box) const override;
  void SelectColor(int box, int index) override;
  int SizeIndex(int box) const override;
  void SelectSize(int box, int index) override;
  bool Checked(int box) const override;
  void SetChecked(int box, bool checked) override;
  std::string CaptionText() const override;
  void SetCaptionText(const std::string& text) override;
  std::string BodyImagePath() const override;
  void SetBodyImagePath(const std::string& path) override;
  std::string TableImagePath() const override;
  void SetTableImagePath(const std::string& path) override;
  // IEditorFont: the editor's font as the settings lines set it.
  void SetSizePoints(int points) override;
  void SetName(const std::string& utf8) override;
  void SetColor(int red, int green, int blue) override;

  FormEnvironment env_;
  std::shared_ptr<IDialogs> dialogs_;
  QString programTitle_;

  // Document state.
  QString SourcePath_, ReturnPath_, HtmlPath_;
  int IsHtmlDocument_ = 0;
  QString BodyImagePath_, TableImagePath_;
  TSettingsLines memo1_;
  int pendingPreviews_ = 0;
  QUrl previewUrl_;
  bool settingFromCode_ = false;
  std::exception_ptr pendingFailure_;

  // Controls (object names as designed).
  QWidget* central_ = nullptr;
  QPlainTextEdit* RichEdit1 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QWebEngineView* WebBrowser1 = nullptr;
  ColorBox* ColorBoxes_[5] = {};
  SizeBox* ComboBoxes_[6] = {};
  QCheckBox* CheckBox1 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLineEdit* LabeledEdit1 = nullptr;
  QPushButton* Button8 = nullptr;
  QPushButton* Button4 = nullptr;
  QMenu* PopupMenu1 = nullptr;

  FileDialogState OpenDialog1, SaveDialog1, OpenDialog2, OpenDialog3, OpenDialog4, SaveDialog2;
  FontDialogState FontDialog1;
  quint32 editorColorValue_ = 0x80000008u;
};

// The title of error boxes: the program file's name cut at its first ".",
// every letter after the first lower-cased.
QString ProgramTitleFor(const QString& programFile);

// The failure display's text: the message, with "." appended when its last
// character sorts after ".".
QString FailureText(const QString& message);

}  // namespace vornask
