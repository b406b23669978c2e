#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <sstream>

#include "cli/exit_status.h"
#include "core/size_limits.h"
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
      {"30i", FormatKind::Fs30i},
      {"16i", FormatKind::Fs16i},
      {"pmc", FormatKind::Pmc}};
  return names;
}

// The values -c takes.
const std::vector<std::pair<std::string, CommentLanguage>>& CommentNames() {
  static const std::vector<std::pair<std::string, CommentLanguage>> names{
      {"ja", CommentLanguage::Japanese},
      {"en", CommentLanguage::English},
      {"none", CommentLanguage::None}};
  return names;
}

template <typename Value>
Value ValueNamed(const std::vector<std::pair<std::string, Value>>& names, const std::string& name) {
  return std::find_if(names.begin(), names.end(),
                      [&](const auto& entry) { return entry.first == name; })
      ->second;
}

std::string Footer() {
  std::ostringstream footer;
  footer << kAbout << kParamFileLimitText << " are refused.\n\nExit status:\n";
  for (const auto& [status, meaning] : kExitStatuses)
    footer << "  " << status << "  " << meaning << '\n';
  footer << "With several files one failure does not stop the others; the status is the highest.";
  return footer.str();
}

// An existing folder, without the validator's own name in the help text.
CLI::Validator ExistingFolder() { return CLI::Validator(CLI::ExistingDirectory).description(""); }

std::optional<std::string> CheckCombination(const CliOptions& options) {
  const bool readsStdin =
      options.files.empty() || std::count(options.files.begin(), options.files.end(), "-") > 0;
  if (options.output && options.files.size() > 1) return "--output takes one input file only";
  if (options.outputDir && readsStdin) {
    return "--output-dir needs named input files (standard input has no name)";
  }
  return std::nullopt;
}

}  // namespace

std::string_view FormatName(FormatKind kind) {
  const auto& names = FormatNames();
  return std::find_if(names.begin(), names.end(),
                      [&](const auto& entry) { return entry.second == kind; })
      ->first;
}

std::variant<CliOptions, EarlyExit> ParseCliOptions(
    int argc, const char* const* argv, const std::vector<std::filesystem::path>& commentFolders,
    std::ostream& out, std::ostream& err) {
  CLI::App app{
      "Thins FANUC CNC parameter files: leaves out every parameter, and every entry of a\n"
      "multi-value parameter, whose value is 0.",
      "habuki"};
  app.footer(Footer());
  app.set_version_flag("--version", std::string("habuki ") + kVersionText);

  CliOptions options;
  std::string format = "auto";
  std::string comment = "ja";
  std::optional<std::string> commentDir;
  app.add_option("FILE", options.files,
                 "Parameter files to thin; none or \"-\" reads standard input")
      ->type_name("FILE");
  app.add_option("-f,--format", format, "File format; auto guesses it from the text")
      ->type_name("FORMAT")
      ->check(CLI::IsMember(FormatNames()))
      ->capture_default_str();
  app.add_option("-c,--comment", comment, "Comment line in front of the result")
      ->type_name("LANG")
      ->check(CLI::IsMember(CommentNames()))
      ->capture_default_str();
  app.add_option("--comment-dir", commentDir,
                 "The only folder to look for 日本語ｺﾒﾝﾄ.txt and 英語ｺﾒﾝﾄ.txt in (default: "
                 "$XDG_CONFIG_HOME/habuki or ~/.config/habuki, then the folder of habuki)")
      ->type_name("DIR")
      ->check(ExistingFolder());
  auto* output = app.add_option("-o,--output", options.output,
                                "Write the result to this file (one input only)")
                     ->type_name("FILE");
  app.add_option("--output-dir", options.outputDir,
                 "Write each result to this folder under its input's file name")
      ->type_name("DIR")
      ->check(ExistingFolder())
      ->excludes(output);
  app.add_flag("--stats", options.stats, "Tell on standard error what was kept and dropped");

  try {
    app.parse(argc, argv);
    options.format = ValueNamed(FormatNames(), format);
    options.comment = ValueNamed(CommentNames(), comment);
    options.commentFolders =
        commentDir ? std::vector<std::filesystem::path>{*commentDir} : commentFolders;
    if (const auto problem = CheckCombination(options)) throw CLI::ValidationError(*problem);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error, out, err);
    return EarlyExit{status == 0 ? kExitOk : kExitUsage};
  }
  if (options.files.empty()) options.files.emplace_back("-");
  return options;
}

}  // namespace habuki
