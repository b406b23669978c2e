#include "cli/diff_command.h"

#include <algorithm>
#include <array>
#include <optional>
#include <ostream>
#include <vector>

#include "cli/exit_status.h"
#include "cli/export_text.h"
#include "cli/messages.h"
#include "cli/parameter_export.h"
#include "core/detect_format.h"
#include "core/file_writing.h"
#include "core/parameter_diff.h"

namespace habuki {

namespace {

// One side of the comparison: the loaded file and its rows, which are views of its text.
struct Backup {
  std::string file;
  FilterState state;
  FormatKind kind = FormatKind::Fs30i;
  std::vector<ParameterRow> rows;
  FilterStats stats;
};

bool ReadRows(Backup& backup, CliIo& io) {
  // A value of 0 counts as no value: only the others can differ.
  const ParameterReading reading =
      ReadParameters(backup.state, backup.kind, RowsWanted::NonZero,
                     [&](const ParameterRow& row) { backup.rows.push_back(row); });
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
void AppendLeftOut(std::vector<std::string>& parts, const Backup& backup) {
  const std::string name = DisplayName(backup.file);
  if (backup.stats.recordsAfterEnd != 0) {
    parts.push_back(std::to_string(backup.stats.recordsAfterEnd) + " record(s) of " + name +
                    " after the closing \"%\"");
  }
  if (backup.stats.entriesUnmarked != 0) {
    parts.push_back(std::to_string(backup.stats.entriesUnmarked) + " entry(ies) of " + name +
                    " without a value marker");
  }
}

// "; left out: ..." for the summary line, empty when the comparison read everything.
std::string LeftOutOf(const Backup& before, const Backup& after) {
  std::vector<std::string> parts;
  AppendLeftOut(parts, before);
  AppendLeftOut(parts, after);
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "; left out: " : ", ") + part;
  return text;
}

std::string ValueOf(const ParameterRow* row) { return row ? FieldText(row->value) : "-"; }

const ParameterRow& KeyOf(const ParameterChange& change) {
  return change.before != nullptr ? *change.before : *change.after;
}

std::string_view ChangeName(const ParameterChange& change) {
  switch (KindOf(change)) {
    case ChangeKind::Added:
      return "added";
    case ChangeKind::Removed:
      return "removed";
    case ChangeKind::SetToZero:
      return "set to 0";
    case ChangeKind::Changed:
      break;
  }
  return "changed";
}

// A side's rows of value 0 where a change lacks its row: shown as the 0 they are, not as missing.
void AddZeroRows(ParameterDiff& diff, const Backup& backup, DiffSide side) {
  if (!LacksRowsOn(diff, side)) return;
  ReadParameters(backup.state, backup.kind, RowsWanted::All, [&](const ParameterRow& row) {
    if (row.zero) AddZeroRow(diff, side, row);
  });
}

// N01005Q1 A4: 00000011 -> 10000011
std::string TextReport(const ParameterDiff& diff, std::string_view leftOut) {
  std::string out;
  for (const ParameterChange& change : diff.changes) {
    const ParameterRow& key = KeyOf(change);
    out += "N" + FieldText(key.number) + FieldText(key.qualifier);
    if (!key.entry.empty()) out += " " + FieldText(key.entry);
    out += ": " + ValueOf(change.before) + " -> " + ValueOf(change.after) + "\n";
  }
  out += std::to_string(diff.changed) + " changed, " + std::to_string(diff.added) + " added, " +
         std::to_string(diff.removed) + " removed, " + std::to_string(diff.setToZero) +
         " set to 0" + std::string(leftOut) + "\n";
  return out;
}

constexpr std::string_view kReportColumns[] = {"number", "qualifier", "entry",
                                               "old",    "new",       "change"};

// A difference's fields in the order of kReportColumns; an absent value is nullopt.
std::array<std::optional<std::string>, 6> ReportFields(const ParameterChange& change) {
  const ParameterRow& key = KeyOf(change);
  const auto value = [](const ParameterRow* row) {
    return row != nullptr ? std::optional(FieldText(row->value)) : std::nullopt;
  };
  return {FieldText(key.number), FieldText(key.qualifier), FieldText(key.entry),
          value(change.before),  value(change.after),      std::string(ChangeName(change))};
}

std::string CsvReport(const ParameterDiff& diff) {
  std::string out;
  AppendCsvRow(out, kReportColumns);
  for (const ParameterChange& change : diff.changes) {
    const auto fields = ReportFields(change);
    std::array<std::string_view, 6> row;
    std::transform(fields.begin(), fields.end(), row.begin(),
                   [](const auto& field) { return field ? std::string_view(*field) : ""; });
    AppendCsvRow(out, row);
  }
  return out;
}

// The formats as -f takes them: "30i", or "16i,30i" for files of different formats.
std::string FormatsOf(const Backup& before, const Backup& after) {
  std::string formats(FormatName(before.kind));
  if (after.kind != before.kind) formats += "," + std::string(FormatName(after.kind));
  return formats;
}

std::string JsonReport(const DiffOptions& options, std::string_view formats,
                       const ParameterDiff& diff) {
  std::string out = "{\"old\": ";
  AppendJsonString(out, options.before);
  out += ", \"new\": ";
  AppendJsonString(out, options.after);
  out += ", \"format\": ";
  AppendJsonString(out, formats);
  out += ", \"differences\": [";
  JsonRows json(kReportColumns);
  for (const ParameterChange& change : diff.changes) {
    const auto fields = ReportFields(change);
    std::array<std::optional<std::string_view>, 6> row;
    std::copy(fields.begin(), fields.end(), row.begin());
    json.Append(out, row);
  }
  json.End(out);
  out += "}\n";
  return out;
}

std::string Report(const DiffOptions& options, std::string_view formats, const ParameterDiff& diff,
                   std::string_view leftOut) {
  switch (options.to) {
    case ReportKind::Text:
      return TextReport(diff, leftOut);
    case ReportKind::Csv:
      return CsvReport(diff);
    case ReportKind::Json:
      return JsonReport(options, formats, diff);
  }
  return {};
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

}  // namespace

int RunDiff(const DiffOptions& options, CliIo& io) {
  Backup before{options.before}, after{options.after};
  // Both files are tried, so that one run tells of both when neither can be read.
  const bool beforeLoaded = LoadInput(options.before, before.state, io);
  const bool afterLoaded = LoadInput(options.after, after.state, io);
  if (!beforeLoaded || !afterLoaded) return kExitFileError;
  if (!SettleFormats(options, before, after, io)) return kExitUsage;
  const bool beforeRead = ReadRows(before, io);
  const bool afterRead = ReadRows(after, io);
  if (!beforeRead || !afterRead) return kExitFileError;
  ParameterDiff diff = CompareParameters(before.rows, after.rows);
  AddZeroRows(diff, before, DiffSide::Before);
  AddZeroRows(diff, after, DiffSide::After);
  const std::string leftOut = LeftOutOf(before, after);
  if (!options.quiet) {
    if (const std::error_code error = WriteToDescriptor(
            io.streams.output, Report(options, FormatsOf(before, after), diff, leftOut))) {
      io.err << FileProblem("standard output", "cannot write", error.message());
      return kExitFileError;
    }
  }
  // What was left out may differ: the files are not known to be alike.
  return diff.changes.empty() && leftOut.empty() ? kDiffSame : kDiffDifferent;
}

}  // namespace habuki
