#include "cli/habuki_cli.h"

#include <algorithm>
#include <new>
#include <optional>
#include <ostream>
#include <sstream>

#include "cli/cli_options.h"
#include "cli/diff_command.h"
#include "cli/exit_status.h"
#include "cli/file_format.h"
#include "cli/messages.h"
#include "cli/names_file.h"
#include "cli/record_names.h"
#include "comment/comment_files.h"
#include "core/filter/run_filter.h"
#include "core/io/file_writing.h"
#include "core/io/param_file.h"
#include "core/io/path_text.h"
#include "core/io/replace_batch.h"
#include "core/io/system_calls.h"
#include "core/text/byte_order_mark.h"
#include "core/text/display_text.h"
#include "report/parameter_export.h"
#include "report/parameter_xlsx.h"

namespace habuki {

namespace {

// Tables of several inputs to standard output make one document: one CSV header with a `file`
// column, one JSON object with a "files" array, one workbook; so do they with -o FILE.
TablePart TablePartOf(const CliOptions& options) {
  const bool several = options.files.size() > 1 && !options.outputDir;
  return several && options.to != ExportKind::Thinned ? TablePart::Member : TablePart::Whole;
}

// A result is written though values that are not zero were left out of it, and its status says
// so: a batch's only sign of such a file is not a line among many.
int LossStatus(Pos lost) { return lost != 0 ? kExitContentProblem : kExitOk; }

// Makes each input's result, its thinned text or its table, and writes it where it goes.
class ResultWriter {
 public:
  ResultWriter(const CliOptions& options, const ParameterNames* names, CliIo& io)
      : options_(options),
        names_(names),
        io_(io),
        part_(TablePartOf(options)),
        matches_(options.numbers) {}

  // Thins one input into its planned output; gives the file's exit status. A result for a file
  // is in place only once it is committed.
  int Thin(const std::string& file, const PlannedOutput& output);
  // Replaces the files whose results are written when there are enough of them, or `always`;
  // gives the exit status of those that could not be replaced.
  int Commit(bool always);
  // What stands around the tables of a document of several; each gives an exit status.
  int OpenDocument();
  int CloseDocument();
  // Whether some input's table went into the document of several.
  bool MadeATable() const { return !firstMember_; }
  // Tells of the ranges of --only and --ignore that named no record of any input.
  void TellUnmatchedRanges() const { habuki::TellUnmatchedRanges(matches_, io_.err); }

 private:
  int ThinAndWrite(const std::string& file, const PlannedOutput& output);
  void LoadComment(FilterState& state) const;
  int Export(const std::string& file, const FilterState& state, FormatKind kind,
             const PlannedOutput& output);
  int ExportXlsx(const std::string& file, const FilterState& state, FormatKind kind,
                 const PlannedOutput& output);
  // Tells what became of a table's text; gives kExitContentProblem when it broke the rules, and
  // nothing of it is written.
  int TellTableReading(const std::string& file, FormatKind kind, const TableExport& table);
  int WriteThinned(const PlannedOutput& output, std::string_view result);
  int Write(const PlannedOutput& output, ByteParts parts);
  // The exit status of a write that gave `error`, told of on standard error.
  int ReportWrite(const PlannedOutput& output, std::error_code error);

  int WriteAround(const std::string& text);

  const CliOptions& options_;
  const ParameterNames* names_;  // the user's names of parameters; none: no name column
  CliIo& io_;
  ReplaceBatch batch_;
  const TablePart part_;
  bool firstMember_ = true;
  // The one workbook the inputs' tables go into on standard output, written at its end.
  std::optional<ParameterWorkbook> document_;
  RangeMatches matches_;
};

int ResultWriter::OpenDocument() {
  if (options_.to != ExportKind::Xlsx) {
    const std::string_view mark = options_.byteOrderMark ? kUtf8ByteOrderMark : "";
    return WriteAround(std::string(mark) + TablesOpening(options_.to, names_ != nullptr));
  }
  if (part_ == TablePart::Member) document_.emplace(TablePart::Member, names_);
  return kExitOk;
}

int ResultWriter::CloseDocument() {
  if (!document_) return WriteAround(TablesClosing(options_.to));
  const XlsxWorkbook workbook = document_->Finish();
  if (!workbook.error.empty()) {
    io_.err << FileProblem(io_.outName, "cannot write", workbook.error);
    return kExitFileError;
  }
  return WriteStandardOutput(workbook.bytes.view(), io_) ? kExitOk : kExitFileError;
}

int ResultWriter::Thin(const std::string& file, const PlannedOutput& output) {
  if (output.refusal) {
    io_.err << RefusalMessage(file, output);
    return kExitFileError;
  }
  try {
    return ThinAndWrite(file, output);
  } catch (const std::bad_alloc&) {
    io_.err << FileProblem(DisplayName(file), "out of memory", "");
    return kExitFileError;
  }
}

int ResultWriter::ThinAndWrite(const std::string& file, const PlannedOutput& output) {
  FilterState state;
  if (!LoadInput(file, state, io_)) return kExitFileError;
  state.Numbers = options_.numbers;
  const FileFormat format = FormatOfFile(DisplayName(file), state, options_.format, io_.err);
  if (format.refusal == FormatRefusal::SeveralFormats) return kExitUsage;
  if (!format.kind) return kExitContentProblem;
  const FormatKind kind = *format.kind;
  // A table tells of parameters that stand twice, which it shows as two rows; thinning, which
  // keeps them as they stand, with --stats.
  const bool repeats = options_.stats || options_.to != ExportKind::Thinned;
  CheckRecordNames(DisplayName(file), state, kind,
                   options_.numbers.Everything() ? nullptr : &matches_, repeats, io_.err);
  if (options_.to == ExportKind::Xlsx) return ExportXlsx(file, state, kind, output);
  if (options_.to != ExportKind::Thinned) return Export(file, state, kind, output);
  LoadComment(state);
  const FilterOutcome outcome = RunFilter(state, kind, options_.comment.WithComment());
  const std::string name = DisplayName(file);
  if (outcome.error) {
    io_.err << FailureMessage(name, *outcome.error);
    return kExitContentProblem;
  }
  io_.err << LossWarnings(name, kind, outcome.stats);
  if (options_.stats) io_.err << StatsLine(name, kind, outcome.stats);
  return std::max(WriteThinned(output, state.OutText.Bytes()),
                  LossStatus(outcome.stats.LostWithoutZero()));
}

void ResultWriter::LoadComment(FilterState& state) const {
  if (options_.comment.japanese) LoadCommentJ(state, options_.commentFolders);
  if (options_.comment.english) LoadCommentE(state, options_.commentFolders);
}

// The parameters as a table, written as it is made: a table of every value may be many times
// the size of the text. What the table holds otherwise than thinning reads it, or not at all,
// is told of.
int ResultWriter::Export(const std::string& file, const FilterState& state, FormatKind kind,
                         const PlannedOutput& output) {
  const bool joined = part_ == TablePart::Member && options_.to == ExportKind::Json;
  const bool marked = part_ == TablePart::Whole && options_.byteOrderMark;
  const std::string_view lead = joined && !firstMember_ ? kJsonMemberSeparator
                                : marked                ? kUtf8ByteOrderMark
                                                        : "";
  TableExport table;
  const bool toTerminal = !output.file && io_.outIsTerminal;
  const auto contents = [&](int descriptor) {
    table = WriteParameterTable(state, kind, {options_.to, options_.all, part_, names_}, file, lead,
                                [&](std::string_view bytes) {
                                  return toTerminal ? WriteToTerminal(descriptor, bytes)
                                                    : WriteToDescriptor(descriptor, bytes);
                                });
    // A text that breaks the rules leaves a file that was there as it was.
    return table.reading.error ? std::make_error_code(std::errc::operation_canceled)
                               : table.writeError;
  };
  const std::error_code error = WriteOutput(output, contents, io_.streams, batch_);
  if (const int status = TellTableReading(file, kind, table)) return status;
  firstMember_ = false;
  return std::max(ReportWrite(output, error), LossStatus(table.reading.stats.LeftOutOfTables()));
}

// A workbook is made whole before it is written: a table of every value too, whose rows the
// library streams to its own temporary files meanwhile. A workbook that cannot be made (a
// table longer than a sheet) leaves the output as it was.
int ResultWriter::ExportXlsx(const std::string& file, const FilterState& state, FormatKind kind,
                             const PlannedOutput& output) {
  std::optional<ParameterWorkbook> own;
  ParameterWorkbook& workbook = document_ ? *document_ : own.emplace(TablePart::Whole, names_);
  const TableExport table = workbook.Add(state, kind, options_.all, file);
  if (const int status = TellTableReading(file, kind, table)) return status;
  const int lost = LossStatus(table.reading.stats.LeftOutOfTables());
  firstMember_ = false;
  if (document_) return lost;
  const XlsxWorkbook made = own->Finish();
  const std::string_view bytes[] = {made.bytes.view()};
  if (made.error.empty()) return std::max(Write(output, bytes), lost);
  io_.err << FileProblem(TargetName(output.file), "cannot write", made.error);
  return kExitFileError;
}

int ResultWriter::TellTableReading(const std::string& file, FormatKind kind,
                                   const TableExport& table) {
  const std::string name = DisplayName(file);
  if (table.reading.error) {
    io_.err << FailureMessage(name, *table.reading.error);
    return kExitContentProblem;
  }
  io_.err << TableLossWarnings(name, kind, table.reading.stats);
  if (options_.stats) {
    io_.err << TableStatsLine(name, kind, table.reading.stats, table.rows, options_.all);
  }
  return kExitOk;
}

int ResultWriter::WriteAround(const std::string& text) {
  if (part_ == TablePart::Whole || text.empty()) return kExitOk;
  return WriteStandardOutput(text, io_) ? kExitOk : kExitFileError;
}

// The result is written followed by CR LF, in the backup's own bytes to files and pipes, in
// UTF-8 to a terminal. It is never copied for the line break: it may be as large as the file.
int ResultWriter::WriteThinned(const PlannedOutput& output, std::string_view result) {
  if (!output.file && io_.outIsTerminal) {
    return ReportWrite(output, WriteToTerminal(io_.streams.output, Cp932ToUtf8(result) + "\r\n"));
  }
  const std::string_view parts[] = {result, "\r\n"};
  return Write(output, parts);
}

int ResultWriter::Write(const PlannedOutput& output, ByteParts parts) {
  return ReportWrite(output, WriteOutput(output, parts, io_.streams, batch_));
}

int ResultWriter::ReportWrite(const PlannedOutput& output, std::error_code error) {
  if (!error) return kExitOk;
  io_.err << FileProblem(TargetName(output.file), "cannot write", error.message());
  return kExitFileError;
}

int ResultWriter::Commit(bool always) {
  if (!always && !batch_.Full()) return kExitOk;
  const std::vector<ReplaceBatch::Failure> failures = batch_.Commit();
  for (const ReplaceBatch::Failure& failure : failures) {
    io_.err << FileProblem(DisplayName(Utf8Of(failure.target)), "cannot write",
                           failure.error.message());
  }
  return failures.empty() ? kExitOk : kExitFileError;
}

Destination DestinationOf(const CliOptions& options) {
  if (options.output) return ToFile{*options.output};
  if (options.outputDir) {
    const std::string suffix = options.to == ExportKind::Csv    ? ".csv"
                               : options.to == ExportKind::Json ? ".json"
                               : options.to == ExportKind::Xlsx ? ".xlsx"
                                                                : "";
    return ToFolder{*options.outputDir, suffix};
  }
  return ToStandardOutput{};
}

// What a run thins, and with what.
struct ThinningRun {
  const CliOptions& options;
  const ParameterNames* names;  // the user's names of parameters, for tables
  const std::vector<PlannedInput>& inputs;
};

// Thins each input into the output the plan gives it; gives the run's exit status.
int ThinAll(const ThinningRun& run, const OutputPlan& plan, CliIo& io, bool& madeATable) {
  const std::vector<PlannedInput>& inputs = run.inputs;
  ResultWriter thinner(run.options, run.names, io);
  int status = thinner.OpenDocument();
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    status = std::max(status, thinner.Thin(inputs[i].name, plan.outputs[i]));
    status = std::max(status, thinner.Commit(false));
  }
  status = std::max(status, thinner.Commit(true));
  thinner.TellUnmatchedRanges();
  status = std::max(status, thinner.CloseDocument());
  madeATable = thinner.MadeATable();
  return status;
}

// The tables of several inputs with -o FILE: the document standard output would get, made in
// the file's temporary. It replaces the file when some input made a table of it, as a report
// of files that could not all be read is written; a file none could be read from is kept.
int WriteDocument(const ThinningRun& run, CliIo& io) {
  const std::optional<PlannedOutput> target =
      DocumentTarget(run.options.files, run.options.output, io);
  if (!target) return kExitFileError;
  int status = kExitOk;
  const auto contents = [&](int descriptor) {
    CliIo into{{io.streams.input, descriptor},
               io.err,
               false,
               io.commentFolders,
               io.inIsTerminal,
               io.configFolder,
               TargetName(target->file)};
    const OutputPlan plan = PlanOutputs(run.inputs, ToStandardOutput{}, into.streams);
    bool madeATable = false;
    status = ThinAll(run, plan, into, madeATable);
    return madeATable ? std::error_code{} : std::make_error_code(std::errc::operation_canceled);
  };
  ReplaceBatch batch;
  const std::error_code error = WriteOutput(*target, contents, io.streams, batch);
  if (error == std::errc::operation_canceled) return status;
  if (error) {
    io.err << FileProblem(TargetName(target->file), "cannot write", error.message());
    return kExitFileError;
  }
  for (const ReplaceBatch::Failure& failure : batch.Commit()) {
    io.err << FileProblem(TargetName(target->file), "cannot write", failure.error.message());
    status = kExitFileError;
  }
  return status;
}

}  // namespace

int RunHabuki(int argc, const char* const* argv, CliIo& io) {
  std::ostringstream help;
  const auto parsed = ParseCliOptions(argc, argv, io.commentFolders, help, io.err);
  if (const auto* early = std::get_if<EarlyExit>(&parsed)) {
    const bool written = WriteStandardOutput(help.str(), io);
    return written ? early->status : std::max(early->status, kExitFileError);
  }
  if (const auto* diff = std::get_if<DiffOptions>(&parsed)) return RunDiff(*diff, io);
  const auto& options = std::get<CliOptions>(parsed);
  if (options.to == ExportKind::Xlsx && !options.outputDir &&
      !WorkbookMayGoTo(options.output, io,
                       "give -o FILE or --output-dir DIR, or redirect standard output")) {
    return kExitUsage;
  }
  // Started without a file from a console or a double click, the program would wait silently.
  if (!options.filesNamed && io.inIsTerminal) {
    io.err << "habuki: reading a backup from standard input; give a file name, or see habuki "
              "--help\n";
  }
  const NamesLoad names =
      options.to == ExportKind::Thinned ? NamesLoad{} : LoadNames(options.names, io);
  if (names.status != kExitOk) return names.status;
  std::vector<PlannedInput> inputs;
  for (const std::string& file : options.files) inputs.push_back(InputNamed(file, io.streams));
  const ThinningRun run{options, names.names ? &*names.names : nullptr, inputs};
  if (options.output && TablePartOf(options) == TablePart::Member) return WriteDocument(run, io);
  const OutputPlan plan = PlanOutputs(inputs, DestinationOf(options), io.streams);
  if (plan.clash) {
    io.err << ClashMessage(*plan.clash);
    return kExitUsage;
  }
  bool madeATable = false;
  return ThinAll(run, plan, io, madeATable);
}

}  // namespace habuki
