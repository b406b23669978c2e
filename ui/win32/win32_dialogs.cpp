#include "ui/win32/win32_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/text/utf16_text.h"

namespace habuki::ui::win32 {

namespace {

// The file dialogs take the "|"-separated pairs with each "|" a NUL, ended by two NULs.
std::wstring DialogFilter(std::string_view fileTypes) {
  std::wstring filter = WideFromUtf8(fileTypes);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.push_back(L'\0');
  return filter;
}

// Room for the longest path Windows takes, prefilled with the name Form1 offers.
std::vector<wchar_t> FileNameBuffer(const std::filesystem::path& offered) {
  std::vector<wchar_t> buffer(32768, L'\0');
  const std::wstring& name = offered.native();
  std::copy_n(name.begin(), std::min(name.size(), buffer.size() - 1), buffer.begin());
  return buffer;
}

std::optional<std::filesystem::path> RunDialog(HWND owner, DialogSettings& settings, DWORD flags,
                                               BOOL(WINAPI* dialog)(LPOPENFILENAMEW)) {
  const std::wstring filter = DialogFilter(settings.fileTypes);
  std::vector<wchar_t> file = FileNameBuffer(settings.fileName);
  const std::wstring folder = settings.folder.native();
  OPENFILENAMEW options{};
  options.lStructSize = sizeof options;
  options.hwndOwner = owner;
  options.lpstrFilter = filter.c_str();
  options.nFilterIndex = 1;
  options.lpstrFile = file.data();
  options.nMaxFile = static_cast<DWORD>(file.size());
  options.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  // The program's folders are absolute paths: the dialog need not move the current folder.
  options.Flags = flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (!dialog(&options)) return std::nullopt;
  settings.fileName = std::filesystem::path(file.data());
  return settings.fileName;
}

}  // namespace

DWORD DialogFlags(const DialogOptions& options) {
  return (options.overwritePrompt ? OFN_OVERWRITEPROMPT : 0) |
         (options.hideReadOnly ? OFN_HIDEREADONLY : 0) |
         (options.pathMustExist ? OFN_PATHMUSTEXIST : 0) |
         (options.fileMustExist ? OFN_FILEMUSTEXIST : 0);
}

// The open dialog asks for an existing file, whatever options the save left behind.
std::optional<std::filesystem::path> ShowOpenDialog(HWND owner, DialogSettings& settings) {
  return RunDialog(owner, settings, DialogFlags(settings.options) | OFN_FILEMUSTEXIST,
                   ::GetOpenFileNameW);
}

// The save options ask for an existing file too, but a result is usually saved under a new
// name: the dialog accepts any file in an existing folder and asks before overwriting.
std::optional<std::filesystem::path> ShowSaveDialog(HWND owner, DialogSettings& settings) {
  return RunDialog(owner, settings, DialogFlags(settings.options) & ~DWORD{OFN_FILEMUSTEXIST},
                   ::GetSaveFileNameW);
}

void ShowMessage(HWND owner, std::string_view text, std::string_view title) {
  ::MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(title).c_str(), MB_OK);
}

}  // namespace habuki::ui::win32
