#pragma once

#include <string>
#include <string_view>

namespace habuki {

// CP932 bytes as UTF-8, for showing a text to a person: on a terminal, in a message, in the
// window's panes. Bytes that are no CP932 character show as U+FFFD. Nothing that is saved or
// written to a file or pipe is ever converted.
std::string Cp932ToUtf8(std::string_view bytes);

}  // namespace habuki
