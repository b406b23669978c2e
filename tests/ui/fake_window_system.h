#pragma once

#include <deque>
#include <vector>

#include "ui/window_system.h"

namespace habuki::ui::test {

// Answers the dialogs from a script and keeps every message, for driving the window's
// commands without a person. Comment files are read from one folder.
class FakeWindowSystem : public WindowSystem {
 public:
  struct Message {
    QString text;
    QString title;
  };

  explicit FakeWindowSystem(std::filesystem::path folder)
      : configFolder(folder), folder_(std::move(folder)) {}

  std::optional<QString> ShowOpenDialog(QWidget*, DialogSettings& settings) override {
    openSettings.push_back(settings);
    return Answer(openAnswers, settings);
  }
  std::optional<QString> ShowSaveDialog(QWidget*, DialogSettings& settings) override {
    saveSettings.push_back(settings);
    return Answer(saveAnswers, settings);
  }
  void ShowMessage(QWidget*, const QString& text, const QString& title) override {
    messages.push_back({text, title});
  }
  std::vector<std::filesystem::path> CommentFolders() const override { return {folder_}; }
  std::filesystem::path ConfigFolder() const override { return configFolder; }
  void EndProgramNow() override { ++endProgramCalls; }

  std::filesystem::path configFolder;              // where "ｺﾒﾝﾄ.txt" is left at close
  std::deque<std::optional<QString>> openAnswers;  // nullopt: the user cancels
  std::deque<std::optional<QString>> saveAnswers;
  std::vector<Message> messages;
  std::vector<DialogSettings> openSettings;  // as each dialog was shown
  std::vector<DialogSettings> saveSettings;
  int endProgramCalls = 0;

 private:
  static std::optional<QString> Answer(std::deque<std::optional<QString>>& answers,
                                       DialogSettings& settings) {
    if (answers.empty()) return std::nullopt;
    const std::optional<QString> answer = answers.front();
    answers.pop_front();
    if (answer) settings.fileName = *answer;
    return answer;
  }

  std::filesystem::path folder_;
};

}  // namespace habuki::ui::test
