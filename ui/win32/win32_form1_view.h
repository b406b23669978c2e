#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>

#include "ui/form1.h"
#include "ui/form1_view.h"
#include "ui/win32/win32_pane_filler.h"

namespace habuki::ui::win32 {

// Form1 as a Win32 window: the window that owns the controls and menus, shows what Form1's
// commands tell it and hands them every click, press, drop and close. Wide calls throughout, so
// that Japanese shows whatever the system's code page.
class Win32Form1View final : public Form1View {
 public:
  Win32Form1View(HINSTANCE instance, WindowEnvironment environment);
  ~Win32Form1View() override;
  Win32Form1View(const Win32Form1View&) = delete;
  Win32Form1View& operator=(const Win32Form1View&) = delete;

  Form1& form() { return *form_; }
  void Show(int how);
  // The window's message loop, with its keyboard shortcuts and Tab between the controls; gives
  // the program's exit status.
  int Run();

  void SetTitle(std::string_view title) override;
  void SetPaneText(Pane pane, std::string_view cp932) override;
  bool PaneIsEmpty(Pane pane) const override;
  void SetButtonCaption(std::string_view caption) override;
  void SetChecked(MenuItem item, bool checked) override;
  void SelectOption(FormatKind kind) override;
  std::optional<FormatKind> SelectedOption() const override;
  void ShowBusy(bool busy) override;
  std::optional<std::filesystem::path> ShowOpenDialog(DialogSettings& settings) override;
  std::optional<std::filesystem::path> ShowSaveDialog(DialogSettings& settings) override;
  void ShowMessage(std::string_view text, std::string_view title) override;
  const WindowEnvironment& Environment() const override { return environment_; }
  void EndProgramNow() override;
  void TellClosingProblem(std::string_view text) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK Command1Proc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR self);
  // Both panes: Tab and Shift+Tab move on to the next control and Escape does nothing, as in a
  // dialog; the left pane takes dropped files.
  static LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR self);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id);
  PaneFiller& FillerOf(Pane pane) { return pane == Pane::Text1 ? text1Filler_ : text2Filler_; }
  void ContinueFilling();
  void OnDrop(HDROP drop);

  // Made in win32_layout.cpp.
  void CreateControls(HINSTANCE instance);
  void CreateMenus();
  void PlaceControls(UINT dpi);
  void UseFonts(UINT dpi);
  HWND Control(int id) const { return ::GetDlgItem(window_, id); }

  HWND window_ = nullptr;
  HMENU menu_ = nullptr;
  HACCEL shortcuts_ = nullptr;
  HFONT font_ = nullptr;
  HFONT labelFont_ = nullptr;
  HFONT frameFont_ = nullptr;
  HWND focused_ = nullptr;  // the control that has the keyboard when the window is active
  bool busy_ = false;
  // The panes' texts go in piece by piece, on a timer that runs while one is left to add.
  PaneFiller text1Filler_{nullptr};
  PaneFiller text2Filler_{nullptr};
  WindowEnvironment environment_;
  std::optional<Form1> form_;  // made once the controls stand, since it sets them at once
};

}  // namespace habuki::ui::win32
