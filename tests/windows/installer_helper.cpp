// What the installer's check needs of Windows that a shell under wine cannot do:
//   installer_helper wait-window CLASS   waits until a window of CLASS is open (at most 60 s):
//                                        status 0 once it is, 1 if it never is
//   installer_helper close-window CLASS  asks that window to close, as its close box does, and
//                                        waits until it has (at most 60 s)
//   installer_helper hold FILE           opens FILE sharing nothing, as a program that has it
//                                        open does, says "held" on standard output and keeps it
//                                        until its standard input ends
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Whether a window of `windowClass` is open (`open`) or not, within 60 s.
bool WaitUntil(const wchar_t* windowClass, bool open) {
  for (int tenth = 0; tenth < 600; ++tenth) {
    if ((::FindWindowW(windowClass, nullptr) != nullptr) == open) return true;
    ::Sleep(100);
  }
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  const std::wstring what = argv[1];
  if (what == L"wait-window") return WaitUntil(argv[2], true) ? 0 : 1;
  if (what == L"close-window") {
    if (HWND window = ::FindWindowW(argv[2], nullptr)) ::PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitUntil(argv[2], false) ? 0 : 1;
  }
  if (what == L"hold") {
    const HANDLE file = ::CreateFileW(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::puts("held");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    ::CloseHandle(file);
    return 0;
  }
  return 2;
}
