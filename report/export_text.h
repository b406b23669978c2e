#pragma once

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace habuki {

// One CSV field as RFC 4180 has it: quoted, with quotes doubled, when it holds a comma, a quote,
// CR or LF; as it is otherwise. A byte that is no UTF-8 (a file name may hold any) is written
// \xHH, so that the table stays UTF-8.
void AppendCsvField(std::string& out, std::string_view field);

// A JSON string, quotes included: quotes, backslashes and control characters escaped; bytes that
// are not UTF-8 (a file name may hold any) written \xHH as the CSV writes them, so the document
// stays valid and two names never look alike.
void AppendJsonString(std::string& out, std::string_view utf8);

// One row of a table as CSV: its fields as AppendCsvField writes them, ended by CR LF, so that
// spreadsheet programs open it as it is.
void AppendCsvRow(std::string& out, std::span<const std::string_view> fields);

// The rows of a table as the array of a JSON document, one object a row, with the table's column
// names as keys (made once). Every value is a string, so that bit patterns such as 00000010 stay
// exactly as written, or null where a row has none; only the columns named in `numbers` (a line,
// which sorts as a number) hold numbers, written as they are given.
class JsonRows {
 public:
  explicit JsonRows(std::span<const std::string_view> columns,
                    std::initializer_list<std::string_view> numbers = {});
  void Append(std::string& out, std::span<const std::optional<std::string_view>> values);
  // Closes the array.
  void End(std::string& out) const;

 private:
  std::vector<std::string> keys_;  // each with what comes before its value
  std::vector<bool> numbers_;      // by column: the value is a number
  bool empty_ = true;
};

}  // namespace habuki
