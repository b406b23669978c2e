#include "report/xlsx_check.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "core/text/display_text.h"

namespace habuki {

namespace {

// The zip's records, as its format names them.
constexpr std::uint32_t kEndOfDirectory = 0x06054b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::size_t kEndOfDirectorySize = 22;
constexpr std::size_t kDirectoryEntrySize = 46;
constexpr std::size_t kLocalHeaderSize = 30;

std::uint32_t Little(std::string_view bytes, std::size_t at, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = size; i-- > 0;) {
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

// One part of the zip, as its directory tells it.
struct Part {
  std::uint32_t method = 0;
  std::uint32_t crc = 0;
  std::uint32_t packedSize = 0;
  std::uint32_t size = 0;
  std::uint32_t header = 0;  // where its local header starts
};

// The directory: each part by name; empty with `problem` set when it is not whole.
std::map<std::string, Part> ReadDirectory(std::string_view zip, std::string& problem) {
  std::map<std::string, Part> parts;
  const std::size_t end =
      zip.size() >= kEndOfDirectorySize ? zip.size() - kEndOfDirectorySize : std::string_view::npos;
  if (end == std::string_view::npos || Little(zip, end, 4) != kEndOfDirectory) {
    problem = "it does not end with a zip directory (it is cut short)";
    return {};
  }
  const std::uint32_t count = Little(zip, end + 10, 2);
  std::size_t at = Little(zip, end + 16, 4);
  for (std::uint32_t i = 0; i < count; ++i) {
    if (at + kDirectoryEntrySize > end || Little(zip, at, 4) != kDirectoryEntry) {
      problem = "its zip directory is broken at part " + std::to_string(i + 1);
      return {};
    }
    const std::size_t nameSize = Little(zip, at + 28, 2);
    const std::size_t entrySize =
        kDirectoryEntrySize + nameSize + Little(zip, at + 30, 2) + Little(zip, at + 32, 2);
    if (at + entrySize > end) {
      problem = "its zip directory is broken at part " + std::to_string(i + 1);
      return {};
    }
    parts[std::string(zip.substr(at + kDirectoryEntrySize, nameSize))] =
        Part{Little(zip, at + 10, 2), Little(zip, at + 16, 4), Little(zip, at + 20, 4),
             Little(zip, at + 24, 4), Little(zip, at + 42, 4)};
    at += entrySize;
  }
  if (parts.size() != count) problem = "its zip directory names a part twice";
  return parts;
}

// The part's contents, inflated and checked against its size and checksum; none when they are
// not what the directory says.
std::optional<std::string> Inflated(std::string_view zip, const Part& part) {
  const std::size_t header = part.header;
  if (header + kLocalHeaderSize > zip.size() || Little(zip, header, 4) != kLocalHeader) {
    return std::nullopt;
  }
  const std::size_t data =
      header + kLocalHeaderSize + Little(zip, header + 26, 2) + Little(zip, header + 28, 2);
  if (data + part.packedSize > zip.size()) return std::nullopt;
  const std::string_view packed = zip.substr(data, part.packedSize);
  std::string contents(part.size, '\0');
  if (part.method == 0) {
    if (packed.size() != part.size) return std::nullopt;
    contents.assign(packed);
  } else if (part.method == Z_DEFLATED) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(contents.data());
    stream.avail_out = static_cast<uInt>(contents.size());
    const int inflated = inflate(&stream, Z_FINISH);
    const bool whole = inflated == Z_STREAM_END && stream.total_out == part.size;
    inflateEnd(&stream);
    if (!whole) return std::nullopt;
  } else {
    return std::nullopt;
  }
  const auto crc =
      crc32(0, reinterpret_cast<const Bytef*>(contents.data()), static_cast<uInt>(contents.size()));
  if (crc != part.crc) return std::nullopt;
  return contents;
}

// The parts that [Content_Types].xml names: PartName="/xl/workbook.xml" and the like.
std::vector<std::string> NamedParts(std::string_view types) {
  std::vector<std::string> names;
  constexpr std::string_view kPartName = "PartName=\"/";
  for (std::size_t at = types.find(kPartName); at != std::string_view::npos;
       at = types.find(kPartName, at)) {
    at += kPartName.size();
    names.emplace_back(types.substr(at, types.find('"', at) - at));
  }
  return names;
}

// The number of a sheet's last row, from its XML: <row r="57014" ...>.
std::optional<std::size_t> LastRow(std::string_view sheet) {
  const std::size_t row = sheet.rfind("<row r=\"");
  if (row == std::string_view::npos) return std::nullopt;
  std::size_t number = 0;
  for (std::size_t at = row + 8; at < sheet.size() && sheet[at] >= '0' && sheet[at] <= '9'; ++at) {
    number = number * 10 + static_cast<std::size_t>(sheet[at] - '0');
  }
  return number;
}

std::string CheckSheet(std::string_view name, std::string_view sheet, std::size_t rows) {
  const std::string_view end = "</worksheet>";
  const std::size_t close = sheet.rfind(end);
  if (close == std::string_view::npos ||
      sheet.find_first_not_of("\r\n", close + end.size()) != std::string_view::npos) {
    return std::string(name) + " is cut short";
  }
  const std::optional<std::size_t> last = LastRow(sheet);
  if (last != rows) {
    return std::string(name) + " ends at row " + (last ? std::to_string(*last) : "none") +
           ", where " + std::to_string(rows) + " rows were written";
  }
  return {};
}

}  // namespace

std::string CheckWorkbook(std::string_view bytes, std::span<const std::size_t> sheetRows) {
  std::string problem;
  const std::map<std::string, Part> parts = ReadDirectory(bytes, problem);
  if (!problem.empty()) return problem;
  std::map<std::string, std::string> contents;
  for (const auto& [name, part] : parts) {
    std::optional<std::string> inflated = Inflated(bytes, part);
    if (!inflated) return "its part " + EscapeControls(name) + " is damaged";
    if (!IsUtf8(*inflated)) return "its part " + EscapeControls(name) + " is not UTF-8";
    contents[name] = std::move(*inflated);
  }
  const auto types = contents.find("[Content_Types].xml");
  if (types == contents.end()) return "it has no [Content_Types].xml";
  for (const std::string& name : NamedParts(types->second)) {
    if (!contents.contains(name)) return "its part " + EscapeControls(name) + " is missing";
  }
  for (std::size_t i = 0; i < sheetRows.size(); ++i) {
    const std::string name = "xl/worksheets/sheet" + std::to_string(i + 1) + ".xml";
    const auto sheet = contents.find(name);
    if (sheet == contents.end()) return "its part " + name + " is missing";
    if (std::string why = CheckSheet(name, sheet->second, sheetRows[i]); !why.empty()) return why;
  }
  return {};
}

}  // namespace habuki
