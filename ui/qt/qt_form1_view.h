#pragma once

#include <QMainWindow>
#include <filesystem>
#include <optional>

#include "ui/form1.h"
#include "ui/form1_view.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace habuki::ui {

class DropPane;

// Form1 in Qt: the window that owns the controls and menus, shows what Form1's commands tell it
// and hands them every click, press, drop and close. The controls and menu items carry the names
// the window gives them as object names.
class QtForm1View : public QMainWindow, public Form1View {
  Q_OBJECT

 public:
  explicit QtForm1View(WindowEnvironment environment, QWidget* parent = nullptr);

  Form1& form() { return *form_; }
  const Form1& form() const { return *form_; }

  void SetTitle(std::string_view title) override;
  void SetPaneText(Pane pane, std::string_view cp932) override;
  bool PaneIsEmpty(Pane pane) const override;
  void SetButtonCaption(std::string_view caption) override;
  void SetChecked(MenuItem item, bool checked) override;
  void SelectOption(FormatKind kind) override;
  std::optional<FormatKind> SelectedOption() const override;
  void ShowBusy(bool busy) override;
  std::optional<std::filesystem::path> ShowOpenDialog(DialogSettings& settings) override;
  std::optional<std::filesystem::path> ShowSaveDialog(DialogSettings& settings) override;
  void ShowMessage(std::string_view text, std::string_view title) override;
  const WindowEnvironment& Environment() const override { return environment_; }
  void EndProgramNow() override;
  void TellClosingProblem(std::string_view text) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateMenus();
  void PlaceControls();
  void ConnectCommands();
  QPlainTextEdit* PaneNamed(Pane pane) const;

  QPushButton* Command1;
  DropPane* Text1;
  QPlainTextEdit* Text2;
  QLabel* Label1;
  QGroupBox* Frame1;
  QRadioButton* Option1;
  QRadioButton* Option2;
  QRadioButton* Option3;
  QMenu* mnuFile;
  QAction* mnuOpen;
  QAction* mnuHozon;
  QAction* mnuSp1;
  QAction* mnuSyuuryou;
  QMenu* mnuSettei;
  QAction* mnuCommentJ;
  QAction* mnuCommentE;

  WindowEnvironment environment_;
  std::optional<Form1> form_;  // made once the controls stand, since it sets them at once
};

}  // namespace habuki::ui
