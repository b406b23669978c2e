#pragma once

#include <windows.h>

namespace habuki::ui::win32 {

// The resolution a window is drawn at, and the size of a frame around its client area there. The
// functions that tell them for each screen came with Windows 10 1607 (GetDpiForWindow,
// AdjustWindowRectExForDpi): where they are missing, as on Windows 7, 8 and 8.1, the screen's
// resolution as the system tells it and the system's metrics stand in. They are looked up at
// run time, so that the program starts on every Windows from 7 SP1 on.
UINT WindowDpi(HWND window);
void AdjustFrameForDpi(RECT& rect, DWORD style, DWORD extendedStyle, UINT dpi);

}  // namespace habuki::ui::win32
