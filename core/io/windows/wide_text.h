#pragma once

#include <string>
#include <string_view>

namespace habuki {

// The conversions Windows' wide calls need. Bytes that are not valid in the source encoding
// become U+FFFD rather than being dropped.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
// Text in code page 932, as parameter files hold it.
std::wstring WideFromCp932(std::string_view cp932);

}  // namespace habuki
