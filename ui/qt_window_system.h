#pragma once

#include <QStringList>

#include "ui/window_system.h"

namespace habuki::ui {

// The window system of a real desktop, through Qt.
class QtWindowSystem : public WindowSystem {
 public:
  QtWindowSystem(std::filesystem::path programFolder, std::filesystem::path configFolder)
      : programFolder_(std::move(programFolder)), configFolder_(std::move(configFolder)) {}

  std::optional<QString> ShowOpenDialog(QWidget* parent, DialogSettings& settings) override;
  std::optional<QString> ShowSaveDialog(QWidget* parent, DialogSettings& settings) override;
  void ShowMessage(QWidget* parent, const QString& text, const QString& title) override;
  std::vector<std::filesystem::path> CommentFolders() const override;
  std::filesystem::path ConfigFolder() const override { return configFolder_; }
  void EndProgramNow() override;

 private:
  std::filesystem::path programFolder_;
  std::filesystem::path configFolder_;
};

// The dialog file types in Qt's form: one "description (patterns)" entry per pair, patterns
// separated by blanks and given in both cases, so that *.PRM also matches backup.prm.
QStringList QtNameFilters(const QString& fileTypes);

}  // namespace habuki::ui
