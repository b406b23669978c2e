#include "report/export_text.h"

#include <gtest/gtest.h>

#include <array>

namespace habuki {
namespace {

std::string Csv(std::string_view field) {
  std::string out;
  AppendCsvField(out, field);
  return out;
}

std::string Json(std::string_view text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

TEST(ExportText, CsvQuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(Csv("00000010"), "00000010");
  EXPECT_EQ(Csv("ハブキ"), "ハブキ");
  EXPECT_EQ(Csv("1,5"), "\"1,5\"");
  EXPECT_EQ(Csv("say \"5\""), "\"say \"\"5\"\"\"");
  EXPECT_EQ(Csv("two\r\nlines"), "\"two\r\nlines\"");
  EXPECT_EQ(Csv(""), "");
}

TEST(ExportText, JsonStringsAreAlwaysValid) {
  EXPECT_EQ(Json("00000010"), "\"00000010\"");
  EXPECT_EQ(Json("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(Json(std::string("\x1B[2J\n\0", 6)), "\"\\u001B[2J\\n\\u0000\"");
  EXPECT_EQ(Json("ハブキ"), "\"ハブキ\"");
  // Bytes that are no UTF-8: a lone trail byte, a cut sequence, an overlong "/", a surrogate;
  // each written \xHH, as the CSV writes it.
  EXPECT_EQ(Json("\x80 \xE3\x83 \xC0\xAF \xED\xA0\x80"),
            "\"\\\\x80 \\\\xE3\\\\x83 \\\\xC0\\\\xAF \\\\xED\\\\xA0\\\\x80\"");
  std::string csv;
  AppendCsvRow(csv, std::array<std::string_view, 2>{"\x8B\x40\x8A\x42.txt", "a,\x95"});
  EXPECT_EQ(csv, "\\x8B@\\x8AB.txt,\"a,\\x95\"\r\n");
}

}  // namespace
}  // namespace habuki
