#include "report/xlsx_sheet.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

#include "core/text/display_text.h"
#include "report/xlsx_check.h"

namespace habuki {

namespace {

// The widest a column is made, in characters, and the room beside its text.
constexpr std::size_t kWidestColumn = 60;
constexpr double kColumnPadding = 2;
// A light yellow, for cells that stand out from their row.
constexpr lxw_color_t kShade = 0xFFF2CC;
// The largest workbook read back: a full sheet of short cells stays well below it.
constexpr ReadLimit kWorkbookRead{std::uint64_t{1} << 30, true};

bool IsPlainNumber(std::string_view text) {
  return !text.empty() && text.size() <= 15 && (text.size() == 1 || text.front() != '0') &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Numbered(std::size_t number) {
  std::string digits = std::to_string(number);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

}  // namespace

XlsxSheet::XlsxSheet(std::span<const std::string_view> header,
                     std::span<const std::size_t> numericColumns, std::size_t repeatedColumns)
    : numeric_(header.size()), widths_(header.size()), repeatedColumns_(repeatedColumns) {
  // A workbook is UTF-8 throughout: a file name that is not is written \xHH, as CSV has it.
  for (const std::string_view name : header) header_.push_back(Utf8Escaped(name));
  for (const std::size_t column : numericColumns) numeric_.at(column) = true;
  if (header_.empty()) {
    Fail("a table needs at least one column");
    return;
  }
  if (scratch_.error()) {
    Fail("cannot make a private folder for the workbook's scratch files in " + scratch_.Place() +
         ": " + scratch_.error().message());
    return;
  }
  temporaryFolder_ = scratch_.Utf8Folder();
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = temporaryFolder_.data();
  workbook_ = workbook_new_opt(scratch_.Utf8Path().c_str(), &options);
  if (workbook_ != nullptr) sheet_ = workbook_add_worksheet(workbook_, "Parameters");
  if (sheet_ == nullptr) {
    Fail("cannot make the workbook");
    return;
  }
  text_ = workbook_add_format(workbook_);
  format_set_num_format(text_, "@");
  bold_ = workbook_add_format(workbook_);
  format_set_num_format(bold_, "@");
  format_set_bold(bold_);
  shadedText_ = workbook_add_format(workbook_);
  format_set_num_format(shadedText_, "@");
  shadedNumber_ = workbook_add_format(workbook_);
  for (lxw_format* shaded : {shadedText_, shadedNumber_}) {
    format_set_pattern(shaded, LXW_PATTERN_SOLID);
    format_set_bg_color(shaded, kShade);
  }
  for (std::size_t column = 0; column < header_.size() && error_.empty(); ++column) {
    cell_ = header_[column];
    const lxw_error written =
        worksheet_write_string(sheet_, 0, static_cast<lxw_col_t>(column), cell_.c_str(), bold_);
    if (written != LXW_NO_ERROR)
      Fail("cannot write the header: " + std::string(lxw_strerror(written)));
    widths_[column] = DisplayWidth(header_[column]);
  }
  rows_ = 1;
}

XlsxSheet::~XlsxSheet() { Close(); }

void XlsxSheet::AddRow(std::span<const std::optional<std::string_view>> cells,
                       std::span<const bool> shaded) {
  if (!error_.empty()) return;
  if (rows_ == kMaxRows) {
    FailPastTheLastRow();
    return;
  }
  for (std::size_t column = 0; column < cells.size() && error_.empty(); ++column) {
    const bool shade = !shaded.empty() && shaded[column];
    if (cells[column]) {
      WriteCell(column, *cells[column], shade);
    } else if (shade) {
      Check(worksheet_write_blank(sheet_, static_cast<lxw_row_t>(rows_),
                                  static_cast<lxw_col_t>(column),
                                  numeric_[column] ? shadedNumber_ : shadedText_),
            column);
    }
  }
  ++rows_;
}

// A number is written as one only where it reads back as the very text given: plain digits,
// without a leading zero, few enough for a double to hold them exactly. Anything else stays text.
void XlsxSheet::WriteCell(std::size_t column, std::string_view text, bool shaded) {
  const auto row = static_cast<lxw_row_t>(rows_);
  const auto col = static_cast<lxw_col_t>(column);
  widths_[column] = std::max(widths_[column], DisplayWidth(text));
  // The library takes C strings: a NUL would silently end the cell's text there.
  if (text.find('\0') != std::string_view::npos) {
    Fail("row " + Numbered(rows_ + 1) + ", column " + header_[column] +
         ": the text holds a NUL character, which a cell cannot hold");
    return;
  }
  lxw_error written = LXW_NO_ERROR;
  if (numeric_[column] && IsPlainNumber(text)) {
    double number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    written = worksheet_write_number(sheet_, row, col, number, shaded ? shadedNumber_ : nullptr);
  } else {
    if (IsUtf8(text)) {
      cell_.assign(text);
    } else {
      cell_ = Utf8Escaped(text);
    }
    written = worksheet_write_string(sheet_, row, col, cell_.c_str(), shaded ? shadedText_ : text_);
  }
  Check(written, column);
}

// What the library refused, told with the cell's place as a spreadsheet names its rows.
void XlsxSheet::Check(int written, std::size_t column) {
  if (written == LXW_NO_ERROR) return;
  const std::string where = "row " + Numbered(rows_ + 1) + ", column " + header_[column];
  Fail(written == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED
           ? where + ": the text is longer than a cell holds (" + Numbered(kMaxCellCharacters) +
                 " characters)"
           : where + ": " + lxw_strerror(static_cast<lxw_error>(written)));
}

void XlsxSheet::AddTextSheet(std::string_view name,
                             const std::vector<std::vector<std::string>>& rows) {
  if (!error_.empty()) return;
  lxw_worksheet* sheet = workbook_add_worksheet(workbook_, std::string(name).c_str());
  if (sheet == nullptr) {
    Fail("cannot add the sheet " + std::string(name));
    return;
  }
  std::vector<std::size_t> widths;
  for (std::size_t row = 0; row < rows.size() && error_.empty(); ++row) {
    widths.resize(std::max(widths.size(), rows[row].size()));
    for (std::size_t column = 0; column < rows[row].size(); ++column) {
      cell_ = Utf8Escaped(rows[row][column]);
      widths[column] = std::max(widths[column], DisplayWidth(cell_));
      const lxw_error written =
          worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                                 cell_.c_str(), row == 0 ? bold_ : text_);
      if (written != LXW_NO_ERROR) {
        Fail("cannot write the sheet " + std::string(name) + ": " + lxw_strerror(written));
      }
    }
  }
  for (std::size_t column = 0; column < widths.size() && error_.empty(); ++column) {
    const auto col = static_cast<lxw_col_t>(column);
    const auto width = static_cast<double>(std::min(widths[column], kWidestColumn));
    const lxw_error set = worksheet_set_column(sheet, col, col, width + kColumnPadding, nullptr);
    if (set != LXW_NO_ERROR)
      Fail("cannot arrange the sheet " + std::string(name) + ": " + lxw_strerror(set));
  }
  textSheetRows_.push_back(rows.size());
}

bool XlsxSheet::Fits(std::size_t rows) {
  if (!error_.empty()) return false;
  if (rows <= kMaxRows - rows_) return true;
  FailPastTheLastRow();
  return false;
}

void XlsxSheet::FailPastTheLastRow() {
  Fail("the table has more rows than a sheet holds (" + Numbered(kMaxRows) +
       ", the header's included): row " + Numbered(kMaxRows + 1) + " cannot be written");
}

void XlsxSheet::Fail(std::string message) {
  if (error_.empty()) error_ = std::move(message);
}

// The library writes the workbook into its file as it closes it, and frees it.
void XlsxSheet::Close() {
  if (workbook_ == nullptr) return;
  const lxw_error closed = workbook_close(std::exchange(workbook_, nullptr));
  if (closed != LXW_NO_ERROR)
    Fail("cannot write the workbook: " + std::string(lxw_strerror(closed)));
}

// What can be set only once the table is known: the autofilter's rows, the columns' widths. The
// page set-up goes with it: a table of many files is wider than tall.
void XlsxSheet::Arrange() {
  worksheet_freeze_panes(sheet_, 1, 0);
  worksheet_set_landscape(sheet_);
  worksheet_fit_to_pages(sheet_, 1, 0);
  lxw_error error = worksheet_repeat_rows(sheet_, 0, 0);
  if (repeatedColumns_ > 0 && error == LXW_NO_ERROR) {
    error = worksheet_repeat_columns(sheet_, 0, static_cast<lxw_col_t>(repeatedColumns_ - 1));
  }
  const auto lastColumn = static_cast<lxw_col_t>(header_.size() - 1);
  if (error == LXW_NO_ERROR) {
    error = worksheet_autofilter(sheet_, 0, 0, static_cast<lxw_row_t>(rows_ - 1), lastColumn);
  }
  for (std::size_t column = 0; column < header_.size() && error == LXW_NO_ERROR; ++column) {
    const auto width = static_cast<double>(std::min(widths_[column], kWidestColumn));
    const auto col = static_cast<lxw_col_t>(column);
    error = worksheet_set_column(sheet_, col, col, width + kColumnPadding, nullptr);
  }
  if (error != LXW_NO_ERROR) Fail("cannot arrange the sheet: " + std::string(lxw_strerror(error)));
}

XlsxWorkbook XlsxSheet::Finish() {
  XlsxWorkbook workbook;
  if (sheet_ != nullptr && error_.empty()) Arrange();
  Close();
  if (!error_.empty()) {
    workbook.error = error_;
    return workbook;
  }
  FileContents contents = scratch_.ReadBack(kWorkbookRead);
  if (contents.error == std::errc::file_too_large) {
    workbook.error = "the workbook is larger than " + Numbered(kWorkbookRead.bytes) + " bytes";
  } else if (contents.error) {
    workbook.error =
        "cannot read the workbook back from " + scratch_.Place() + ": " + contents.error.message();
  }
  // What the library wrote is read back through the file made for it, and must be the very
  // workbook written: the library does not check its own writes (a full disk, a file size
  // limit leave a workbook cut short or without rows), and nothing else is given as one.
  if (workbook.error.empty()) {
    std::vector<std::size_t> rows{rows_};
    rows.insert(rows.end(), textSheetRows_.begin(), textSheetRows_.end());
    if (const std::string problem = CheckWorkbook(contents.bytes.view(), rows); !problem.empty()) {
      workbook.error =
          "the workbook the library wrote in " + scratch_.Place() + " is not whole: " + problem;
    }
  }
  if (workbook.error.empty()) workbook.bytes = std::move(contents.bytes);
  return workbook;
}

}  // namespace habuki
