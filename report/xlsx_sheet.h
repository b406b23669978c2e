#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/io/owned_bytes.h"
#include "core/io/scratch_file.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace habuki {

// A finished workbook, or what kept it from being made.
struct XlsxWorkbook {
  OwnedBytes bytes;   // the .xlsx file's bytes; none on an error
  std::string error;  // empty when it was made
};

// A workbook whose first sheet, "Parameters", holds one table, for a spreadsheet program to open
// as it is; a second sheet of notes may follow (AddTextSheet). A
// spreadsheet takes text that looks like a number, a date or a formula for one and changes it
// (01005 becomes 1005, 360.0 becomes 360, =1+1 becomes 2): so every cell is text, shown as text
// ("@"), except in the columns named numeric (a line), which hold numbers. The header row is
// bold and frozen, an autofilter covers the table, and each column is as wide as its longest
// text, up to a limit. It prints landscape, as wide as a page, the header row and the first
// `repeatedColumns` columns (the key of a row) on every page.
//
// Rows are streamed to the library's temporary files as they come, so memory stays flat
// whatever the table's size; the workbook is made in a ScratchFile and read back. A row past
// what a sheet holds, or a cell past what one holds, is an error that Finish reports: no
// workbook is given then.
class XlsxSheet {
 public:
  // A sheet's rows, the header's included, and a cell's characters.
  static constexpr std::size_t kMaxRows = 1048576;
  static constexpr std::size_t kMaxCellCharacters = 32767;

  explicit XlsxSheet(std::span<const std::string_view> header,
                     std::span<const std::size_t> numericColumns = {},
                     std::size_t repeatedColumns = 0);
  XlsxSheet(const XlsxSheet&) = delete;
  XlsxSheet& operator=(const XlsxSheet&) = delete;
  ~XlsxSheet();

  // One row of UTF-8 cells, as many as the header's (std::nullopt: an empty cell). The cells
  // marked in `shaded` (as many, or none at all) are filled with a light colour.
  void AddRow(std::span<const std::optional<std::string_view>> cells,
              std::span<const bool> shaded = {});

  // A sheet named `name` after the table's, of short UTF-8 texts, its first row bold; for what
  // the table does not say itself. Once, after the table's last row.
  void AddTextSheet(std::string_view name, const std::vector<std::vector<std::string>>& rows);

  // Whether `rows` rows more fit in the sheet. When they do not, the sheet fails at once as
  // AddRow would at the first row past its end: a table too long for a sheet is refused before
  // any of it is written, rather than after a million rows.
  bool Fits(std::size_t rows);

  // The workbook's bytes, or why there are none. Only once.
  XlsxWorkbook Finish();

 private:
  void WriteCell(std::size_t column, std::string_view text, bool shaded);
  // `written` is the library's lxw_error for a cell of the row being written.
  void Check(int written, std::size_t column);
  void Fail(std::string message);
  void FailPastTheLastRow();
  void Arrange();
  void Close();

  ScratchFile scratch_;
  std::string temporaryFolder_;  // where the library streams the rows to
  lxw_workbook* workbook_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  lxw_format* text_ = nullptr;
  lxw_format* bold_ = nullptr;
  lxw_format* shadedText_ = nullptr;
  lxw_format* shadedNumber_ = nullptr;
  std::vector<std::string> header_;
  std::vector<bool> numeric_;
  std::vector<std::size_t> widths_;  // by column, in characters
  std::size_t rows_ = 0;             // the header's included
  std::size_t repeatedColumns_ = 0;
  std::vector<std::size_t> textSheetRows_;
  std::string cell_;  // the cell being written, with the zero the library needs
  std::string error_;
};

}  // namespace habuki
