#include "cli_options.h"

#include <CLI/CLI.hpp>
#include <map>

#include "exit_status.h"
#include "habuki/version.h"

namespace habuki {

namespace {

constexpr const char* kFooter = R"(
Each result is the file's text without the parameters, and the entries of multi-value
parameters, whose value is 0, framed by "%" and ended with CR LF; every line kept is a
byte-for-byte copy of the input. Written to a terminal, it is shown converted to UTF-8.

A result never replaces an input of the run, a file you may not write, or another result;
files are replaced atomically. Inputs larger than 256 MiB are refused.

Exit status: 0 every file thinned; 1 a file could not be thinned (the message names its
line); 2 usage error, or two results for one target (nothing is written); 3 a file could not
be read or written, is empty or too large, or its result would replace an input. With several
files one failure does not stop the others; the status is the highest.)";

const std::map<std::string, std::optional<FormatKind>> kFormats{{"auto", std::nullopt},
                                                                {"30i", FormatKind::Fs30i},
                                                                {"16i", FormatKind::Fs16i},
                                                                {"pmc", FormatKind::Pmc}};

const std::map<std::string, CommentLanguage> kComments{{"ja", CommentLanguage::Japanese},
                                                       {"en", CommentLanguage::English},
                                                       {"none", CommentLanguage::None}};

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
  switch (kind) {
    case FormatKind::Fs30i:
      return "30i";
    case FormatKind::Fs16i:
      return "16i";
    case FormatKind::Pmc:
      return "pmc";
  }
  return "?";
}

std::variant<CliOptions, EarlyExit> ParseCliOptions(int argc, const char* const* argv,
                                                    const std::filesystem::path& programFolder,
                                                    std::ostream& out, std::ostream& err) {
  CLI::App app{
      "Thins FANUC CNC parameter files: leaves out every parameter, and every entry of a\n"
      "multi-value parameter, whose value is 0.",
      "habuki"};
  app.footer(kFooter);
  app.set_version_flag("--version", std::string("habuki ") + kVersionText);

  CliOptions options;
  std::string format = "auto";
  std::string comment = "ja";
  std::string commentDir = programFolder.string();
  app.add_option("FILE", options.files,
                 "Parameter files to thin; none or \"-\" reads standard input")
      ->type_name("FILE");
  app.add_option("-f,--format", format, "File format; auto guesses it from the text")
      ->type_name("FORMAT")
      ->check(CLI::IsMember({"auto", "30i", "16i", "pmc"}))
      ->capture_default_str();
  app.add_option("-c,--comment", comment, "Comment line in front of the result")
      ->type_name("LANG")
      ->check(CLI::IsMember({"ja", "en", "none"}))
      ->capture_default_str();
  app.add_option("--comment-dir", commentDir,
                 "Folder of 日本語ｺﾒﾝﾄ.txt and 英語ｺﾒﾝﾄ.txt (default: the folder of habuki)")
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
    options.format = kFormats.at(format);
    options.comment = kComments.at(comment);
    options.commentDir = commentDir;
    if (const auto problem = CheckCombination(options)) throw CLI::ValidationError(*problem);
  } catch (const CLI::ParseError& error) {
    const int status = app.exit(error, out, err);
    return EarlyExit{status == 0 ? kExitOk : kExitUsage};
  }
  if (options.files.empty()) options.files.emplace_back("-");
  return options;
}

}  // namespace habuki
