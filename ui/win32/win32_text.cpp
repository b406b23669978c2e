#include "ui/win32/win32_text.h"

#include "core/text/display_text.h"
#include "core/text/utf16_text.h"

namespace habuki::ui::win32 {

std::wstring PaneText(std::string_view cp932) {
  const std::wstring decoded = WideFromUtf8(Cp932ToUtf8(cp932));
  std::wstring shown;
  shown.reserve(decoded.size() + decoded.size() / 32);
  for (std::size_t i = 0; i < decoded.size(); ++i) {
    const wchar_t character = decoded[i];
    if (character == L'\r' || character == L'\n') {
      shown.append(L"\r\n");
      if (character == L'\r' && i + 1 < decoded.size() && decoded[i + 1] == L'\n') ++i;
    } else {
      shown.push_back(character == L'\0' ? L'\u2400' : character);
    }
  }
  return shown;
}

}  // namespace habuki::ui::win32
