#pragma once

#include <QMainWindow>
#include <QStringList>
#include <optional>
#include <vector>

#include "comment/comment_choice.h"
#include "core/filter/filter_state.h"
#include "core/io/output_plan.h"
#include "ui/window_system.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace habuki::ui {

class DropPane;

// The program's only window: the loaded file on the left, the result on the right, the filter
// button, the three format options, the label and the two menus. It owns the FilterState of
// the whole run. Controls and menu items keep the names users and maintainers know them by.
class Form1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit Form1(WindowSystem& windowSystem, QWidget* parent = nullptr);

  void SetTitle();

  // The filter command: the press of any mouse button shows the busy state, the click runs it.
  void OnFilterButtonPress();
  void OnFilterButtonClick();

  // The file commands. OpenFile is the open command after its dialog, also used for a dropped
  // file and for a file named when the program starts.
  void OnOpen();
  void OpenFile(const QString& file);
  void OnDropOnLeftPane(const QStringList& files);
  void OnSave();
  void OnExit();
  void OnWindowClosing();

  // The comment menu items.
  void ToggleCommentJ();
  void ToggleCommentE();

  const FilterState& state() const { return state_; }
  // The settings both file dialogs share (see AimDialog).
  const DialogSettings& DialogSettingsCDG() const { return CDG; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateMenus();
  void PlaceControls();
  void ConnectCommands();
  void ShowCommentChoice();
  void AimDialog(bool offerShownFile);
  void RememberLoaded(PlannedInput file);
  std::error_code SaveResult(const PlannedOutput& output, const StandardStreams& streams);
  std::optional<FormatKind> SelectedFormat() const;
  void SelectFormat(FormatKind kind);

  // The controls and menu items, under the names the window gives them (their object names).
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
  DialogSettings CDG;

  WindowSystem& windowSystem_;
  FilterState state_;
  // Every file loaded in this session, the one shown last: a save may replace none of them.
  std::vector<PlannedInput> loadedFiles_;
  CommentChoice comments_;
  bool endingNow_ = false;  // the exit command skips the work done at close
};

}  // namespace habuki::ui
