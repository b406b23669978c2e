#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "core/io/owned_bytes.h"
#include "tests/support/test_support.h"

namespace habuki::test {

// What a real reader, openpyxl, makes of an .xlsx file (see read_xlsx.py): "cells" gives every
// cell of the first sheet, or of `sheet`, as text, a CSV row a row; "styles" what the first
// sheet shows around them and how it prints. Without openpyxl the
// test fails and says what to install: a test of the workbook that reads nothing proves nothing.
inline std::string ReadXlsx(std::string_view what, const std::filesystem::path& file,
                            std::string_view sheet = {}) {
  const TempDir dir;
  std::vector<std::string> arguments{HABUKI_XLSX_READER, std::string(what), file.string()};
  if (!sheet.empty()) arguments.emplace_back(sheet);
  const ChildProcess reader{"/usr/bin/python3", arguments,  dir.path(), {},
                            dir / "out",        dir / "err"};
  const int status = Run(reader);
  EXPECT_EQ(status, 0) << "read_xlsx.py " << what << " " << file << ": " << ReadBytes(dir / "err");
  return ReadBytes(dir / "out");
}

inline std::string ReadXlsx(std::string_view what, const OwnedBytes& workbook) {
  const TempDir dir;
  WriteBytes(dir / "sheet.xlsx", workbook.view());
  return ReadXlsx(what, dir / "sheet.xlsx");
}

}  // namespace habuki::test
