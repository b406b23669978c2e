#include "habuki_cli.h"

#include <algorithm>
#include <iostream>
#include <iterator>

#include "cli_options.h"
#include "comment_files.h"
#include "detect_format.h"
#include "exit_status.h"
#include "file_io.h"
#include "messages.h"
#include "param_file.h"
#include "run_filter.h"
#include "display_text.h"

namespace habuki {

namespace {

constexpr std::string_view kStdinName = "-";

class FileThinner {
 public:
  FileThinner(const CliOptions& options, CliIo& io) : options_(options), io_(io) {}

  int Thin(const std::string& file);

 private:
  bool Load(const std::string& file, FilterState& state);
  void LoadComment(FilterState& state) const;
  int Write(const std::string& file, const std::string& result);
  int WriteToFile(const std::string& file, const std::filesystem::path& target,
                  const std::string& result);

  const CliOptions& options_;
  CliIo& io_;
};

int FileThinner::Thin(const std::string& file) {
  FilterState state;
  if (!Load(file, state)) return kExitFileError;
  const FormatKind kind = options_.format.value_or(DetectFormat(state.AllText));
  LoadComment(state);
  const FilterOutcome outcome =
      RunFilter(state, kind, options_.comment != CommentLanguage::None);
  const std::string name = DisplayName(file);
  if (outcome.error) {
    io_.err << FailureMessage(name, *outcome.error);
    return kExitFilterFailed;
  }
  io_.err << LossWarnings(name, kind, outcome.stats);
  if (options_.stats) io_.err << StatsLine(name, kind, outcome.stats);
  return Write(file, state.OutText.Bytes() + "\r\n");
}

bool FileThinner::Load(const std::string& file, FilterState& state) {
  const LoadResult loaded =
      file == kStdinName
          ? LoadParamBytes(state, std::string(std::istreambuf_iterator<char>(io_.in), {}))
          : LoadParamFile(state, file);
  if (loaded.status == LoadStatus::CannotRead) {
    io_.err << FileProblem(DisplayName(file), "cannot read", loaded.error.message());
  } else if (loaded.status == LoadStatus::Empty) {
    io_.err << FileProblem(DisplayName(file), "file is empty", "");
  }
  return static_cast<bool>(loaded);
}

void FileThinner::LoadComment(FilterState& state) const {
  if (options_.comment == CommentLanguage::Japanese) LoadCommentJ(state, options_.commentDir);
  if (options_.comment == CommentLanguage::English) LoadCommentE(state, options_.commentDir);
}

int FileThinner::Write(const std::string& file, const std::string& result) {
  if (options_.output) return WriteToFile(file, *options_.output, result);
  if (options_.outputDir) {
    return WriteToFile(file, *options_.outputDir / std::filesystem::path(file).filename(), result);
  }
  io_.out << (io_.outIsTerminal ? Cp932ToUtf8(result) : result);
  io_.out.flush();
  if (io_.out) return kExitOk;
  io_.err << FileProblem("standard output", "cannot write", "");
  return kExitFileError;
}

int FileThinner::WriteToFile(const std::string& file, const std::filesystem::path& target,
                             const std::string& result) {
  std::error_code ignored;
  if (file != kStdinName && std::filesystem::equivalent(file, target, ignored)) {
    io_.err << FileProblem(target.string(), "will not overwrite its own input", "");
    return kExitFileError;
  }
  if (const std::error_code error = WriteFileAtomically(target, result)) {
    io_.err << FileProblem(target.string(), "cannot write", error.message());
    return kExitFileError;
  }
  return kExitOk;
}

}  // namespace

int RunHabuki(int argc, const char* const* argv, CliIo& io) {
  const auto parsed = ParseCliOptions(argc, argv, io.programFolder, io.out, io.err);
  if (const auto* early = std::get_if<EarlyExit>(&parsed)) return early->status;
  const auto& options = std::get<CliOptions>(parsed);
  FileThinner thinner(options, io);
  int status = kExitOk;
  for (const std::string& file : options.files) status = std::max(status, thinner.Thin(file));
  return status;
}

}  // namespace habuki
