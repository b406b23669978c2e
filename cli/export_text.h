#pragma once

#include <string>
#include <string_view>

namespace habuki {

// One CSV field as RFC 4180 has it: quoted, with quotes doubled, when it holds a comma, a quote,
// CR or LF; as it is otherwise.
void AppendCsvField(std::string& out, std::string_view field);

// A JSON string, quotes included: quotes, backslashes and control characters escaped; bytes that
// are not UTF-8 (a file name may hold any) written as U+FFFD, so the document stays valid.
void AppendJsonString(std::string& out, std::string_view utf8);

}  // namespace habuki
