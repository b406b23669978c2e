#include "cli/diff_command.h"

#include <algorithm>
#include <deque>
#include <new>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "cli/exit_status.h"
#include "cli/file_facts.h"
#include "cli/file_format.h"
#include "cli/messages.h"
#include "cli/names_file.h"
#include "cli/record_names.h"
#include "core/filter/format_profile.h"
#include "core/filter/header_lines.h"
#include "core/io/file_writing.h"
#include "core/io/output_plan.h"
#include "core/io/path_text.h"
#include "core/table/axis_names.h"
#include "core/table/fleet_comparison.h"
#include "core/table/parameter_diff.h"
#include "core/text/byte_order_mark.h"
#include "core/text/display_text.h"
#include "report/diff_report.h"
#include "report/fleet_report.h"

namespace habuki {

namespace {

// One file of the comparison: the loaded text, its format, and what reading it gave.
struct Backup {
  Backup(std::string name, std::optional<FormatKind> format)
      : file(std::move(name)), given(format) {}

  std::string file;
  std::optional<FormatKind> given;  // by -f
  FilterState state;
  FormatKind kind = FormatKind::Fs30i;
  FilterStats stats;
  RecordNames names;
  bool usable = true;  // loaded, with a format, and read by its rules
  std::string why;     // why it is not usable
};

// The files in the order given; a deque, so that each loaded text stays where it is.
using Backups = std::deque<Backup>;

// A fleet carries on without the files it cannot use; two files are compared only together.
bool IsFleet(const DiffOptions& options) { return options.files.size() >= 3; }

// Tells what reading a side gave: why it failed, or what it could not read as values.
bool TellReading(Backup& backup, const ParameterReading& reading, CliIo& io) {
  const std::string name = DisplayName(backup.file);
  if (reading.error) {
    const std::string message = FailureMessage(name, *reading.error);
    io.err << message;
    backup.why = "it breaks its format's rules: " + message.substr(0, message.find('\n'));
    return false;
  }
  backup.stats = reading.stats;
  io.err << TableLossWarnings(name, backup.kind, reading.stats);
  return true;
}

// What of a file the comparison could not read, for the summary: records after the closing "%"
// and entries without a value marker. Records of a kind without a rule are compared as text.
void NoteLeftOut(std::vector<std::string>& leftOut, std::size_t& count, const Backup& backup) {
  const std::string name = DisplayName(backup.file);
  const FilterStats& stats = backup.stats;
  if (stats.recordsLostAfterEnd != 0) {
    leftOut.push_back(std::to_string(stats.recordsLostAfterEnd) + " record(s) of " + name +
                      " after the closing \"%\"");
  }
  if (stats.entriesUnmarked != 0) {
    leftOut.push_back(std::to_string(stats.entriesUnmarked) + " entry(ies) of " + name +
                      " without a value marker");
  }
  count += static_cast<std::size_t>(stats.LeftOutOfTables());
}

// The formats as -f takes them: "30i", or "16i,30i" for files of different formats.
std::string FormatsOf(const Backup& before, const Backup& after) {
  std::string formats(FormatName(before.kind));
  if (after.kind != before.kind) formats += "," + std::string(FormatName(after.kind));
  return formats;
}

DiffFindings Findings(const DiffOptions& options, const ParameterNames* names, const Backup& before,
                      const Backup& after, ParameterDiff parameters) {
  DiffFindings findings;
  findings.names = names;
  findings.axes = {ReadAxisNames(before.state, before.kind),
                   ReadAxisNames(after.state, after.kind)};
  findings.oldFile = options.files[0];
  findings.newFile = options.files[1];
  findings.formats = FormatsOf(before, after);
  findings.parameters = std::move(parameters);
  findings.headers = CompareHeaderLines(HeaderLines(before.state.AllText.Bytes()),
                                        HeaderLines(after.state.AllText.Bytes()));
  NoteLeftOut(findings.leftOut, findings.leftOutCount, before);
  NoteLeftOut(findings.leftOut, findings.leftOutCount, after);
  return findings;
}

// -f for files of these formats: "-f 16i,30i".
std::string FormatOption(const Backups& backups) {
  std::string option = "-f ";
  for (const Backup& backup : backups) {
    if (&backup != &backups.front()) option += ',';
    option += FormatName(backup.kind);
  }
  return option;
}

// Loads each file and finds its format, as -f gives it or as its record heads show it, and what
// its records' names show (noting in `matches` the ranges that name them); a file that cannot be
// read or has no format is told of and marked unusable. Gives the exit status of those files
// (kExitOk when there are none). Every file is tried, so that one run tells of all.
int LoadBackups(const DiffOptions& options, Backups& backups, RangeMatches& matches, CliIo& io) {
  int status = kExitOk;
  for (std::size_t i = 0; i < options.files.size(); ++i) {
    Backup& backup = backups.emplace_back(options.files[i], options.formats[i]);
    backup.state.Numbers = options.numbers;
    if (!LoadInput(backup.file, backup.state, io)) {
      backup.usable = false;
      backup.why = "it could not be read";
      status = std::max(status, kExitFileError);
      continue;
    }
    const FileFormat format =
        FormatOfFile(DisplayName(backup.file), backup.state, backup.given, io.err);
    backup.kind = format.kind.value_or(FormatKind::Fs30i);
    backup.usable = format.kind.has_value();
    if (!backup.usable) {
      backup.why = "it is no parameter file of a format habuki reads, or of the one given";
      const bool several = format.refusal == FormatRefusal::SeveralFormats;
      status = std::max(status, several ? kExitUsage : kExitFileError);
      continue;
    }
    backup.names =
        CheckRecordNames(DisplayName(backup.file), backup.state, backup.kind,
                         options.numbers.Everything() ? nullptr : &matches, true, io.err);
  }
  return status;
}

// Whether --only and --ignore leave any record of the backups to compare.
bool AnythingChosen(const Backups& backups) {
  return std::any_of(backups.begin(), backups.end(),
                     [](const Backup& backup) { return backup.names.chosen != 0; });
}

// A parameter that stands more often in one backup than in another is paired in the order of its
// records, which may pair values that were not meant to meet: each is told, and gives true.
bool TellAmbiguousPairs(const Backups& backups, CliIo& io) {
  bool ambiguous = false;
  for (const Backup& backup : backups) {
    for (const RepeatedRecord& repeat : backup.names.repeats) {
      for (const Backup& other : backups) {
        const auto& repeats = other.names.repeats;
        const auto match = std::find_if(repeats.begin(), repeats.end(),
                                        [&](const auto& r) { return r.SameParameter(repeat); });
        const std::size_t times = match == repeats.end() ? 1 : match->lines.size();
        if (times >= repeat.lines.size()) continue;
        io.err << "habuki: " << Cp932ForMessage(repeat.head) << " stands " << repeat.lines.size()
               << " times in " << DisplayName(backup.file) << " and "
               << (times == 1 ? "once or not at all" : std::to_string(times) + " times") << " in "
               << DisplayName(other.file)
               << ": its values are paired in the order they stand, which may not be the pairs "
                  "meant\n";
        ambiguous = true;
        break;
      }
    }
  }
  return ambiguous;
}

// The files of a fleet that it leaves out, named for the report; they leave the comparison.
void LeaveOutUnusable(Backups& backups, std::vector<FleetFile>& leftOut) {
  for (const Backup& backup : backups) {
    if (!backup.usable) leftOut.push_back(LeftOutFile(backup.file, backup.why));
  }
  std::erase_if(backups, [](const Backup& backup) { return !backup.usable; });
}

// A CNC backup and a PMC backup hold different parameters: they are never compared. Formats of
// CNC backups that differ make the comparison meaningless unless the user says that the files
// are of different formats (a retrofit from 16i to 30i).
bool Comparable(const Backups& backups, CliIo& io) {
  const auto isPmc = [](const Backup& backup) { return backup.kind == FormatKind::Pmc; };
  const auto pmc = std::find_if(backups.begin(), backups.end(), isPmc);
  const auto cnc = std::find_if_not(backups.begin(), backups.end(), isPmc);
  if (pmc != backups.end() && cnc != backups.end()) {
    io.err << "habuki: " << DisplayName(pmc->file) << " holds PMC parameters and "
           << DisplayName(cnc->file) << " CNC parameters (" << FormatName(cnc->kind)
           << "): they are different parameters, so they are not compared\n";
    return false;
  }
  const bool given = std::any_of(backups.begin(), backups.end(),
                                 [](const Backup& backup) { return backup.given.has_value(); });
  const bool alike = std::all_of(backups.begin(), backups.end(), [&](const Backup& backup) {
    return backup.kind == backups.front().kind;
  });
  if (alike || given) return true;
  if (backups.size() == 2) {
    io.err << "habuki: " << DisplayName(backups[0].file) << " looks like format "
           << FormatName(backups[0].kind) << " and " << DisplayName(backups[1].file) << " like "
           << FormatName(backups[1].kind) << "; give the format of both with -f, or of each with "
           << "-f OLD,NEW (here " << FormatOption(backups) << ")\n";
    return false;
  }
  io.err << "habuki: the files look like different formats:";
  for (const Backup& backup : backups) {
    io.err << (&backup == &backups.front() ? " " : ", ") << DisplayName(backup.file) << ' '
           << FormatName(backup.kind);
  }
  io.err << "; give the format of all with -f, or of each in the files' order (here "
         << FormatOption(backups) << ")\n";
  return false;
}

// Writes the report where it was planned to go; a failure is told and gives false.
bool WriteReport(const PlannedOutput& target, std::string_view report, CliIo& io) {
  if (!target.file) return WriteStandardOutput(report, io);
  const std::error_code error = WriteOutput(target, ByteParts(&report, 1), io.streams);
  if (error) io.err << FileProblem(TargetName(target.file), "cannot write", error.message());
  return !error;
}

// A report as --to asks for it; a CSV one led by the byte order mark of --bom.
std::string Marked(const DiffOptions& options, std::string report) {
  if (options.byteOrderMark) report.insert(0, kUtf8ByteOrderMark);
  return report;
}

int DiffStatus(bool alike) { return alike ? kDiffSame : kDiffDifferent; }

// OLD against NEW: the values that changed.
int CompareTwo(const DiffOptions& options, const ParameterNames* names,
               const std::optional<PlannedOutput>& target, Backups& backups, CliIo& io) {
  Backup& before = backups[0];
  Backup& after = backups[1];
  BackupComparison comparison = CompareBackups(before.state, before.kind, after.state, after.kind);
  const bool beforeRead = TellReading(before, comparison.before, io);
  const bool afterRead = TellReading(after, comparison.after, io);
  if (!beforeRead || !afterRead) return kExitFileError;
  const DiffFindings findings = Findings(options, names, before, after, std::move(comparison.diff));
  if (target && !WriteReport(*target, Marked(options, DiffReport(findings, options.to)), io))
    return kExitFileError;
  return DiffStatus(findings.Alike() && !TellAmbiguousPairs(backups, io));
}

// How many of each backup's cells of the table are shaded.
std::vector<std::size_t> DifferencesByFile(const FleetComparison& table) {
  std::vector<std::size_t> differences(table.members);
  for (std::size_t row = 0; row < table.keys.size(); ++row) {
    for (std::size_t i = 0; i < table.members; ++i) differences[i] += table.Row(row)[i].differs;
  }
  return differences;
}

FleetFindings FleetFindingsOf(const DiffOptions& options, const ParameterNames* names,
                              const Backups& backups, FleetComparison table,
                              std::vector<FleetFile> notCompared) {
  FleetFindings findings;
  findings.names = names;
  findings.notCompared = std::move(notCompared);
  findings.commandLine = options.commandLine;
  findings.made = UtcText(std::chrono::system_clock::now());
  if (options.against) findings.against = DisplayName(*options.against);
  const std::vector<std::size_t> differences = DifferencesByFile(table);
  std::vector<std::vector<std::string_view>> headers;
  for (std::size_t i = 0; i < backups.size(); ++i) {
    const Backup& backup = backups[i];
    findings.files.push_back(backup.file);
    findings.formats.push_back(FormatName(backup.kind));
    findings.axes.push_back(ReadAxisNames(backup.state, backup.kind));
    findings.compared.push_back(ComparedFile(backup.file, backup.given, backup.kind, backup.state,
                                             backup.stats, table.values[i], differences[i]));
    headers.push_back(findings.compared.back().headerLines);
    NoteLeftOut(findings.leftOut, findings.leftOutCount, backup);
  }
  CompareFleetHeaders(headers, findings);
  findings.table = std::move(table);
  return findings;
}

bool WriteTable(const FleetFindings& findings, const DiffOptions& options,
                const PlannedOutput& target, CliIo& io) {
  if (options.to != ReportKind::Xlsx) {
    return WriteReport(target, Marked(options, FleetReport(findings, options.to)), io);
  }
  const XlsxWorkbook workbook = FleetWorkbook(findings);
  if (!workbook.error.empty()) {
    io.err << FileProblem(TargetName(target.file), "cannot write", workbook.error);
    return false;
  }
  return WriteReport(target, workbook.bytes.view(), io);
}

// What the workbook's shading compares with: the file of --against while it is compared, else
// the value most files have.
FleetReference ReferenceOf(const DiffOptions& options, const Backups& backups, CliIo& io) {
  if (!options.against) return {};
  const auto named = std::find_if(backups.begin(), backups.end(), [&](const Backup& backup) {
    return backup.file == *options.against;
  });
  if (named != backups.end()) return {static_cast<std::size_t>(named - backups.begin())};
  io.err << "habuki: " << DisplayName(*options.against)
         << " of --against is not compared; the shading compares with the value most files have\n";
  return {};
}

// The backups side by side; a fleet leaves out those that break their format's rules and
// compares the others again.
FleetComparison CompareSideBySide(const DiffOptions& options, Backups& backups,
                                  std::vector<FleetFile>& notCompared, CliIo& io) {
  for (;;) {
    std::vector<FleetMember> members;
    for (const Backup& backup : backups) members.push_back({&backup.state, backup.kind});
    FleetComparison table =
        CompareFleet(members, options.all ? FleetRows::All : FleetRows::Differing,
                     ReferenceOf(options, backups, io));
    for (std::size_t i = 0; i < backups.size(); ++i) {
      backups[i].usable = TellReading(backups[i], table.readings[i], io);
    }
    if (!table.Failed() || !IsFleet(options)) return table;
    LeaveOutUnusable(backups, notCompared);
  }
}

// Three or more files, or a workbook: one column a file. A fleet that left files out ends with
// kExitFileError, its table written.
int CompareMany(const DiffOptions& options, const ParameterNames* names,
                const std::optional<PlannedOutput>& target, Backups& backups,
                std::vector<FleetFile> notCompared, CliIo& io) {
  FleetComparison table = CompareSideBySide(options, backups, notCompared, io);
  if (table.Failed()) return kExitFileError;
  if (backups.empty()) {
    io.err << "habuki: none of the files could be compared; no table was written\n";
    return kExitFileError;
  }
  const bool leftOut = !notCompared.empty();
  const FleetFindings findings =
      FleetFindingsOf(options, names, backups, std::move(table), std::move(notCompared));
  if (target && !WriteTable(findings, options, *target, io)) return kExitFileError;
  const bool ambiguous = TellAmbiguousPairs(backups, io);
  return leftOut ? kExitFileError : DiffStatus(findings.Alike() && !ambiguous);
}

// The whole comparison: the files loaded and compared, the report written.
int CompareFiles(const DiffOptions& options, CliIo& io) {
  if (options.to == ReportKind::Xlsx && !options.quiet &&
      !WorkbookMayGoTo(options.output, io, "give -o FILE or redirect standard output to a file")) {
    return kExitUsage;
  }
  const NamesLoad names = LoadNames(options.names, io);
  if (names.status != kExitOk) return names.status;
  // -q writes no report: nothing to plan.
  std::optional<PlannedOutput> target;
  if (!options.quiet && !(target = DocumentTarget(options.files, options.output, io)))
    return kExitFileError;
  Backups backups;
  RangeMatches matches(options.numbers);
  const int status = LoadBackups(options, backups, matches, io);
  if (status != kExitOk && !IsFleet(options)) return status;
  std::vector<FleetFile> notCompared;
  LeaveOutUnusable(backups, notCompared);
  if (!Comparable(backups, io)) return kExitUsage;
  TellUnmatchedRanges(matches, io.err);
  if (!options.numbers.Everything() && !AnythingChosen(backups)) {
    io.err << "habuki: --only and --ignore leave no record of any file to compare\n";
    return kExitUsage;
  }
  const ParameterNames* named = names.names ? &*names.names : nullptr;
  if (options.Table()) {
    return CompareMany(options, named, target, backups, std::move(notCompared), io);
  }
  return CompareTwo(options, named, target, backups, io);
}

}  // namespace

// Running out of memory is a message and a status, never an abort.
int RunDiff(const DiffOptions& options, CliIo& io) {
  try {
    return CompareFiles(options, io);
  } catch (const std::bad_alloc&) {
    io.err << "habuki: out of memory while comparing the files\n";
    return kExitFileError;
  }
}

}  // namespace habuki
