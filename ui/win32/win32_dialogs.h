#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string_view>

#include "ui/form1_view.h"

namespace habuki::ui::win32 {

// The common file dialogs with the settings Form1 gives them; the chosen full path is also left
// in settings.fileName. Nothing when cancelled.
std::optional<std::filesystem::path> ShowOpenDialog(HWND owner, DialogSettings& settings);
std::optional<std::filesystem::path> ShowSaveDialog(HWND owner, DialogSettings& settings);

// The common dialog's flags (OFN_...) for what Form1 asks of a dialog.
DWORD DialogFlags(const DialogOptions& options);

// A modal message box with an OK button and no icon.
void ShowMessage(HWND owner, std::string_view text, std::string_view title);

}  // namespace habuki::ui::win32
