#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

class QWidget;

namespace habuki::ui {

// The option flag of the file dialogs that the view honours: the save dialog asks before it
// names a file that exists.
inline constexpr unsigned kOverwritePrompt = 0x2;

// The settings object that both file dialogs share (the window's CDG). The window sets the
// folder and the offered name before each dialog; the dialog leaves the chosen file in fileName.
struct DialogSettings {
  QString fileTypes;  // description and pattern pairs separated by "|"
  QString folder;     // where the dialog starts, whatever folder the toolkit remembers
  QString fileName;   // the name offered (full path, or empty), then the file chosen
  unsigned flags = 0;
};

// What the window needs of the window system beyond its own controls: dialogs, messages, the
// folders of the comment files and ending the program. The window's commands use only this, so that
// tests can answer the dialogs and read the messages.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // The chosen file's full path, also kept in settings.fileName; nothing when cancelled.
  virtual std::optional<QString> ShowOpenDialog(QWidget* parent, DialogSettings& settings) = 0;
  virtual std::optional<QString> ShowSaveDialog(QWidget* parent, DialogSettings& settings) = 0;

  // A modal message with an OK button only and no icon. The text may hold CR LF.
  virtual void ShowMessage(QWidget* parent, const QString& text, const QString& title) = 0;

  // Where comment files are looked for, in order (see CommentFolders).
  virtual std::vector<std::filesystem::path> CommentFolders() const = 0;

  // The user's configuration folder, where the window leaves "ｺﾒﾝﾄ.txt" at close; empty when
  // the system does not tell.
  virtual std::filesystem::path ConfigFolder() const = 0;

  // Ends the program at once: nothing else runs, not even the work done at close.
  virtual void EndProgramNow() = 0;
};

}  // namespace habuki::ui
