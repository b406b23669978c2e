#pragma once

#include <filesystem>
#include <vector>

#include "comment/comment_choice.h"
#include "core/filter/filter_state.h"
#include "core/io/output_plan.h"
#include "ui/form1_view.h"

namespace habuki::ui {

// The program's only window, as its commands see it: the loaded file on the left, the result on
// the right, the filter button, the three format options and the two menus, all shown by a
// Form1View. It owns the FilterState of the whole run. No window system is named here: the Qt
// window, the Win32 window and the tests' scripted view drive the same commands.
class Form1 {
 public:
  // Sets the title and the comment check marks of a window that has just been made.
  explicit Form1(Form1View& view);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  void SetTitle();

  // The filter command: the press of any mouse button shows the busy state, the click runs it.
  void OnFilterButtonPress();
  void OnFilterButtonClick();

  // The file commands. OpenFile is the open command after its dialog, also used for a dropped
  // file and for a file named when the program starts.
  void OnOpen();
  void OpenFile(const std::filesystem::path& file);
  void OnDropOnLeftPane(const std::vector<std::filesystem::path>& files);
  void OnSave();
  void OnExit();
  // The window is being closed: the work done at close, unless the exit command ended it.
  void OnWindowClosing();

  // The comment menu items.
  void ToggleCommentJ();
  void ToggleCommentE();

  const FilterState& state() const { return state_; }
  // The settings both file dialogs share (see AimDialog).
  const DialogSettings& DialogSettingsCDG() const { return CDG; }

 private:
  void ShowCommentChoice();
  void AimDialog(bool offerShownFile);
  void RememberLoaded(PlannedInput file);
  void ShowSaveOutcome(const std::filesystem::path& file, const PlannedOutput& output,
                       const StandardStreams& streams);
  std::error_code SaveResult(const PlannedOutput& output, const StandardStreams& streams);

  Form1View& view_;
  DialogSettings CDG;
  FilterState state_;
  // Every file loaded in this session, the one shown last: a save may replace none of them.
  std::vector<PlannedInput> loadedFiles_;
  CommentChoice comments_;
  bool endingNow_ = false;  // the exit command skips the work done at close
};

}  // namespace habuki::ui
