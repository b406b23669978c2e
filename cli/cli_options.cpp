#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iterator>
#include <sstream>

#include "cli/exit_status.h"
#include "cli/file_facts.h"
#include "core/filter/format_profile.h"
#include "core/io/path_text.h"
#include "core/io/user_config_folder.h"
#include "core/text/display_text.h"
#include "core/text/size_limits.h"
#include "habuki/version.h"

namespace habuki {

namespace {

constexpr const char* kAbout = R"(
Each result is the file's text without the parameters, and the entries of multi-value
parameters, whose value is 0, framed by "%" and ended with CR LF; every line kept is a
byte-for-byte copy of the input. Written to a terminal, it is shown converted to UTF-8.

A result never replaces an input of the run, a file you may not write, or another result;
files are replaced atomically. Inputs larger than )";

// The values -f takes and the format each stands for; "auto" guesses each file's format.
const std::vector<std::pair<std::string, std::optional<FormatKind>>>& FormatNames() {
  static const std::vector<std::pair<std::string, std::optional<FormatKind>>> names{
      {"auto", std::nullopt},
      {std::string(FormatName(FormatKind::Fs30i)), FormatKind::Fs30i},
      {std::string(FormatName(FormatKind::Fs16i)), FormatKind::Fs16i},
      {std::string(FormatName(FormatKind::Pmc)), FormatKind::Pmc}};
  return names;
}

// The values -c takes.
const std::vector<std::pair<std::string, CommentChoice>>& CommentNames() {
  static const std::vector<std::pair<std::string, CommentChoice>> names{
      {"ja", CommentChoice{.japanese = true, .english = false}},
      {"en", CommentChoice{.japanese = false, .english = true}},
      {"none", CommentChoice{.japanese = false, .english = false}}};
  return names;
}

// The values --to takes when thinning, and when comparing.
const std::vector<std::pair<std::string, ExportKind>>& ExportNames() {
  static const std::vector<std::pair<std::string, ExportKind>> names{
      {"thinned", ExportKind::Thinned},
      {"csv", ExportKind::Csv},
      {"json", ExportKind::Json},
      {"xlsx", ExportKind::Xlsx}};
  return names;
}

const std::vector<std::pair<std::string, ReportKind>>& ReportNames() {
  static const std::vector<std::pair<std::string, ReportKind>> names{{"text", ReportKind::Text},
                                                                     {"csv", ReportKind::Csv},
                                                                     {"json", ReportKind::Json},
                                                                     {"xlsx", ReportKind::Xlsx}};
  return names;
}

template <typename Value>
Value ValueNamed(const std::vector<std::pair<std::string, Value>>& names, const std::string& name) {
  return std::find_if(names.begin(), names.end(),
                      [&](const auto& entry) { return entry.first == name; })
      ->second;
}

void AppendStatuses(std::ostringstream& text, const ExitStatusMeaning* first,
                    const ExitStatusMeaning* last) {
  for (; first != last; ++first) text << "  " << first->status << "  " << first->meaning << '\n';
}

std::string Footer() {
  std::ostringstream footer;
  footer << kAbout << kParamFileLimitText << " are refused.\n\nExit status:\n";
  AppendStatuses(footer, std::begin(kExitStatuses), std::end(kExitStatuses));
  footer << "With several files one failure does not stop the others; the status is the highest.";
  return footer.str();
}

std::string DiffFooter() {
  std::ostringstream footer;
  footer << "\nRows are matched by number, qualifier and entry and compared as exact decimal "
            "numbers.\n"
            "A row missing from one side counts as the value 0; a missing value is shown as "
            "\"-\",\na value present as 0 as written.\n\n"
            "With three or more files, or --to xlsx, the report is a table: number, qualifier, "
            "entry,\nthen one column a file, headed by its name, in the rows where the values "
            "differ\n(--all: every row). A missing value is \"-\" in the text, empty in CSV "
            "and xlsx,\nnull in JSON; in xlsx the values that differ from the first file's are "
            "shaded.\n\n"
            "Exit status:\n";
  AppendStatuses(footer, std::begin(kDiffExitStatuses), std::end(kDiffExitStatuses));
  return footer.str();
}

// diff's -f: one format for every file, or one a file, comma-separated.
std::vector<std::string> FormatList(const std::string& value) {
  std::vector<std::string> names;
  std::size_t from = 0;
  for (std::size_t comma; (comma = value.find(',', from)) != std::string::npos; from = comma + 1) {
    names.push_back(value.substr(from, comma - from));
  }
  names.push_back(value.substr(from));
  return names;
}

CLI::Validator FormatListCheck() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        const auto& names = FormatNames();
        for (const std::string& name : FormatList(value)) {
          const bool known = std::any_of(names.begin(), names.end(),
                                         [&](const auto& entry) { return entry.first == name; });
          if (!known) return "unknown format " + name + " in " + value;
        }
        return "";
      },
      "");
}

// An existing folder, its name taken as UTF-8 (CLI11's own check would take it in the code page
// on Windows), without the validator's own name in the help text.
CLI::Validator ExistingFolder() {
  return CLI::Validator(
      [](std::string& name) -> std::string {
        std::error_code error;
        const auto status = std::filesystem::status(PathFromUtf8(name), error);
        if (!std::filesystem::exists(status)) return "Directory does not exist: " + name;
        if (!std::filesystem::is_directory(status)) return "Directory is actually a file: " + name;
        return "";
      },
      "");
}

CLI::Validator NumberRangesCheck() {
  return CLI::Validator(
      [](std::string& value) -> std::string {
        const auto ranges = ParseNumberRanges(value);
        const auto* problem = std::get_if<std::string>(&ranges);
        return problem != nullptr ? *problem : "";
      },
      "");
}

// Every --only (or --ignore) given, as one set of numbers; each text is checked already.
NumberRanges JoinedRanges(const std::vector<std::string>& texts) {
  NumberRanges joined;
  for (const std::string& text : texts) joined.Add(std::get<NumberRanges>(ParseNumberRanges(text)));
  return joined;
}

std::optional<std::string> CheckByteOrderMark(bool byteOrderMark, bool csv) {
  if (byteOrderMark && !csv) return "--bom is for --to csv";
  return std::nullopt;
}

std::optional<std::string> CheckCombination(const CliOptions& options) {
  const bool readsStdin =
      options.files.empty() || std::count(options.files.begin(), options.files.end(), "-") > 0;
  if (options.output && options.files.size() > 1 && options.to == ExportKind::Thinned) {
    return "--output takes one input file only; thin several with --output-dir DIR";
  }
  if (const auto problem =
          CheckByteOrderMark(options.byteOrderMark, options.to == ExportKind::Csv)) {
    return problem;
  }
  if (options.outputDir && readsStdin) {
    return "--output-dir needs named input files (standard input has no name)";
  }
  return std::nullopt;
}

}  // namespace

namespace {

// The text values a run's options were given in, until they are looked up in their tables.
struct NamedValues {
  std::string format = "auto";
  std::string comment = "ja";
  std::string to = "thinned";
  std::optional<std::string> commentDir;
  std::optional<std::string> output;
  std::optional<std::string> outputDir;
  std::vector<std::string> only;
  std::vector<std::string> ignore;
  std::optional<std::string> names;
};

// --names, for tables and comparisons alike.
void AddNamesOption(CLI::App& app, NamedValues& named) {
  app.add_option("--names", named.names,
                 "The names of parameters for tables and comparisons, one \"number,name\" a line "
                 "(default: names.csv in " +
                     std::string(kUserConfigFolderName) + ", if it is there)")
      ->type_name("FILE");
}

std::optional<std::filesystem::path> NamesPath(const NamedValues& named) {
  if (!named.names) return std::nullopt;
  return PathFromUtf8(*named.names);
}

// --bom, for the CSV of tables and comparisons alike.
void AddByteOrderMarkOption(CLI::App& app, bool& byteOrderMark) {
  app.add_flag("--bom", byteOrderMark,
               "With --to csv: start with the UTF-8 byte order mark, so that Excel reads "
               "Japanese right");
}

// --only and --ignore, for thinning, tables and comparisons alike. Each may be given more than
// once; each takes one list, so that a file name after it stays a file name.
void AddNumberOptions(CLI::App& app, NamedValues& named) {
  app.add_option("--only", named.only,
                 "Read only the parameters of these numbers, as the control numbers them "
                 "(1000-1999,6700; 1005 is N01005 and N1005); the others are left out")
      ->type_name("RANGES")
      ->check(NumberRangesCheck())
      ->allow_extra_args(false);
  app.add_option("--ignore", named.ignore,
                 "Leave out the parameters of these numbers (after --only, if given)")
      ->type_name("RANGES")
      ->check(NumberRangesCheck())
      ->allow_extra_args(false);
}

NumberChoice ChoiceOf(const NamedValues& named) {
  NumberChoice choice;
  if (!named.only.empty()) choice.only = JoinedRanges(named.only);
  choice.ignore = JoinedRanges(named.ignore);
  return choice;
}

// Adds the thinning options; gives the option of the files.
const CLI::Option* AddThinningOptions(CLI::App& app, CliOptions& options, NamedValues& named) {
  const CLI::Option* files =
      app.add_option("FILE", options.files,
                     "Parameter files to thin; none or \"-\" reads standard input")
          ->type_name("FILE");
  app.add_option("-f,--format", named.format, "File format; auto guesses it from the text")
      ->type_name("FORMAT")
      ->check(CLI::IsMember(FormatNames()))
      ->capture_default_str();
  app.add_option("-c,--comment", named.comment, "Comment line in front of the result")
      ->type_name("LANG")
      ->check(CLI::IsMember(CommentNames()))
      ->capture_default_str();
  app.add_option("--comment-dir", named.commentDir,
                 "The only folder to look for 日本語ｺﾒﾝﾄ.txt and 英語ｺﾒﾝﾄ.txt in (default: " +
                     std::string(kUserConfigFolderName) + ", then the folder of habuki)")
      ->type_name("DIR")
      ->check(ExistingFolder());
  app.add_option("--to", named.to,
                 "What to write: the thinned text, or the parameters as a table (csv, json, or "
                 "xlsx, a workbook: not to a terminal)")
      ->type_name("KIND")
      ->check(CLI::IsMember(ExportNames()))
      ->capture_default_str();
  app.add_flag("--all", options.all, "With --to csv, json or xlsx: the zero values too");
  auto* output =
      app.add_option("-o,--output", named.output,
                     "Write the result to this file (one input, or the table of several)")
          ->type_name("FILE");
  app.add_option("--output-dir", named.outputDir,
                 "Write each result to this folder under its input's file name (.csv, .json or "
                 ".xlsx added for a table)")
      ->type_name("DIR")
      ->check(ExistingFolder())
      ->excludes(output);
  app.add_flag("--stats", options.stats, "Tell on standard error what was kept and dropped");
  AddByteOrderMarkOption(app, options.byteOrderMark);
  AddNamesOption(app, named);
  AddNumberOptions(app, named);
  return files;
}

// What diff's files and formats cannot be together; the options are read already.
std::optional<std::string> CheckDiffFiles(const DiffOptions& options,
                                          const std::vector<std::string>& formats) {
  if (std::count(options.files.begin(), options.files.end(), "-") > 1) {
    return "diff reads standard input for one side only";
  }
  if (formats.size() > 1 && formats.size() != options.files.size()) {
    return "-f gives " + std::to_string(formats.size()) + " formats for " +
           std::to_string(options.files.size()) + " files; give one for all, or one a file";
  }
  if (options.against && options.to != ReportKind::Xlsx) {
    return "--against is for --to xlsx, whose shading it sets";
  }
  if (options.against && std::find(options.files.begin(), options.files.end(), *options.against) ==
                             options.files.end()) {
    return "--against names none of the files compared: " + Utf8Escaped(*options.against);
  }
  if (options.all && !options.Table()) {
    return "--all is for three or more files, or --to xlsx (the table of one column a file)";
  }
  return std::nullopt;
}

void AddDiffOptions(CLI::App& app, DiffOptions& options, NamedValues& named) {
  app.add_option("FILE", options.files,
                 "The backups: OLD NEW, or three or more for a table of one column a file")
      ->required()
      ->expected(2, CLI::detail::expected_max_vector_size)
      ->type_name("FILE");
  app.add_option("-f,--format", named.format,
                 "Format of every file, or of each in the files' order (16i,30i,30i); auto "
                 "guesses it (auto, 30i, 16i, pmc)")
      ->type_name("FORMAT")
      ->check(FormatListCheck())
      ->capture_default_str();
  app.add_option("--to", named.to,
                 "How to show the differences (xlsx: the table of one column a file, the values "
                 "that differ from the value most files have shaded)")
      ->type_name("KIND")
      ->check(CLI::IsMember(ReportNames()))
      ->default_str("text");
  app.add_flag("--all", options.all,
               "With three or more files or --to xlsx: every row any file has, not only those "
               "that differ");
  CLI::Option* quiet =
      app.add_flag("-q,--quiet", options.quiet, "Show nothing; only the exit status tells");
  app.add_option("-o,--output", named.output,
                 "Write the report to this file (replaced whole, never one of the backups) "
                 "rather than to standard output")
      ->type_name("FILE")
      ->excludes(quiet);
  app.add_option("--against", options.against,
                 "With --to xlsx: shade the values that differ from this file's (one of the "
                 "files compared), rather than from the value most files have")
      ->type_name("FILE");
  AddByteOrderMarkOption(app, options.byteOrderMark);
  AddNamesOption(app, named);
  AddNumberOptions(app, named);
}

// A usage error quotes what the user gave, which may hold anything: it is shown with control
// characters and bytes that are no UTF-8 escaped, line by line, so that no option value can
// steer the terminal.
EarlyExit EndEarly(const CLI::App& app, const CLI::ParseError& error, std::ostream& out,
                   std::ostream& err) {
  std::ostringstream told;
  const int status = app.exit(error, out, told);
  std::istringstream lines(told.str());
  for (std::string line; std::getline(lines, line);) err << EscapeControls(line) << '\n';
  return EarlyExit{status == 0 ? kExitOk : kExitUsage};
}

// Options are written as on every system: CLI11 on Windows would also take "/name" for an
// option, and so a path such as /data/backup.txt for an unknown one.
void DashOptionsOnly(CLI::App& app) { app.allow_windows_style_options(false); }

// `habuki diff ...`: `argv` starts at "diff".
std::variant<CliOptions, DiffOptions, EarlyExit> ParseDiff(int argc, const char* const* argv,
                                                           std::ostream& out, std::ostream& err) {
  CLI::App app{
      "Compares the parameters of two backups, OLD and NEW, or of three or more side by side\n"
      "(\"-\" reads standard input)",
      "habuki diff"};
  app.footer(DiffFooter());
  DashOptionsOnly(app);
  DiffOptions options;
  NamedValues named{"auto", "", "text", std::nullopt, std::nullopt, std::nullopt, {}, {}, {}};
  AddDiffOptions(app, options, named);
  try {
    app.parse(argc, argv);
    options.to = ValueNamed(ReportNames(), named.to);
    if (const auto problem = CheckDiffFiles(options, FormatList(named.format))) {
      throw CLI::ValidationError(*problem);
    }
    if (const auto problem =
            CheckByteOrderMark(options.byteOrderMark, options.to == ReportKind::Csv)) {
      throw CLI::ValidationError(*problem);
    }
  } catch (const CLI::ParseError& error) {
    return EndEarly(app, error, out, err);
  }
  for (const std::string& name : FormatList(named.format)) {
    options.formats.push_back(ValueNamed(FormatNames(), name));
  }
  if (options.formats.size() == 1) options.formats.resize(options.files.size(), options.formats[0]);
  options.numbers = ChoiceOf(named);
  if (named.output) options.output = PathFromUtf8(*named.output);
  options.names = NamesPath(named);
  return options;
}

// The options given before the first file, when that file is `diff` and none of that name is
// there: the comparison was meant, but its command must come first.
std::optional<std::string> OptionsBeforeDiff(const CLI::App& app, const CLI::Option* files,
                                             const CliOptions& options) {
  std::error_code error;
  if (options.files.empty() || options.files.front() != "diff" ||
      std::filesystem::exists(std::filesystem::symlink_status("diff", error))) {
    return std::nullopt;
  }
  std::vector<std::string> before;
  for (const CLI::Option* option : app.parse_order()) {
    if (option == files) break;
    if (std::find(before.begin(), before.end(), option->get_name()) == before.end()) {
      before.push_back(option->get_name());
    }
  }
  if (before.empty()) return std::nullopt;  // after "--", diff is a file name
  std::string names = before.front();
  for (auto name = before.begin() + 1; name != before.end(); ++name) names += ", " + *name;
  return "diff is a command only as the first argument: give " + names +
         " after it (habuki diff [OPTIONS] FILE FILE...)";
}

std::variant<CliOptions, DiffOptions, EarlyExit> ParseThinning(
    int argc, const char* const* argv, const std::vector<std::filesystem::path>& commentFolders,
    std::ostream& out, std::ostream& err) {
  CLI::App app{
      "Thins FANUC CNC parameter files: leaves out every parameter, and every entry of a\n"
      "multi-value parameter, whose value is 0. `habuki diff OLD NEW` compares two backups\n"
      "(diff first; see habuki diff --help).",
      "habuki"};
  app.footer(Footer());
  DashOptionsOnly(app);
  app.set_version_flag("--version", std::string("habuki ") + kVersionText);
  CliOptions options;
  NamedValues named;
  const CLI::Option* files = AddThinningOptions(app, options, named);
  try {
    app.parse(argc, argv);
    if (const auto problem = OptionsBeforeDiff(app, files, options)) {
      throw CLI::ValidationError(*problem);
    }
    options.format = ValueNamed(FormatNames(), named.format);
    options.comment = ValueNamed(CommentNames(), named.comment);
    options.to = ValueNamed(ExportNames(), named.to);
    options.numbers = ChoiceOf(named);
    options.commentFolders =
        named.commentDir ? std::vector<std::filesystem::path>{PathFromUtf8(*named.commentDir)}
                         : commentFolders;
    if (named.output) options.output = PathFromUtf8(*named.output);
    if (named.outputDir) options.outputDir = PathFromUtf8(*named.outputDir);
    options.names = NamesPath(named);
    if (options.names && options.to == ExportKind::Thinned) {
      throw CLI::ValidationError("--names is for --to csv, json or xlsx");
    }
    if (const auto problem = CheckCombination(options)) throw CLI::ValidationError(*problem);
  } catch (const CLI::ParseError& error) {
    return EndEarly(app, error, out, err);
  }
  if (options.files.empty()) {
    options.files.emplace_back("-");
    options.filesNamed = false;
  }
  return options;
}

}  // namespace

// `diff` is the command only as the very first argument; anywhere else it is a file name, as
// the shell's `*` gives it in a folder holding a file of that name.
std::variant<CliOptions, DiffOptions, EarlyExit> ParseCliOptions(
    int argc, const char* const* argv, const std::vector<std::filesystem::path>& commentFolders,
    std::ostream& out, std::ostream& err) {
  if (argc > 1 && std::string_view(argv[1]) == "diff") {
    auto parsed = ParseDiff(argc - 1, argv + 1, out, err);
    if (auto* diff = std::get_if<DiffOptions>(&parsed))
      diff->commandLine = CommandLineText(argc, argv);
    return parsed;
  }
  return ParseThinning(argc, argv, commentFolders, out, err);
}

}  // namespace habuki
