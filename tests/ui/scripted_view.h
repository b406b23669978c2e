#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/ui/dialog_script.h"
#include "ui/form1_view.h"
#include "ui/window_texts.h"

namespace habuki::ui::test {

// A Form1View without a window system: it keeps what Form1 shows, under the controls' names,
// answers the dialogs from its script and finds every folder in the test's own. A test plays
// the user by changing what it shows (typing into Text2, picking an option) before a command.
class ScriptedView : public Form1View, public DialogScript {
 public:
  explicit ScriptedView(const std::filesystem::path& folder)
      : environment{folder, folder, folder / "home"} {}

  void SetTitle(std::string_view text) override { title = text; }
  void SetPaneText(Pane pane, std::string_view cp932) override {
    (pane == Pane::Text1 ? Text1 : Text2) = cp932;
    busyAtPaneChange.push_back(busy);
  }
  bool PaneIsEmpty(Pane pane) const override {
    return (pane == Pane::Text1 ? Text1 : Text2).empty();
  }
  void SetButtonCaption(std::string_view caption) override { Command1 = caption; }
  void SetChecked(MenuItem item, bool checked) override {
    (item == MenuItem::mnuCommentJ ? mnuCommentJ : mnuCommentE) = checked;
  }
  void SelectOption(FormatKind kind) override { option = kind; }
  std::optional<FormatKind> SelectedOption() const override { return option; }
  void ShowBusy(bool on) override {
    if (on == busy) throw std::logic_error("the busy state was not taken back in turn");
    busy = on;
  }
  std::optional<std::filesystem::path> ShowOpenDialog(DialogSettings& settings) override {
    return AnswerOpen(settings);
  }
  std::optional<std::filesystem::path> ShowSaveDialog(DialogSettings& settings) override {
    return AnswerSave(settings);
  }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    messagesWhileBusy += busy ? 1 : 0;
    Keep(text, caption);
  }
  const WindowEnvironment& Environment() const override { return environment; }
  void EndProgramNow() override { ++endProgramCalls; }
  void TellClosingProblem(std::string_view text) override { closingProblems.emplace_back(text); }

  // What the window shows: the title, the panes' CP932 bytes, the button's caption, the check
  // marks and the selected option (Option1..3 as the FormatKind they stand for).
  std::string title;
  std::string Text1;
  std::string Text2;
  std::string Command1 = kFilterCaptionIdle;
  bool mnuCommentJ = false;
  bool mnuCommentE = false;
  std::optional<FormatKind> option;
  bool busy = false;
  std::vector<bool> busyAtPaneChange;  // whether the view was busy at each change of a pane
  int messagesWhileBusy = 0;
  std::vector<std::string> closingProblems;

  WindowEnvironment environment;  // comment files, "ｺﾒﾝﾄ.txt" and home all in the test's folder
  int endProgramCalls = 0;
};

}  // namespace habuki::ui::test
