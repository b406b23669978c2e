#include "cli/diff_command.h"

#include <ostream>
#include <utility>
#include <vector>

#include "cli/diff_report.h"
#include "cli/exit_status.h"
#include "cli/messages.h"
#include "core/filter/detect_format.h"
#include "core/filter/header_lines.h"
#include "core/io/file_writing.h"
#include "core/io/output_plan.h"
#include "core/table/parameter_diff.h"

namespace habuki {

namespace {

// One side of the comparison: the loaded file, its format, and what reading it gave.
struct Backup {
  explicit Backup(std::string name) : file(std::move(name)) {}

  std::string file;
  FilterState state;
  FormatKind kind = FormatKind::Fs30i;
  FilterStats stats;
};

// Tells what reading a side gave: why it failed, or what it could not read as values.
bool Told(Backup& backup, const ParameterReading& reading, CliIo& io) {
  const std::string name = DisplayName(backup.file);
  if (reading.error) {
    io.err << FailureMessage(name, *reading.error);
    return false;
  }
  backup.stats = reading.stats;
  io.err << TableLossWarnings(name, backup.kind, reading.stats);
  return true;
}

// What of a side the comparison could not read, for the summary: records after the closing "%"
// and entries without a value marker. Records of a kind without a rule are compared as text.
void NoteLeftOut(DiffFindings& findings, const Backup& backup) {
  const std::string name = DisplayName(backup.file);
  const FilterStats& stats = backup.stats;
  if (stats.recordsAfterEnd != 0) {
    findings.leftOut.push_back(std::to_string(stats.recordsAfterEnd) + " record(s) of " + name +
                               " after the closing \"%\"");
  }
  if (stats.entriesUnmarked != 0) {
    findings.leftOut.push_back(std::to_string(stats.entriesUnmarked) + " entry(ies) of " + name +
                               " without a value marker");
  }
  findings.leftOutCount += static_cast<std::size_t>(stats.recordsAfterEnd + stats.entriesUnmarked);
}

// The formats as -f takes them: "30i", or "16i,30i" for files of different formats.
std::string FormatsOf(const Backup& before, const Backup& after) {
  std::string formats(FormatName(before.kind));
  if (after.kind != before.kind) formats += "," + std::string(FormatName(after.kind));
  return formats;
}

DiffFindings Findings(const DiffOptions& options, const Backup& before, const Backup& after,
                      ParameterDiff parameters) {
  DiffFindings findings;
  findings.oldFile = options.before;
  findings.newFile = options.after;
  findings.formats = FormatsOf(before, after);
  findings.parameters = std::move(parameters);
  findings.headers = CompareHeaderLines(HeaderLines(before.state.AllText.Bytes()),
                                        HeaderLines(after.state.AllText.Bytes()));
  NoteLeftOut(findings, before);
  NoteLeftOut(findings, after);
  return findings;
}

// Each file's format as -f gives it or as thinning would guess it; guesses that differ make
// the comparison meaningless unless the user says that the files are of different formats.
bool SettleFormats(const DiffOptions& options, Backup& before, Backup& after, CliIo& io) {
  before.kind = options.beforeFormat.value_or(GuessFormat(before.state.AllText));
  after.kind = options.afterFormat.value_or(GuessFormat(after.state.AllText));
  if (before.kind == after.kind || options.beforeFormat || options.afterFormat) return true;
  io.err << "habuki: " << DisplayName(options.before) << " looks like format "
         << FormatName(before.kind) << " and " << DisplayName(options.after) << " like "
         << FormatName(after.kind) << "; give the format of both with -f, or of each with -f "
         << "OLD,NEW (here -f " << FormatName(before.kind) << ',' << FormatName(after.kind)
         << ")\n";
  return false;
}

// The report goes to standard output; it is refused when standard output is one of the two
// files (`habuki diff a b >> b`), which it would change.
bool OutputIsFree(const DiffOptions& options, CliIo& io) {
  if (options.quiet) return true;
  const std::vector<PlannedInput> inputs{InputNamed(options.before, io.streams),
                                         InputNamed(options.after, io.streams)};
  const OutputPlan plan = PlanOutputs(inputs, ToStandardOutput{}, io.streams);
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (plan.outputs[i].refusal) {
      io.err << RefusalMessage(inputs[i].name, plan.outputs[i]);
      return false;
    }
  }
  return true;
}

}  // namespace

int RunDiff(const DiffOptions& options, CliIo& io) {
  if (!OutputIsFree(options, io)) return kExitFileError;
  Backup before(options.before), after(options.after);
  // Both files are tried, so that one run tells of both when neither can be read.
  const bool beforeLoaded = LoadInput(options.before, before.state, io);
  const bool afterLoaded = LoadInput(options.after, after.state, io);
  if (!beforeLoaded || !afterLoaded) return kExitFileError;
  before.state.Numbers = after.state.Numbers = options.numbers;
  if (!SettleFormats(options, before, after, io)) return kExitUsage;
  BackupComparison comparison = CompareBackups(before.state, before.kind, after.state, after.kind);
  const bool beforeRead = Told(before, comparison.before, io);
  const bool afterRead = Told(after, comparison.after, io);
  if (!beforeRead || !afterRead) return kExitFileError;
  const DiffFindings findings = Findings(options, before, after, std::move(comparison.diff));
  if (!options.quiet && !WriteStandardOutput(DiffReport(findings, options.to), io)) {
    return kExitFileError;
  }
  return findings.Alike() ? kDiffSame : kDiffDifferent;
}

}  // namespace habuki
