#include "ui/win32/win32_dpi.h"

namespace habuki::ui::win32 {

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// A function of user32.dll, or none where this Windows lacks it. user32 is loaded with every
// window program.
template <typename Call>
Call User32Function(const char* name) {
  return reinterpret_cast<Call>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto forWindow = User32Function<GetDpiForWindowCall>("GetDpiForWindow");
  if (forWindow != nullptr) return forWindow(window);
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD extendedStyle, UINT dpi) {
  static const auto forDpi =
      User32Function<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
  if (forDpi != nullptr) {
    forDpi(&rect, style, TRUE, extendedStyle, dpi);
  } else {
    ::AdjustWindowRectEx(&rect, style, TRUE, extendedStyle);
  }
}

}  // namespace habuki::ui::win32
