#include "ui/win32/win32_pane_filler.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace habuki::ui::win32 {

namespace {

using Clock = std::chrono::steady_clock;

// The first piece is a screenful and more: a few hundred lines.
constexpr std::size_t kFirstPieceLength = 8192;
constexpr std::size_t kShortestPiece = 2048;
constexpr std::size_t kLongestPiece = std::size_t{1} << 20;
// How long the window may go without answering the user while pieces go in: one piece should
// take about this long, and one call of Continue adds pieces for no longer.
constexpr auto kSliceTime = std::chrono::milliseconds(100);

bool InputWaits() { return HIWORD(::GetQueueStatus(QS_INPUT)) != 0; }

}  // namespace

void PaneFiller::Start(std::wstring text) {
  text_ = std::move(text);
  shown_ = 0;
  pieceLength_ = kFirstPieceLength;
  shown_ = NextPieceEnd();
  adding_ = true;
  ::SetWindowTextW(pane_, text_.substr(0, shown_).c_str());
  adding_ = false;
  if (!Filling()) text_.clear();
}

bool PaneFiller::Continue() {
  const auto end = Clock::now() + kSliceTime;
  while (Filling() && Clock::now() < end && !InputWaits()) AddPiece();
  if (!Filling()) Stop();
  return Filling();
}

void PaneFiller::Stop() {
  text_.clear();
  text_.shrink_to_fit();
  shown_ = 0;
}

// Pieces end after a line break where the piece holds one, and never between CR and LF or
// inside a character of two UTF-16 units.
std::size_t PaneFiller::NextPieceEnd() const {
  const std::size_t limit = shown_ + pieceLength_;
  if (limit >= text_.size()) return text_.size();
  const std::size_t lineEnd = text_.rfind(L'\n', limit - 1);
  if (lineEnd != std::wstring::npos && lineEnd >= shown_) return lineEnd + 1;
  std::size_t end = limit;
  const wchar_t before = text_[end - 1];
  if (before == L'\r' || (before >= 0xD800 && before <= 0xDBFF)) --end;
  return end;
}

// Added at the end with the pane's drawing held, then the selection and the first line shown
// put back: adding moves the caret to the end and scrolls to it. The next piece is as long as
// the control takes kSliceTime for: short in wine's edit control, long in Windows' own.
void PaneFiller::AddPiece() {
  const auto start = Clock::now();
  const std::size_t end = NextPieceEnd();
  const std::wstring piece = text_.substr(shown_, end - shown_);
  DWORD selectionStart = 0;
  DWORD selectionEnd = 0;
  ::SendMessageW(pane_, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                 reinterpret_cast<LPARAM>(&selectionEnd));
  const LRESULT firstLine = ::SendMessageW(pane_, EM_GETFIRSTVISIBLELINE, 0, 0);
  const int length = ::GetWindowTextLengthW(pane_);
  ::SendMessageW(pane_, WM_SETREDRAW, FALSE, 0);
  adding_ = true;
  ::SendMessageW(pane_, EM_SETSEL, length, length);
  ::SendMessageW(pane_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
  adding_ = false;
  ::SendMessageW(pane_, EM_SETSEL, selectionStart, selectionEnd);
  const LRESULT nowFirst = ::SendMessageW(pane_, EM_GETFIRSTVISIBLELINE, 0, 0);
  ::SendMessageW(pane_, EM_LINESCROLL, 0, firstLine - nowFirst);
  ::SendMessageW(pane_, WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(pane_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOERASE);
  const double took = std::chrono::duration<double>(Clock::now() - start).count();
  const double wanted = std::chrono::duration<double>(kSliceTime).count();
  const double scale = std::clamp(wanted / std::max(took, 1e-6), 0.25, 4.0);
  pieceLength_ = std::clamp(static_cast<std::size_t>(static_cast<double>(end - shown_) * scale),
                            kShortestPiece, kLongestPiece);
  shown_ = end;
}

}  // namespace habuki::ui::win32
