#include "core/table/parameter_names.h"

#include <algorithm>

#include "core/table/row_order.h"
#include "core/text/byte_order_mark.h"
#include "core/text/display_text.h"
#include "core/text/text_primitives.h"

namespace habuki {

namespace {

constexpr std::size_t kMostDigits = 9;

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), IsDigit<char>);
}

// The file's text as UTF-8, its byte order mark left out.
std::string AsUtf8(std::string_view bytes) {
  bytes.remove_prefix(ByteOrderMarkLength(bytes));
  return IsUtf8(bytes) ? std::string(bytes) : Cp932ToUtf8(bytes);
}

// The line that starts `text`, taken off it with its line break; the CR of a CR LF goes with it.
std::string_view TakeLine(std::string_view& text) {
  const std::size_t end = std::min(text.find('\n'), text.size());
  std::string_view line = text.substr(0, end);
  text.remove_prefix(std::min(end + 1, text.size()));
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

bool SaysNothing(std::string_view line) {
  line = WithoutBlanks(line);
  return line.empty() || line.front() == '#';
}

// A name as a spreadsheet quotes one: the quotes around it go, and a doubled quote inside is one.
// A name that is not quoted that way throughout is a name as written.
std::string Unquoted(std::string_view name) {
  if (name.size() < 2 || name.front() != '"' || name.back() != '"') return std::string(name);
  std::string unquoted;
  for (std::size_t i = 1; i + 1 < name.size(); ++i) {
    if (name[i] == '"' && (i + 2 == name.size() || name[++i] != '"')) return std::string(name);
    unquoted += name[i];
  }
  return unquoted;
}

// What a line that names a parameter says, or what is wrong with it.
struct NamingLine {
  std::string_view number;
  std::string name;
  std::string problem;  // empty for a good line
};

NamingLine ReadLine(std::string_view line) {
  const std::size_t comma = line.find(',');
  if (comma == std::string_view::npos) return {{}, {}, "no comma between the number and the name"};
  const std::string_view number = WithoutBlanks(line.substr(0, comma));
  if (number.empty()) return {{}, {}, "no number before the comma"};
  if (number.size() > kMostDigits || !AllDigits(number)) {
    return {{}, {}, "\"" + EscapeControls(number) + "\" is no number of 1 to 9 digits"};
  }
  std::string name = Unquoted(WithoutBlanks(line.substr(comma + 1)));
  if (name.empty()) return {{}, {}, "no name after the comma"};
  return {number, std::move(name), {}};
}

}  // namespace

bool ParameterNames::ByNumber::operator()(std::string_view a, std::string_view b) const {
  return CompareNumbers(a, b) < 0;
}

std::optional<std::string_view> ParameterNames::NameOf(std::string_view number) const {
  // Only digits are keys: CompareNumbers orders digits alone.
  if (number.empty() || !AllDigits(number)) return std::nullopt;
  const auto named = names_.find(number);
  if (named == names_.end()) return std::nullopt;
  return named->second.name;
}

std::string ParameterNames::Add(std::string_view number, std::string name, std::size_t line) {
  const auto [named, added] = names_.try_emplace(std::string(number), Named{std::move(name), line});
  if (added) return {};
  return "parameter " + std::string(number) + " is named on line " +
         std::to_string(named->second.line) + " already";
}

std::string NamesFileError::Message() const {
  return "line " + std::to_string(line) + ": " + problem;
}

ParameterNamesReading ParseParameterNames(std::string_view bytes) {
  ParameterNamesReading reading;
  const std::string text = AsUtf8(bytes);
  std::string_view rest = text;
  for (std::size_t line = 1; !rest.empty(); ++line) {
    const std::string_view content = TakeLine(rest);
    if (SaysNothing(content)) continue;
    NamingLine naming = ReadLine(content);
    if (naming.problem.empty()) {
      naming.problem = reading.names.Add(naming.number, std::move(naming.name), line);
    }
    if (!naming.problem.empty()) reading.errors.push_back({line, std::move(naming.problem)});
  }
  if (!reading.errors.empty()) reading.names = {};
  return reading;
}

}  // namespace habuki
