// Form1's controls and menus, and where they stand: the twips of the window as it was drawn,
// in pixels at the window's own resolution.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>

#include "core/text/utf16_text.h"
#include "ui/twips.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/win32_dpi.h"
#include "ui/win32/win32_form1_view.h"
#include "ui/window_texts.h"

namespace habuki::ui::win32 {

namespace {

struct ControlSpec {
  int id;
  const wchar_t* windowClass;
  const char* caption;
  DWORD style;
  DWORD extendedStyle;
};

// Long lines wrap at the pane's edge, even without blanks; only a vertical scroll bar.
constexpr DWORD kPaneStyle =
    WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;

// In tab order. The button is drawn as the default one: Enter clicks it (see Command1Proc). Option1
// starts the group within which the option buttons exclude each other.
constexpr ControlSpec kControls[] = {
    {kCommand1, WC_BUTTONW, kFilterCaptionIdle, WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {kText1, WC_EDITW, "", kPaneStyle, WS_EX_CLIENTEDGE},
    {kText2, WC_EDITW, "", kPaneStyle, WS_EX_CLIENTEDGE},
    {kLabel1, WC_STATICW, kLabelCaption, SS_LEFT | SS_NOPREFIX, 0},
    {kFrame1, WC_BUTTONW, "", BS_GROUPBOX, 0},
    {kOption1, WC_BUTTONW, kOption1Caption, WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0},
    {kOption2, WC_BUTTONW, kOption2Caption, WS_TABSTOP | BS_AUTORADIOBUTTON, 0},
    {kOption3, WC_BUTTONW, kOption3Caption, WS_TABSTOP | BS_AUTORADIOBUTTON, 0},
};

struct Placement {
  int id;
  TwipsBox box;
  bool inFrame;
};

constexpr Placement kPlacements[] = {
    {kCommand1, kCommand1Box, false}, {kText1, kText1Box, false},    {kText2, kText2Box, false},
    {kLabel1, kLabel1Box, false},     {kFrame1, kFrame1Box, false},  {kOption1, kOption1Box, true},
    {kOption2, kOption2Box, true},    {kOption3, kOption3Box, true},
};

RECT PixelRect(const TwipsBox& box, UINT dpi, int left = 0, int top = 0) {
  const int dotsPerInch = static_cast<int>(dpi);
  const int x = TwipsToPixels(left + box.left, dotsPerInch);
  const int y = TwipsToPixels(top + box.top, dotsPerInch);
  return {x, y, x + TwipsToPixels(box.width, dotsPerInch),
          y + TwipsToPixels(box.height, dotsPerInch)};
}

// The window was drawn for a 9-point Japanese interface font. The character set makes Windows
// take a Japanese font when this one is missing.
LOGFONTW InterfaceFont(UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -::MulDiv(9, static_cast<int>(dpi), 72);
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(font.lfFaceName, L"MS UI Gothic", LF_FACESIZE);
  return font;
}

int TextWidth(HWND control, HFONT font, const std::wstring& text) {
  HDC context = ::GetDC(control);
  const HGDIOBJ old = ::SelectObject(context, font);
  SIZE size{};
  ::GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(context, old);
  ::ReleaseDC(control, context);
  return size.cx;
}

// The label's caption is wider than its place in most Japanese fonts; rather than cut it off,
// it is drawn a little smaller, down to 6 points.
HFONT FontThatFits(HWND label, UINT dpi) {
  const std::wstring caption = WideFromUtf8(kLabelCaption);
  RECT place;
  ::GetClientRect(label, &place);
  LOGFONTW wanted = InterfaceFont(dpi);
  const int smallest = -::MulDiv(6, static_cast<int>(dpi), 72);
  HFONT font = ::CreateFontIndirectW(&wanted);
  while (TextWidth(label, font, caption) > place.right && wanted.lfHeight < smallest) {
    ::DeleteObject(font);
    ++wanted.lfHeight;
    font = ::CreateFontIndirectW(&wanted);
  }
  return font;
}

// The frame has no caption, yet draws its top edge half its font's height down, where a tall
// font (as at 144 DPI, or a Japanese font with a large line height) puts it behind the option
// buttons. Its own font, as high as the space above the buttons, keeps the edge clear of them.
HFONT FrameFont(UINT dpi) {
  LOGFONTW font = InterfaceFont(dpi);
  font.lfHeight = TwipsToPixels(kOption1Box.top, static_cast<int>(dpi));
  return ::CreateFontIndirectW(&font);
}

}  // namespace

void Win32Form1View::CreateControls(HINSTANCE instance) {
  for (const ControlSpec& control : kControls) {
    ::CreateWindowExW(control.extendedStyle, control.windowClass,
                      WideFromUtf8(control.caption).c_str(),
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | control.style, 0, 0, 0, 0, window_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance, nullptr);
  }
  // The frame lies under its option buttons, which would otherwise not show through it.
  ::SetWindowPos(Control(kFrame1), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  // Panes hold whole backups: the limit of what the user may type is lifted from 30000
  // characters to what the control can hold.
  ::SendMessageW(Control(kText1), EM_SETLIMITTEXT, 0, 0);
  ::SendMessageW(Control(kText2), EM_SETLIMITTEXT, 0, 0);
}

void Win32Form1View::CreateMenus() {
  const auto item = [](const char* caption, const wchar_t* shortcut = L"") {
    return WideFromUtf8(caption) + shortcut;
  };
  HMENU file = ::CreatePopupMenu();
  ::AppendMenuW(file, MF_STRING, kMnuOpen, item(kMenuOpen, L"\tCtrl+O").c_str());
  ::AppendMenuW(file, MF_STRING, kMnuHozon, item(kMenuSave, L"\tCtrl+S").c_str());
  ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);  // mnuSp1
  ::AppendMenuW(file, MF_STRING, kMnuSyuuryou, item(kMenuExit, L"\tCtrl+Q").c_str());
  HMENU settings = ::CreatePopupMenu();
  ::AppendMenuW(settings, MF_STRING, kMnuCommentJ, item(kMenuCommentJ).c_str());
  ::AppendMenuW(settings, MF_STRING, kMnuCommentE, item(kMenuCommentE).c_str());
  menu_ = ::CreateMenu();
  ::AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), item(kMenuFile).c_str());
  ::AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(settings), item(kMenuSettings).c_str());
  ::SetMenu(window_, menu_);

  ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'O', kMnuOpen},
                  {FCONTROL | FVIRTKEY, 'S', kMnuHozon},
                  {FCONTROL | FVIRTKEY, 'Q', kMnuSyuuryou}};
  shortcuts_ = ::CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
}

// Fixed places, as the window was drawn; a resize moves nothing. The window is made as large
// as its client area, menu bar and frame at this resolution.
void Win32Form1View::PlaceControls(UINT dpi) {
  for (const Placement& placement : kPlacements) {
    const RECT place = placement.inFrame
                           ? PixelRect(placement.box, dpi, kFrame1Box.left, kFrame1Box.top)
                           : PixelRect(placement.box, dpi);
    ::MoveWindow(Control(placement.id), place.left, place.top, place.right - place.left,
                 place.bottom - place.top, TRUE);
  }
  ::DeleteObject(labelFont_);
  labelFont_ = FontThatFits(Control(kLabel1), dpi);
  ::SendMessageW(Control(kLabel1), WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_), TRUE);
  ::DeleteObject(frameFont_);
  frameFont_ = FrameFont(dpi);
  ::SendMessageW(Control(kFrame1), WM_SETFONT, reinterpret_cast<WPARAM>(frameFont_), TRUE);
  RECT frame = PixelRect(kClientArea, dpi);
  AdjustFrameForDpi(frame, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)), 0, dpi);
  ::SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form1View::UseFonts(UINT dpi) {
  const LOGFONTW wanted = InterfaceFont(dpi);
  HFONT old = font_;
  font_ = ::CreateFontIndirectW(&wanted);
  for (const ControlSpec& control : kControls) {
    ::SendMessageW(Control(control.id), WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
  }
  ::DeleteObject(old);
}

}  // namespace habuki::ui::win32
