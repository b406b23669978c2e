// The Win32 window as a user meets it: habuki-gui.exe started on a real backup, driven from this
// process with window messages only, its panes, title and saved file compared with what the
// command line gives for the same backup. Run on a virtual screen (check-window.sh).
#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "core/text/display_text.h"
#include "core/text/utf16_text.h"
#include "habuki/version.h"
#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"
#include "ui/win32/control_ids.h"

namespace habuki::test {
namespace {

using namespace habuki::ui::win32;
using namespace std::chrono_literals;

constexpr auto kPatience = 60s;          // wine on a busy machine may take long to show a window
constexpr int kMessageBoxText = 0xFFFF;  // the static text of a message box

// Asks `found` every tenth of a second until it gives a window, or the patience ends.
template <typename Finder>
HWND WaitFor(Finder found) {
  for (auto end = std::chrono::steady_clock::now() + kPatience;
       std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(100ms)) {
    if (HWND window = found()) return window;
  }
  return nullptr;
}

// By WM_GETTEXT, which, unlike GetWindowTextW, reads a control of another process.
std::wstring TextOf(HWND window) {
  const auto length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

// Every line break as CR LF, as an EDIT control shows lines, from the CP932 bytes of a file.
std::wstring AsShown(std::string_view cp932) {
  std::wstring shown;
  const std::wstring text = WideFromUtf8(Cp932ToUtf8(cp932));
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n') {
      shown.push_back(text[i]);
      continue;
    }
    shown += L"\r\n";
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
  }
  return shown;
}

struct Search {
  DWORD thread;
  const wchar_t* windowClass;
  std::wstring title;  // empty: any
  HWND found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM searched) {
  auto& search = *reinterpret_cast<Search*>(searched);
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (std::wstring_view(name) != search.windowClass || !::IsWindowVisible(window)) return TRUE;
  if (!search.title.empty() && TextOf(window) != search.title) return TRUE;
  search.found = window;
  return FALSE;
}

// A visible top-level window of the program's thread, by class and (if given) title.
HWND TopWindow(DWORD thread, const wchar_t* windowClass, std::wstring title = {}) {
  Search search{thread, windowClass, std::move(title)};
  ::EnumThreadWindows(thread, Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The file name box of a save dialog: the edit control with the id of the explorer style's
// file name combo box (cmb13), which holds it, or of the older style's edit control (edt1).
HWND FileNameBox(HWND dialog) {
  HWND found = nullptr;
  ::EnumChildWindows(
      dialog,
      [](HWND control, LPARAM result) -> BOOL {
        wchar_t name[16] = {};
        ::GetClassNameW(control, name, 16);
        const int id = ::GetDlgCtrlID(control);
        if (std::wstring_view(name) != L"Edit" || (id != 0x47C && id != 0x480)) return TRUE;
        *reinterpret_cast<HWND*>(result) = control;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Without the line break that a text may end in.
std::wstring WithoutFinalBreak(std::wstring text) {
  if (text.ends_with(L"\r\n")) text.resize(text.size() - 2);
  return text;
}

// The pane's text, without a final line break, once it equals `expected` or when the patience
// ends: a pane shows the start of a long text at once and fills in the rest while the window
// answers.
std::wstring FilledText(HWND pane, const std::wstring& expected) {
  std::wstring text;
  WaitFor([&] { return (text = WithoutFinalBreak(TextOf(pane))) == expected ? pane : nullptr; });
  return text;
}

class Win32Window : public ::testing::Test {
 protected:
  // Starts habuki-gui.exe with the backup and waits for its window.
  void Start(const std::filesystem::path& backup) {
    std::wstring command =
        L"\"" + std::wstring(WideFromUtf8(HABUKI_GUI_PROGRAM)) + L"\" \"" + backup.native() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &program_))
        << "cannot start " << HABUKI_GUI_PROGRAM;
    ::WaitForInputIdle(program_.hProcess, 60000);
    window_ = WaitFor([this] { return TopWindow(program_.dwThreadId, kForm1ClassName); });
    ASSERT_NE(window_, nullptr) << "no window of class habuki.Form1 appeared";
  }

  // The program always ends with the test, whatever failed.
  void TearDown() override {
    if (program_.hProcess == nullptr) return;
    if (::WaitForSingleObject(program_.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(program_.hProcess, 1);
    }
    ::CloseHandle(program_.hThread);
    ::CloseHandle(program_.hProcess);
  }

  HWND Control(int id) const { return ::GetDlgItem(window_, id); }
  // The control that has the keyboard in the program's window.
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(program_.dwThreadId, &info) ? info.hwndFocus : nullptr;
  }
  // Gives `control` the keyboard, as a click would: the test's thread shares the program's input
  // state meanwhile, which lets it set the program's focus.
  void FocusOn(HWND control) const {
    ::AttachThreadInput(::GetCurrentThreadId(), program_.dwThreadId, TRUE);
    ::SetFocus(control);
    ::AttachThreadInput(::GetCurrentThreadId(), program_.dwThreadId, FALSE);
  }
  // A key pressed in `control`, as the keyboard sends it there: the program handles it in
  // its own time, after what was posted before.
  void Press(HWND control, WPARAM key) const {
    ::PostMessageW(control, WM_KEYDOWN, key, 1);
    ::PostMessageW(control, WM_KEYUP, key, 0xC0000001);
  }
  void Command(int id) const { ::PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  HWND Dialog(std::wstring title = {}) const {
    const DWORD thread = program_.dwThreadId;
    return WaitFor([&] { return TopWindow(thread, L"#32770", title); });
  }

  PROCESS_INFORMATION program_{};
  HWND window_ = nullptr;
};

TEST_F(Win32Window, ThinsAndSavesABackupAsTheCommandLineDoes) {
  const std::filesystem::path backup = DataFile("machining-center-30i.txt");
  const TempDir folder;
  std::filesystem::create_directory(folder / "comments");
  // The window's comment choice at start is the Japanese one, and it finds no comment file.
  Habuki habuki;
  habuki.commentFolder = folder / "comments";
  ASSERT_EQ(
      habuki.Run({"-c", "ja", "-o", (folder / "expected.txt").string(), backup.string()}).status,
      0);
  const std::string expected = ReadBytes(folder / "expected.txt");
  ASSERT_GE(expected.size(), 2u);

  Start(backup);
  const std::wstring version = std::to_wstring(kVersionMajor) + L"." +
                               std::to_wstring(kVersionMinor) + L"." +
                               std::to_wstring(kVersionRevision);
  EXPECT_EQ(TextOf(window_), L"ハブキ丸 Ver" + version);
  const std::wstring original = WithoutFinalBreak(AsShown(ReadBytes(backup)));
  EXPECT_EQ(FilledText(Control(kText1), original), original);
  EXPECT_EQ(::IsDlgButtonChecked(window_, kOption1), BST_CHECKED);
  EXPECT_TRUE(TextOf(Control(kText2)).empty());

  DWORD_PTR ignored = 0;
  ASSERT_TRUE(
      ::SendMessageTimeoutW(Control(kCommand1), BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &ignored));
  // The pane shows the result; the file ends it with CR LF.
  const std::wstring shown = WithoutFinalBreak(AsShown(expected));
  EXPECT_EQ(FilledText(Control(kText2), shown), shown);
  EXPECT_EQ(TextOf(Control(kCommand1)), L"ハブキ");

  // In either pane Escape changes nothing, and Tab then moves on to the next control.
  for (const auto& [pane, next] : {std::pair{kText1, kText2}, std::pair{kText2, kOption1}}) {
    FocusOn(Control(pane));
    Press(Control(pane), VK_ESCAPE);
    Press(Control(pane), VK_TAB);
    const HWND focus = WaitFor([&] { return Focus() == Control(next) ? Focus() : nullptr; });
    ASSERT_TRUE(::IsWindow(window_)) << "Escape in pane " << pane << " closed the window";
    EXPECT_EQ(focus, Control(next)) << "Tab in pane " << pane;
  }
  EXPECT_EQ(WithoutFinalBreak(TextOf(Control(kText2))), shown);

  Command(kMnuHozon);
  HWND save = Dialog();
  ASSERT_NE(save, nullptr) << "no save dialog appeared";
  HWND name = FileNameBox(save);
  ASSERT_NE(name, nullptr) << "no file name box in the save dialog";
  const std::wstring saved = (folder / "saved.txt").native();
  ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saved.c_str()));
  ::PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(save, IDOK)));
  HWND message = Dialog(L"ハブキ丸");
  ASSERT_NE(message, nullptr) << "no message after the save";
  EXPECT_EQ(TextOf(::GetDlgItem(message, kMessageBoxText)), L"保存しました。");
  ::PostMessageW(message, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(ReadBytes(folder / "saved.txt"), expected);

  Command(kMnuSyuuryou);
  ASSERT_EQ(::WaitForSingleObject(program_.hProcess, 60000), WAIT_OBJECT_0)
      << "the exit command left the program running";
  DWORD status = 1;
  ::GetExitCodeProcess(program_.hProcess, &status);
  EXPECT_EQ(status, 0u);
}

}  // namespace
}  // namespace habuki::test
