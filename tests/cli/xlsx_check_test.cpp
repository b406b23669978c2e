#include "report/xlsx_check.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "report/xlsx_sheet.h"

namespace habuki {
namespace {

using Parts = std::vector<std::pair<std::string, std::string>>;

void AppendLittle(std::string& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

// A zip of `parts`, stored without compression, as a workbook's parts would stand in one.
std::string StoredZip(const Parts& parts) {
  std::string zip, directory;
  for (const auto& [name, contents] : parts) {
    const auto crc = static_cast<std::uint32_t>(crc32(
        0, reinterpret_cast<const Bytef*>(contents.data()), static_cast<uInt>(contents.size())));
    const auto size = static_cast<std::uint32_t>(contents.size());
    const auto offset = static_cast<std::uint32_t>(zip.size());
    for (std::string* record : {&zip, &directory}) {
      const bool central = record == &directory;
      AppendLittle(*record, central ? 0x02014b50 : 0x04034b50, 4);
      if (central) AppendLittle(*record, 20, 2);  // made by
      for (const std::uint32_t field : {20u, 0u, 0u, 0u, 0u}) AppendLittle(*record, field, 2);
      for (const std::uint32_t field : {crc, size, size}) AppendLittle(*record, field, 4);
      AppendLittle(*record, static_cast<std::uint32_t>(name.size()), 2);
      AppendLittle(*record, 0, 2);
      if (central) {
        for (int field = 0; field < 3; ++field) AppendLittle(*record, 0, 2);
        AppendLittle(*record, 0, 4);
        AppendLittle(*record, offset, 4);
      }
      *record += name;
    }
    zip += contents;
  }
  const auto count = static_cast<std::uint32_t>(parts.size());
  const auto start = static_cast<std::uint32_t>(zip.size());
  zip += directory;
  AppendLittle(zip, 0x06054b50, 4);
  AppendLittle(zip, 0, 4);
  AppendLittle(zip, count, 2);
  AppendLittle(zip, count, 2);
  AppendLittle(zip, static_cast<std::uint32_t>(directory.size()), 4);
  AppendLittle(zip, start, 4);
  AppendLittle(zip, 0, 2);
  return zip;
}

const std::string kTypes =
    "<Types><Override PartName=\"/xl/workbook.xml\"/>"
    "<Override PartName=\"/xl/worksheets/sheet1.xml\"/></Types>";
const std::string kSheet =
    "<worksheet><sheetData><row r=\"1\"><c/></row><row r=\"2\"><c/></row></sheetData>"
    "</worksheet>";

// A workbook is given only when it is exactly what was written; each way a library's unchecked
// writes or a damaged file can make it otherwise is named.
TEST(CheckWorkbook, NamesWhatIsNotWhole) {
  const std::array<std::size_t, 1> twoRows{2};
  const Parts whole{{"[Content_Types].xml", kTypes},
                    {"xl/workbook.xml", "<workbook/>"},
                    {"xl/worksheets/sheet1.xml", kSheet}};
  EXPECT_EQ(CheckWorkbook(StoredZip(whole), twoRows), "");
  const std::string zip = StoredZip(whole);
  std::string flipped = zip;
  flipped[zip.find("<workbook/>") + 3] ^= 1;
  const std::pair<std::string, std::string> cases[] = {
      {zip.substr(0, zip.size() - 10), "it does not end with a zip directory (it is cut short)"},
      {flipped, "its part xl/workbook.xml is damaged"},
      {StoredZip({whole[0], whole[2]}), "its part xl/workbook.xml is missing"},
      {StoredZip({whole[0], whole[1], {"xl/worksheets/sheet1.xml", kSheet.substr(0, 60)}}),
       "xl/worksheets/sheet1.xml is cut short"},
      {StoredZip({whole[0], whole[1], {"xl/worksheets/sheet1.xml", "<worksheet></worksheet>"}}),
       "xl/worksheets/sheet1.xml ends at row none, where 2 rows were written"},
      {StoredZip({whole[0], {"xl/workbook.xml", "\x95\x73"}, whole[2]}),
       "its part xl/workbook.xml is not UTF-8"},
  };
  for (const auto& [bytes, problem] : cases) {
    EXPECT_EQ(CheckWorkbook(bytes, twoRows), problem);
  }
  EXPECT_EQ(CheckWorkbook(zip, std::array<std::size_t, 1>{3}),
            "xl/worksheets/sheet1.xml ends at row 2, where 3 rows were written");
}

// What libxlsxwriter writes passes, and is checked against the rows it was given.
TEST(CheckWorkbook, PassesWhatTheLibraryWrote) {
  constexpr std::string_view header[] = {"number"};
  XlsxSheet sheet(header);
  for (int i = 0; i < 1000; ++i) sheet.AddRow(std::array<std::optional<std::string_view>, 1>{"1"});
  const XlsxWorkbook workbook = sheet.Finish();
  ASSERT_EQ(workbook.error, "");
  EXPECT_EQ(CheckWorkbook(workbook.bytes.view(), std::array<std::size_t, 1>{1001}), "");
  EXPECT_NE(CheckWorkbook(workbook.bytes.view(), std::array<std::size_t, 1>{1000}), "");
}

}  // namespace
}  // namespace habuki
