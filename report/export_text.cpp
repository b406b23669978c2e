#include "report/export_text.h"

#include <algorithm>
#include <cstdio>

#include "core/text/display_text.h"

namespace habuki {

namespace {

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

void AppendCsvField(std::string& out, std::string_view text) {
  const std::string escaped = IsUtf8(text) ? std::string() : Utf8Escaped(text);
  const std::string_view field = escaped.empty() ? text : escaped;
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
      // "\x95", as every table writes a byte that is no UTF-8, its backslash escaped.
      out += '\\' + Utf8Escaped(utf8.substr(0, 1));
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
