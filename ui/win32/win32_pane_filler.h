#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace habuki::ui::win32 {

// Fills a multi-line edit control with a long text piece by piece, so that the window shows its
// start at once and answers the user while the rest goes in. An edit control takes a whole text
// in one call on the window's thread, laying out every line first: wine's takes seconds for a
// backup of 400 KB, and a minute for 5 MB. Each call of Continue adds the next pieces for a
// short while, the view, caret and selection left where they were.
class PaneFiller {
 public:
  explicit PaneFiller(HWND pane) : pane_(pane) {}

  // Shows the start of `text` at once, in place of what the pane held; the rest waits for
  // Continue.
  void Start(std::wstring text);
  // Adds pieces for a short while; gives whether text is left to add.
  bool Continue();
  // The user has edited the pane while it filled: it is theirs, and nothing more is added.
  void Stop();
  bool Filling() const { return shown_ < text_.size(); }
  // Whether the pane's change comes from this filler, not from the user.
  bool Adding() const { return adding_; }

 private:
  std::size_t NextPieceEnd() const;
  void AddPiece();

  HWND pane_;
  std::wstring text_;
  std::size_t shown_ = 0;
  std::size_t pieceLength_ = 0;
  bool adding_ = false;
};

}  // namespace habuki::ui::win32
