#pragma once

#include <string>
#include <string_view>

namespace habuki::ui::win32 {

// What a text pane shows for the CP932 bytes it is given: each CR LF, lone CR and lone LF made
// one CR LF, the only line break an EDIT control draws, and every other character kept (a NUL,
// which would end the control's text there, shown as the symbol for it).
std::wstring PaneText(std::string_view cp932);

}  // namespace habuki::ui::win32
