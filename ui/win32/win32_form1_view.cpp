#include "ui/win32/win32_form1_view.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "comment/comment_folders.h"
#include "core/text/utf16_text.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/win32_dialogs.h"
#include "ui/win32/win32_dpi.h"
#include "ui/win32/win32_text.h"
#include "ui/window_texts.h"

namespace habuki::ui::win32 {

namespace {

// Not WS_CLIPCHILDREN: the frame is transparent, and the window paints the face behind it.
constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;
// The timer that adds the panes' texts piece by piece.
constexpr UINT_PTR kFillTimer = 1;

void RegisterForm1Class(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hIconSm = static_cast<HICON>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                   ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kForm1ClassName;
  ::RegisterClassExW(&windowClass);
}

bool IsMousePress(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool IsEnter(const MSG* key) {
  return key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
}

int OptionId(FormatKind kind) {
  return kind == FormatKind::Fs30i ? kOption1 : kind == FormatKind::Fs16i ? kOption2 : kOption3;
}

}  // namespace

Win32Form1View::Win32Form1View(HINSTANCE instance, WindowEnvironment environment)
    : environment_(std::move(environment)) {
  RegisterForm1Class(instance, WindowProc);
  ::CreateWindowExW(0, kForm1ClassName, L"", kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
  CreateControls(instance);
  focused_ = Control(kCommand1);
  CreateMenus();
  UseFonts(WindowDpi(window_));
  PlaceControls(WindowDpi(window_));
  text1Filler_ = PaneFiller(Control(kText1));
  text2Filler_ = PaneFiller(Control(kText2));
  form_.emplace(*this);
  ::SetWindowSubclass(Control(kCommand1), Command1Proc, 0, reinterpret_cast<DWORD_PTR>(this));
  ::SetWindowSubclass(Control(kText1), PaneProc, 0, reinterpret_cast<DWORD_PTR>(this));
  ::SetWindowSubclass(Control(kText2), PaneProc, 0, reinterpret_cast<DWORD_PTR>(this));
  ::DragAcceptFiles(Control(kText1), TRUE);
}

Win32Form1View::~Win32Form1View() {
  if (window_ != nullptr) ::DestroyWindow(window_);
  ::DestroyAcceleratorTable(shortcuts_);
  ::DeleteObject(font_);
  ::DeleteObject(labelFont_);
  ::DeleteObject(frameFont_);
}

void Win32Form1View::Show(int how) {
  ::ShowWindow(window_, how);
  ::SetFocus(focused_);
}

int Win32Form1View::Run() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (::TranslateAcceleratorW(window_, shortcuts_, &message)) continue;
    if (::IsDialogMessageW(window_, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK Win32Form1View::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<Win32Form1View*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Form1View*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT Win32Form1View::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) {
        // A pane the user edits while it fills is theirs from then on.
        PaneFiller& filler = FillerOf(LOWORD(wParam) == kText1 ? Pane::Text1 : Pane::Text2);
        if (!filler.Adding()) filler.Stop();
      } else if (form_) {
        OnCommand(LOWORD(wParam));
      }
      return 0;
    case WM_TIMER:
      if (wParam == kFillTimer) ContinueFilling();
      return 0;
    case WM_CTLCOLORSTATIC:
      // The label and the option buttons on the window's own face, as in a dialog.
      ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
      if (!busy_) break;
      ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
      return TRUE;
    case WM_DPICHANGED: {
      UseFonts(HIWORD(wParam));
      PlaceControls(HIWORD(wParam));
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      ::SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_ACTIVATE:
      // The control that had the keyboard gets it back when the window is active again, after
      // a message box or another program, as in a dialog; at first, the button.
      if (LOWORD(wParam) != WA_INACTIVE) {
        ::SetFocus(focused_);
        return 0;
      }
      if (HWND focus = ::GetFocus(); ::IsChild(window_, focus)) focused_ = focus;
      break;
    case WM_NEXTDLGCTL: {
      // What the dialog handling of the loop asks for on Tab and Shift+Tab, which only a dialog's
      // own procedure would answer: the next control in the tab order, or the one before.
      HWND next = LOWORD(lParam) != 0 ? reinterpret_cast<HWND>(wParam)
                                      : ::GetNextDlgTabItem(window_, ::GetFocus(), wParam != 0);
      if (next != nullptr) ::SetFocus(next);
      return 0;
    }
    case WM_CLOSE:
      form_->OnWindowClosing();
      ::DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

// Menu items and their shortcuts, and the button's click (which the keyboard gives too).
void Win32Form1View::OnCommand(int id) {
  switch (id) {
    case kCommand1:
      form_->OnFilterButtonClick();
      break;
    case kMnuOpen:
      form_->OnOpen();
      break;
    case kMnuHozon:
      form_->OnSave();
      break;
    case kMnuSyuuryou:
      form_->OnExit();
      break;
    case kMnuCommentJ:
      form_->ToggleCommentJ();
      break;
    case kMnuCommentE:
      form_->ToggleCommentE();
      break;
    default:
      break;
  }
}

// A press of any mouse button shows the busy state, painted, before the button's own handling
// makes the click of the same press. Enter clicks the button as Space does, without a press.
LRESULT CALLBACK Win32Form1View::Command1Proc(HWND button, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  auto& view = *reinterpret_cast<Win32Form1View*>(self);
  if (IsMousePress(message)) {
    view.form_->OnFilterButtonPress();
    ::UpdateWindow(button);
    ::UpdateWindow(view.Control(kText2));
  } else if (message == WM_GETDLGCODE && IsEnter(reinterpret_cast<const MSG*>(lParam))) {
    return ::DefSubclassProc(button, message, wParam, lParam) | DLGC_WANTMESSAGE;
  } else if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    view.form_->OnFilterButtonClick();
    return 0;
  }
  return ::DefSubclassProc(button, message, wParam, lParam);
}

// A multi-line edit control keeps Tab for itself and takes Escape as a wish to close its parent:
// a pane would hold the keyboard, and Escape end the program with its result. Neither key is
// the pane's here, so the dialog handling of the window's loop moves on with Tab and passes
// Escape by (IDCANCEL, which no command answers); Enter still makes a new line.
LRESULT CALLBACK Win32Form1View::PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR self) {
  switch (message) {
    case WM_GETDLGCODE: {
      const LRESULT wanted = ::DefSubclassProc(pane, message, wParam, lParam);
      const auto* key = reinterpret_cast<const MSG*>(lParam);  // none when nothing is pressed
      const bool tabOrEscape = key != nullptr &&
                               (key->message == WM_KEYDOWN || key->message == WM_CHAR) &&
                               (key->wParam == VK_TAB || key->wParam == VK_ESCAPE);
      return tabOrEscape ? wanted & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB | DLGC_WANTMESSAGE) : wanted;
    }
    case WM_KEYDOWN:
    case WM_CHAR:
      if (wParam == VK_ESCAPE) return 0;
      break;
    case WM_DROPFILES:
      if (pane != reinterpret_cast<Win32Form1View*>(self)->Control(kText1)) break;
      reinterpret_cast<Win32Form1View*>(self)->OnDrop(reinterpret_cast<HDROP>(wParam));
      return 0;
    default:
      break;
  }
  return ::DefSubclassProc(pane, message, wParam, lParam);
}

void Win32Form1View::OnDrop(HDROP drop) {
  std::vector<std::filesystem::path> files;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring name(::DragQueryFileW(drop, i, nullptr, 0), L'\0');
    ::DragQueryFileW(drop, i, name.data(), static_cast<UINT>(name.size() + 1));
    files.emplace_back(name);
  }
  ::DragFinish(drop);
  form_->OnDropOnLeftPane(files);
}

void Win32Form1View::SetTitle(std::string_view title) {
  ::SetWindowTextW(window_, WideFromUtf8(title).c_str());
}

void Win32Form1View::SetPaneText(Pane pane, std::string_view cp932) {
  PaneFiller& filler = FillerOf(pane);
  filler.Start(PaneText(cp932));
  if (filler.Filling()) ::SetTimer(window_, kFillTimer, USER_TIMER_MINIMUM, nullptr);
}

// A timer's message comes only when no input waits, so the user is answered between pieces. The
// result fills first, then the backup, one pane per message.
void Win32Form1View::ContinueFilling() {
  if (!text2Filler_.Continue() && !text1Filler_.Continue()) ::KillTimer(window_, kFillTimer);
}

bool Win32Form1View::PaneIsEmpty(Pane pane) const {
  return ::GetWindowTextLengthW(Control(pane == Pane::Text1 ? kText1 : kText2)) == 0;
}

void Win32Form1View::SetButtonCaption(std::string_view caption) {
  ::SetWindowTextW(Control(kCommand1), WideFromUtf8(caption).c_str());
}

void Win32Form1View::SetChecked(MenuItem item, bool checked) {
  ::CheckMenuItem(menu_, item == MenuItem::mnuCommentJ ? kMnuCommentJ : kMnuCommentE,
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32Form1View::SelectOption(FormatKind kind) {
  ::CheckRadioButton(window_, kOption1, kOption3, OptionId(kind));
}

std::optional<FormatKind> Win32Form1View::SelectedOption() const {
  for (const FormatKind kind : {FormatKind::Fs30i, FormatKind::Fs16i, FormatKind::Pmc}) {
    if (::IsDlgButtonChecked(window_, OptionId(kind)) == BST_CHECKED) return kind;
  }
  return std::nullopt;
}

// The work runs on the window's thread, where no WM_SETCURSOR is handled until it ends: the
// cursor is set at once, and kept by WM_SETCURSOR while a message box shows.
void Win32Form1View::ShowBusy(bool busy) {
  busy_ = busy;
  ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

std::optional<std::filesystem::path> Win32Form1View::ShowOpenDialog(DialogSettings& settings) {
  return win32::ShowOpenDialog(window_, settings);
}

std::optional<std::filesystem::path> Win32Form1View::ShowSaveDialog(DialogSettings& settings) {
  return win32::ShowSaveDialog(window_, settings);
}

void Win32Form1View::ShowMessage(std::string_view text, std::string_view title) {
  win32::ShowMessage(window_, text, title);
}

// The loop ends at once; the window goes with the program, without the work done at close.
void Win32Form1View::EndProgramNow() { ::PostQuitMessage(0); }

// A window program has no standard error to tell it on: a message, while the window still
// stands.
void Win32Form1View::TellClosingProblem(std::string_view text) { ShowMessage(text, kMessageTitle); }

}  // namespace habuki::ui::win32
