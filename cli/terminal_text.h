#pragma once

#include <string>
#include <string_view>

namespace habuki {

// CP932 bytes shown as UTF-8, for a terminal only. Bytes that are no CP932 character show as
// U+FFFD; nothing is converted on the way to a file or pipe.
std::string Cp932ToUtf8(std::string_view bytes);

}  // namespace habuki
