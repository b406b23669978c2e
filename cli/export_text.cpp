#include "cli/export_text.h"

#include <algorithm>
#include <cstdio>

namespace habuki {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The length of the UTF-8 sequence at the start of `text`, 0 when it is not a valid one.
std::size_t Utf8Length(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  const std::size_t length = lead < 0x80                    ? 1
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms, surrogates and code points past U+10FFFF are no UTF-8 either.
  if ((lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xED && byte(1) > 0x9F) ||
      (lead == 0xF0 && byte(1) < 0x90) || (lead == 0xF4 && byte(1) > 0x8F)) {
    return 0;
  }
  return length;
}

// Bytes that a JSON string cannot hold as they are, or that may start a sequence to check.
bool NeedsCare(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte >= 0x80 || c == '"' || c == '\\';
}

void AppendJsonEscape(std::string& out, char c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
  }
  char escaped[8];
  std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned char>(c));
  out += escaped;
}

}  // namespace

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void AppendJsonString(std::string& out, std::string_view utf8) {
  out += '"';
  while (!utf8.empty()) {
    // Nearly every field is plain ASCII with nothing to escape: taken as one run.
    const auto plain =
        static_cast<std::size_t>(std::find_if(utf8.begin(), utf8.end(), NeedsCare) - utf8.begin());
    out.append(utf8.substr(0, plain));
    utf8.remove_prefix(plain);
    if (utf8.empty()) break;
    const std::size_t length = Utf8Length(utf8);
    if (length == 0) {
      out += kReplacement;
      utf8.remove_prefix(1);
      continue;
    }
    const char c = utf8.front();
    if (length == 1 && (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20)) {
      AppendJsonEscape(out, c);
    } else {
      out.append(utf8.substr(0, length));
    }
    utf8.remove_prefix(length);
  }
  out += '"';
}

void AppendCsvRow(std::string& out, std::span<const std::string_view> fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i != 0) out += ',';
    AppendCsvField(out, fields[i]);
  }
  out += "\r\n";
}

JsonRows::JsonRows(std::span<const std::string_view> columns,
                   std::initializer_list<std::string_view> numbers) {
  for (const std::string_view column : columns) {
    numbers_.push_back(std::find(numbers.begin(), numbers.end(), column) != numbers.end());
    std::string& key = keys_.emplace_back(keys_.empty() ? "" : ", ");
    AppendJsonString(key, column);
    key += ": ";
  }
}

void JsonRows::Append(std::string& out, std::span<const std::optional<std::string_view>> values) {
  out += empty_ ? "\n  {" : ",\n  {";
  empty_ = false;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    out += keys_[i];
    if (values[i] && numbers_[i]) {
      out += *values[i];
    } else if (values[i]) {
      AppendJsonString(out, *values[i]);
    } else {
      out += "null";
    }
  }
  out += '}';
}

void JsonRows::End(std::string& out) const { out += empty_ ? "]" : "\n]"; }

}  // namespace habuki
