#include <gtest/gtest.h>

#include <array>
#include <string>

#include "cli/xlsx_sheet.h"
#include "tests/cli/posix/read_xlsx.h"

namespace habuki {
namespace {

using Cells = std::array<std::optional<std::string_view>, 3>;

// Read back by a spreadsheet reader, every text is the text given, whatever it looks like; only
// the numeric column holds numbers.
TEST(XlsxSheetRead, EveryCellReadsBackAsItWasGiven) {
  constexpr std::string_view header[] = {"number", "value", "line"};
  constexpr std::size_t numeric[] = {2};
  XlsxSheet sheet(header, numeric);
  sheet.AddRow(Cells{"01005", "00000010", "2"});
  sheet.AddRow(Cells{"=1+1", "360.0", "12"}, std::array{false, true, true});
  sheet.AddRow(Cells{"-0", "+5", std::nullopt}, std::array{true, false, true});
  sheet.AddRow(Cells{"1+1", "日本語ｶﾅ", "1e3"});
  sheet.AddRow(Cells{"say \"5\", 6", "TRUE", "007"});
  const XlsxWorkbook workbook = sheet.Finish();
  ASSERT_EQ(workbook.error, "");
  EXPECT_EQ(test::ReadXlsx("cells", workbook.bytes),
            "number,value,line\r\n"
            "01005,00000010,2\r\n"
            "=1+1,360.0,12\r\n"
            "-0,+5,\r\n"
            "1+1,日本語ｶﾅ,1e3\r\n"
            "\"say \"\"5\"\", 6\",TRUE,007\r\n");
  EXPECT_EQ(test::ReadXlsx("styles", workbook.bytes),
            "freeze A2\n"
            "filter A1:C6\n"
            "header bold True\n"
            "column number width 13 kinds s:@\n"
            "column value width 11 kinds s:@\n"
            "column line width 7 kinds n:General s:@\n"
            "shaded B3 C3 A4 C4\n");
}

}  // namespace
}  // namespace habuki
