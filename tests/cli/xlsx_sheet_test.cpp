#include "report/xlsx_sheet.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace habuki {
namespace {

using Cells = std::array<std::optional<std::string_view>, 2>;
constexpr std::string_view kHeader[] = {"number", "value"};
constexpr std::string_view kTooManyRows =
    "the table has more rows than a sheet holds (1,048,576, the header's included): row "
    "1,048,577 cannot be written";

TEST(XlsxSheet, GivesTheBytesOfAWorkbook) {
  XlsxSheet sheet(kHeader);
  sheet.AddRow(Cells{"01005", "00000010"});
  const XlsxWorkbook workbook = sheet.Finish();
  EXPECT_EQ(workbook.error, "");
  EXPECT_EQ(workbook.bytes.view().substr(0, 4), "PK\x03\x04");  // a zip, as every .xlsx
}

// A sheet holds 1,048,576 rows, and a cell 32,767 characters (not bytes): past either the
// workbook is not made, and the error says which row.
TEST(XlsxSheet, WhatASheetCannotHoldIsAnErrorThatSaysWhere) {
  std::string fullOfKana;
  for (std::size_t i = 0; i < XlsxSheet::kMaxCellCharacters; ++i) fullOfKana += "ア";
  XlsxSheet longest(kHeader);
  longest.AddRow(Cells{std::string_view(fullOfKana), "1"});
  EXPECT_EQ(longest.Finish().error, "");

  const std::string tooLong(XlsxSheet::kMaxCellCharacters + 1, 'x');
  XlsxSheet cell(kHeader);
  cell.AddRow(Cells{"1", "1"});
  cell.AddRow(Cells{"2", std::string_view(tooLong)});
  const XlsxWorkbook refused = cell.Finish();
  EXPECT_EQ(refused.error,
            "row 3, column value: the text is longer than a cell holds (32,767 characters)");
  EXPECT_EQ(refused.bytes.size, 0u);

  using namespace std::string_view_literals;
  XlsxSheet nul(kHeader);
  nul.AddRow(Cells{"1",
                   "12\0"
                   "34"sv});
  EXPECT_EQ(nul.Finish().error,
            "row 2, column value: the text holds a NUL character, which a cell cannot hold");

  constexpr std::string_view oneColumn[] = {"line"};
  constexpr std::size_t numeric[] = {0};
  for (const std::size_t rows : {XlsxSheet::kMaxRows - 1, XlsxSheet::kMaxRows}) {
    XlsxSheet sheet(oneColumn, numeric);
    const std::optional<std::string_view> line[] = {"2"};
    for (std::size_t row = 0; row < rows; ++row) sheet.AddRow(line);
    const XlsxWorkbook workbook = sheet.Finish();
    EXPECT_EQ(workbook.error, rows < XlsxSheet::kMaxRows ? "" : kTooManyRows);
    EXPECT_EQ(workbook.bytes.size == 0, rows == XlsxSheet::kMaxRows);
  }
  // Told beforehand, it fails before writing a row.
  XlsxSheet told(kHeader);
  EXPECT_TRUE(told.Fits(XlsxSheet::kMaxRows - 1));
  EXPECT_FALSE(told.Fits(XlsxSheet::kMaxRows));
  EXPECT_EQ(told.Finish().error, kTooManyRows);
}

}  // namespace
}  // namespace habuki
