#pragma once

#include <filesystem>

#include "tests/ui/dialog_script.h"
#include "ui/qt/qt_form1_view.h"

namespace habuki::ui::test {

// Form1's Qt view with its real controls, whose dialogs and messages are answered from a script
// instead of waiting for a person; comment files are read from and left in one folder.
class ScriptedQtView : public QtForm1View, public DialogScript {
 public:
  explicit ScriptedQtView(const std::filesystem::path& folder)
      : QtForm1View({folder, folder, folder / "home"}) {}

  std::optional<std::filesystem::path> ShowOpenDialog(DialogSettings& settings) override {
    return AnswerOpen(settings);
  }
  std::optional<std::filesystem::path> ShowSaveDialog(DialogSettings& settings) override {
    return AnswerSave(settings);
  }
  void ShowMessage(std::string_view text, std::string_view title) override { Keep(text, title); }
};

}  // namespace habuki::ui::test
