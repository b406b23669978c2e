#pragma once

// The identifiers of Form1's controls and menu commands in the Win32 window, and the class name
// of the window: what the window's own code and a program that drives it from outside (its
// smoke test) find them by.
namespace habuki::ui::win32 {

inline constexpr wchar_t kForm1ClassName[] = L"habuki.Form1";

enum ControlId : int {
  kCommand1 = 101,
  kText1,
  kText2,
  kLabel1,
  kFrame1,
  kOption1,
  kOption2,
  kOption3,
};

enum MenuCommandId : int {
  kMnuOpen = 201,
  kMnuHozon,
  kMnuSyuuryou,
  kMnuCommentJ,
  kMnuCommentE,
};

}  // namespace habuki::ui::win32
