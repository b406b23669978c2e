#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/filter/filter_state.h"
#include "ui/window_environment.h"

namespace habuki::ui {

// What a file dialog is asked to do; each view gives it to its toolkit in the toolkit's terms.
struct DialogOptions {
  bool overwritePrompt = false;  // ask before a file that exists is chosen
  bool hideReadOnly = false;     // no "open as read-only" box
  bool pathMustExist = false;    // only a folder that exists is taken
  bool fileMustExist = false;    // only a file that exists is taken
  bool operator==(const DialogOptions&) const = default;
};

// The save dialog's options, as the window was made: all four. The views take a new file's
// name all the same, since a result is usually saved under one.
inline constexpr DialogOptions kSaveDialogOptions{true, true, true, true};

// The settings object that both file dialogs share (the window's CDG). Form1 sets the folder and
// the offered name before each dialog; the dialog leaves the chosen file in fileName.
struct DialogSettings {
  std::string fileTypes;           // UTF-8 description and pattern pairs separated by "|"
  std::filesystem::path folder;    // where the dialog starts, whatever folder the view remembers
  std::filesystem::path fileName;  // the name offered (full path, or empty), then the file chosen
  DialogOptions options;
};

// The two text panes and the two checked menu items, by the names the window gives them.
enum class Pane { Text1, Text2 };
enum class MenuItem { mnuCommentJ, mnuCommentE };

// What Form1's commands need of a window system: its controls, dialogs and messages, its
// folders and the end of the program. Texts are UTF-8; a pane is handed the CP932 bytes it
// shows, which the view decodes for display only. A Qt window, a Win32 window and the tests'
// scripted view each implement it, so all of them run the same commands.
class Form1View {
 public:
  virtual ~Form1View() = default;

  virtual void SetTitle(std::string_view title) = 0;
  // Shows `cp932` with every character kept, each CR LF, CR or LF as a line break; empty clears.
  // May throw std::bad_alloc for a text too large to show, which Form1 takes as a failure.
  virtual void SetPaneText(Pane pane, std::string_view cp932) = 0;
  // Whether the pane shows nothing, user edits included.
  virtual bool PaneIsEmpty(Pane pane) const = 0;
  // The caption of Command1; once set by the press, it is on screen before the click runs.
  virtual void SetButtonCaption(std::string_view caption) = 0;
  virtual void SetChecked(MenuItem item, bool checked) = 0;
  // Selecting one of Option1..3 clears the other two; none is selected at start.
  virtual void SelectOption(FormatKind kind) = 0;
  virtual std::optional<FormatKind> SelectedOption() const = 0;
  // The wait cursor over the whole program while the window loads or thins.
  virtual void ShowBusy(bool busy) = 0;

  // The chosen file's full path, also kept in settings.fileName; nothing when cancelled.
  virtual std::optional<std::filesystem::path> ShowOpenDialog(DialogSettings& settings) = 0;
  virtual std::optional<std::filesystem::path> ShowSaveDialog(DialogSettings& settings) = 0;
  // A modal message with an OK button only and no icon. The text may hold CR LF.
  virtual void ShowMessage(std::string_view text, std::string_view title) = 0;

  // The folders the program was given at start.
  virtual const WindowEnvironment& Environment() const = 0;
  // Ends the program at once: nothing else runs, not even the work done at close.
  virtual void EndProgramNow() = 0;
  // Tells the user of a failure of the work done at close (one line, UTF-8), as the window
  // system lets a closing window: on standard error, or in a message.
  virtual void TellClosingProblem(std::string_view text) = 0;
};

}  // namespace habuki::ui
