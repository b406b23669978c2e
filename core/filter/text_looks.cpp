#include "core/filter/text_looks.h"

#include <algorithm>

#include "core/text/byte_order_mark.h"
#include "core/text/text_primitives.h"

namespace habuki {

namespace {

// A text file holds no control byte but the line breaks, tabs, Ctrl-Z and escape; the first
// kilobytes tell.
bool LooksBinary(std::string_view bytes) {
  const std::string_view start = bytes.substr(0, 4096);
  return std::any_of(start.begin(), start.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n' && byte != 0x1A &&
           byte != 0x1B;
  });
}

// A line that starts with a sequence number: "N", digits, then a blank or an address letter.
bool StartsWithSequenceNumber(std::string_view line) {
  line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
  if (line.size() < 3 || line[0] != 'N' || !IsDigit(line[1])) return false;
  const std::size_t end = std::min(line.find_first_not_of("0123456789", 1), line.size());
  return end == line.size() || line[end] == ' ' || (line[end] >= 'A' && line[end] <= 'Z');
}

// Two separators or more in one line, the same ones: a row of a table.
bool LooksLikeRow(std::string_view line) {
  return std::count(line.begin(), line.end(), ',') >= 2 ||
         std::count(line.begin(), line.end(), '\t') >= 2;
}

}  // namespace

TextLooks LooksOf(const Cp932Text& text) {
  std::string_view bytes = text.Bytes();
  if (LooksBinary(bytes)) return {Resemblance::Binary, std::nullopt};
  const std::size_t start = ByteOrderMarkLength(bytes);
  const std::size_t first = bytes.find_first_not_of(" \t\r\n", start);
  if (first != std::string_view::npos && (bytes[first] == '{' || bytes[first] == '[')) {
    return {Resemblance::Json, std::nullopt};
  }
  std::optional<Resemblance> kind;
  std::size_t at = start;
  for (std::size_t lines = 0; at < bytes.size() && lines < 1000 && !kind; ++lines) {
    const std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
    const std::string_view line = bytes.substr(at, end - at);
    if (lines == 0 && LooksLikeRow(line)) kind = Resemblance::Table;
    if (StartsWithSequenceNumber(line)) kind = Resemblance::Program;
    if (!kind) at = std::min(bytes.find_first_not_of("\r\n", end), bytes.size());
  }
  if (!kind) return {Resemblance::Text, std::nullopt};
  // The place of the line that shows it: counted in characters where the text has pairs.
  const auto position = static_cast<Pos>(
      text.HasDoubleByteCharacters() ? DecodeCp932(bytes.substr(0, at)).size() : at);
  return {*kind, text.HasDoubleByteCharacters() ? PlaceIn(CodeView(text.codes()), position + 1)
                                                : PlaceIn(bytes, position + 1)};
}

}  // namespace habuki
