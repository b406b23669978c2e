#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "comment/comment_choice.h"
#include "core/filter/filter_state.h"
#include "report/report_kind.h"

namespace habuki {

struct CliOptions {
  std::vector<std::string> files;    // "-" is standard input
  bool filesNamed = true;            // false: none was named, and standard input is read
  std::optional<FormatKind> format;  // none: guess each file's format
  CommentChoice comment;             // -c: Japanese unless told otherwise
  std::vector<std::filesystem::path> commentFolders;  // where comment files are looked for
  std::optional<std::filesystem::path> output;
  std::optional<std::filesystem::path> outputDir;
  bool stats = false;
  ExportKind to = ExportKind::Thinned;
  bool all = false;            // the table holds the zero values too
  NumberChoice numbers;        // --only and --ignore
  bool byteOrderMark = false;  // --bom: a CSV table starts with the UTF-8 byte order mark
  std::optional<std::filesystem::path> names;  // --names: the names file, instead of names.csv
};

// `habuki diff OLD NEW`, or `habuki diff FILE FILE FILE...` for a table of many.
struct DiffOptions {
  std::vector<std::string> files;  // two or more; "-" is standard input, for one of them
  // Each file's format, from -f FORMAT or -f F1,F2,...; none: guess it.
  std::vector<std::optional<FormatKind>> formats;
  ReportKind to = ReportKind::Text;
  bool all = false;      // the table of many holds every row, not only those that differ
  bool quiet = false;    // only the exit status tells
  NumberChoice numbers;  // --only and --ignore
  std::optional<std::filesystem::path> output;  // -o: the report's file; none: standard output
  bool byteOrderMark = false;  // --bom: a CSV report starts with the UTF-8 byte order mark
  // --against: the file, as named among `files`, whose values the workbook's shading compares
  // with; none: the value most files have
  std::optional<std::string> against;
  std::string commandLine;                     // as typed, for the workbook to say what made it
  std::optional<std::filesystem::path> names;  // --names: the names file, instead of names.csv

  // Whether the report is the table of one column a file rather than the changes of OLD to NEW:
  // for three or more files, and for a workbook.
  bool Table() const { return files.size() > 2 || to == ReportKind::Xlsx; }
};

// How the command should end without thinning anything (help, version, usage error).
struct EarlyExit {
  int status;
};

// Parses the arguments; help, version and usage errors are written to `out` or `err`.
// `commentFolders` are where comment files are looked for unless --comment-dir names one.
std::variant<CliOptions, DiffOptions, EarlyExit> ParseCliOptions(
    int argc, const char* const* argv, const std::vector<std::filesystem::path>& commentFolders,
    std::ostream& out, std::ostream& err);

}  // namespace habuki
