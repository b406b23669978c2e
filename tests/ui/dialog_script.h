#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/form1_view.h"

namespace habuki::ui::test {

// Answers the file dialogs from a script and keeps every message and the settings each dialog
// was shown with, for driving the window's commands without a person.
struct DialogScript {
  struct Message {
    std::string text;
    std::string title;
  };

  std::optional<std::filesystem::path> AnswerOpen(DialogSettings& settings) {
    openSettings.push_back(settings);
    return Answer(openAnswers, settings);
  }
  std::optional<std::filesystem::path> AnswerSave(DialogSettings& settings) {
    saveSettings.push_back(settings);
    return Answer(saveAnswers, settings);
  }
  void Keep(std::string_view text, std::string_view title) {
    messages.push_back({std::string(text), std::string(title)});
  }

  // nullopt, or no answer left: the user cancels.
  std::deque<std::optional<std::filesystem::path>> openAnswers;
  std::deque<std::optional<std::filesystem::path>> saveAnswers;
  std::vector<Message> messages;
  std::vector<DialogSettings> openSettings;  // as each dialog was shown
  std::vector<DialogSettings> saveSettings;

 private:
  static std::optional<std::filesystem::path> Answer(
      std::deque<std::optional<std::filesystem::path>>& answers, DialogSettings& settings) {
    if (answers.empty()) return std::nullopt;
    const std::optional<std::filesystem::path> answer = answers.front();
    answers.pop_front();
    if (answer) settings.fileName = *answer;
    return answer;
  }
};

}  // namespace habuki::ui::test
