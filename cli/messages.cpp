#include "cli/messages.h"

#include <sstream>

#include "cli/cli_options.h"
#include "core/filter/format_profile.h"
#include "core/io/path_text.h"
#include "core/io/program_start.h"
#include "core/text/display_text.h"
#include "core/text/size_limits.h"

namespace habuki {

namespace {

// The text at a place, as a message shows it: escaped, and cut where the line goes on.
std::string Shown(const TextPlace& place) {
  if (place.text.empty() && !place.cut) return "(the end of the line)";
  return Cp932ForMessage(place.text.Bytes()) + (place.cut ? "..." : "");
}

// "habuki: NAME:LINE:COLUMN: ", where an editor finds the place.
std::string At(std::string_view name, const TextPlace& place) {
  return "habuki: " + std::string(name) + ':' + std::to_string(place.line) + ':' +
         std::to_string(place.column) + ": ";
}

// "habuki: NAME:LINE:COLUMN: COUNT WHAT; the first: TEXT", the place that of the first.
void Loss(std::ostringstream& message, std::string_view name, Pos count, std::string_view what,
          const TextPlace& first, std::string_view firstIs = "the first") {
  message << At(name, first) << count << ' ' << what << "; " << firstIs << ": " << Shown(first)
          << '\n';
}

// Records left out by --only and --ignore, in thinning and in tables alike.
void NotChosen(std::ostringstream& message, std::string_view name, const FilterStats& stats) {
  if (stats.firstNotChosen) {
    Loss(message, name, stats.recordsNotChosen,
         "record(s) left out because --only or --ignore leaves out their numbers",
         *stats.firstNotChosen);
  }
}

// The --stats lines' count of the records after the closing "%", and of those that hold a value.
std::string AfterEndCount(const FilterStats& stats) {
  return std::to_string(stats.recordsAfterEnd) + " after the closing % (" +
         std::to_string(stats.recordsLostAfterEnd) + " holding a value)";
}

// The --stats lines' count of those records, told only when there are any.
std::string NotChosenCount(const FilterStats& stats) {
  if (stats.recordsNotChosen == 0) return {};
  return ", " + std::to_string(stats.recordsNotChosen) + " records left out by --only or --ignore";
}

// A record head of each format, and its shape.
std::string_view HeadShape(FormatKind kind) {
  switch (kind) {
    case FormatKind::Fs30i:
      return "N01005Q1: \"N\", five digits, \"Q\"";
    case FormatKind::Fs16i:
      return "N1005Q1: \"N\", four digits, \"Q\"";
    case FormatKind::Pmc:
      break;
  }
  return "N600002 P10: \"N\", six digits, a blank or \"P\"";
}

// "30i, 9124 of them, the first at line 2: N00000Q1L1P..."
std::string HeadsOf(FormatKind kind, const HeadsFound& heads) {
  return std::string(FormatName(kind)) + ", " + std::to_string(heads.count) +
         " of them, the first at line " + std::to_string(heads.first->line) + ": " +
         Shown(*heads.first);
}

std::string LooksLike(const TextLooks& looks) {
  switch (looks.kind) {
    case Resemblance::Binary:
      return "binary data, such as an image, an archive or a workbook";
    case Resemblance::Json:
      return "a JSON document";
    case Resemblance::Table:
      return "a table, as line " + std::to_string(looks.example->line) + ": " +
             Shown(*looks.example);
    case Resemblance::Program:
      return "a program with sequence numbers, as line " + std::to_string(looks.example->line) +
             ": " + Shown(*looks.example);
    case Resemblance::Text:
      break;
  }
  return "text without a record";
}

}  // namespace

std::string NoParameterFileMessage(std::string_view name, std::optional<FormatKind> given,
                                   const FormatGuess& guess, const TextLooks& looks) {
  std::string message = "habuki: " + std::string(name) + ": not a parameter file";
  if (!given) {
    message += ": it holds no record head of any format (30i " +
               std::string(HeadShape(FormatKind::Fs30i)) + "; 16i " +
               std::string(HeadShape(FormatKind::Fs16i)) + "; pmc " +
               std::string(HeadShape(FormatKind::Pmc)) + "); it looks like " + LooksLike(looks);
    return message + '\n';
  }
  message += " of format " + std::string(FormatName(*given)) + ": it holds no " +
             std::string(FormatName(*given)) + " record head (" + std::string(HeadShape(*given)) +
             ")";
  const std::vector<FormatKind> found = guess.Found();
  if (found.empty()) return message + "; it looks like " + LooksLike(looks) + '\n';
  message += "; it holds record heads of " + HeadsOf(found.front(), guess.Of(found.front()));
  return message + "; give -f " + std::string(FormatName(found.front())) + ", or no -f\n";
}

std::string SeveralFormatsMessage(std::string_view name, const FormatGuess& guess) {
  std::string message =
      "habuki: " + std::string(name) + ": it holds record heads of several formats: ";
  const std::vector<FormatKind> found = guess.Found();
  for (const FormatKind kind : found) {
    message += (kind == found.front() ? "" : "; ") + HeadsOf(kind, guess.Of(kind));
  }
  return message + "; give the format with -f\n";
}

std::string RepeatsMessage(std::string_view name, const std::vector<RepeatedRecord>& repeats) {
  constexpr std::size_t kShown = 10;  // repeats told, and lines of each
  std::string message;
  for (std::size_t i = 0; i < std::min(repeats.size(), kShown); ++i) {
    const RepeatedRecord& repeat = repeats[i];
    message += "habuki: " + std::string(name) + ':' + std::to_string(repeat.lines.front()) + ':' +
               std::to_string(repeat.column) + ": " + Cp932ForMessage(repeat.head) + " stands " +
               std::to_string(repeat.lines.size()) + " times, on lines ";
    for (std::size_t j = 0; j < std::min(repeat.lines.size(), kShown); ++j) {
      message += (j == 0 ? "" : ", ") + std::to_string(repeat.lines[j]);
    }
    if (repeat.lines.size() > kShown) message += ", ...";
    message += '\n';
  }
  if (repeats.size() > kShown) {
    message += "habuki: " + std::string(name) + ": " + std::to_string(repeats.size() - kShown) +
               " more parameters stand more than once\n";
  }
  return message;
}

std::string FileProblem(std::string_view name, std::string_view what, std::string_view reason) {
  std::ostringstream message;
  message << "habuki: " << name << ": " << what;
  if (!reason.empty()) message << ": " << reason;
  message << '\n';
  return message.str();
}

std::string LoadProblem(std::string_view name, const LoadResult& loaded) {
  switch (loaded.status) {
    case LoadStatus::Loaded:
      return {};
    case LoadStatus::CannotRead:
      if (IsUnmatchedPattern(name)) return "habuki: no file matches " + std::string(name) + '\n';
      return FileProblem(name, "cannot read", loaded.error.message());
    case LoadStatus::TooLarge: {
      const std::string size = loaded.fileSize
                                   ? std::to_string(*loaded.fileSize) + " bytes"
                                   : "more than " + std::to_string(kParamFileLimit) + " bytes";
      return FileProblem(name, "file is too large",
                         size + ", the limit is " + std::string(kParamFileLimitText));
    }
    case LoadStatus::Empty:
      return FileProblem(name, "file is empty", "");
  }
  return {};
}

std::string RefusalMessage(std::string_view input, const PlannedOutput& output) {
  if (output.refusal == Refusal::OutputIsTheInput) {
    return FileProblem(DisplayName(input), "input file is output file", "");
  }
  return FileProblem(DisplayName(Utf8Of(*output.file)), "will not overwrite an input of this run",
                     "");
}

std::string ClashMessage(const TargetClash& clash) {
  std::error_code error;
  const bool throughLinks =
      clash.reached != std::filesystem::absolute(clash.target, error).lexically_normal();
  return "habuki: " + DisplayName(clash.first) + " and " + DisplayName(clash.second) +
         " would both be written to " + DisplayName(Utf8Of(clash.target)) +
         (throughLinks ? " (which leads to " + DisplayName(Utf8Of(clash.reached)) + ")" : "") +
         "; nothing was written\n";
}

std::string FailureMessage(std::string_view name, const FilterError& error) {
  if (error.kind == FailureKind::NoRecord) {
    return FileProblem(name, Describe(error.kind), "");
  }
  if (error.strayLine) {
    return At(name, *error.strayLine) + "line " + std::to_string(error.strayLine->line) +
           " is not a record: " + Shown(*error.strayLine) + '\n';
  }
  return At(name, error.at) + Describe(error.kind) + ": " + Shown(error.at) + '\n';
}

std::string LossWarnings(std::string_view name, FormatKind kind, const FilterStats& stats) {
  std::ostringstream message;
  const std::string notZero = ", not because they are zero";
  if (stats.firstUnhandled) {
    Loss(message, name, stats.recordsUnhandled,
         "record(s) dropped because format " + std::string(FormatName(kind)) +
             " has no rule for their kind" + notZero,
         *stats.firstUnhandled);
  }
  if (stats.firstLostAfterEnd) {
    Loss(message, name, stats.recordsLostAfterEnd,
         "record(s) dropped because they follow the closing \"%\"" + notZero,
         *stats.firstLostAfterEnd);
  }
  if (stats.firstUnmarked) {
    Loss(message, name, stats.entriesUnmarked,
         "entry(ies) dropped because no value marker follows them" + notZero, *stats.firstUnmarked,
         "the first in the record");
  }
  NotChosen(message, name, stats);
  return message.str();
}

std::string TableLossWarnings(std::string_view name, FormatKind kind, const FilterStats& stats) {
  std::ostringstream message;
  if (stats.firstUnhandled) {
    Loss(message, name, stats.recordsUnhandled,
         "record(s) read as text because format " + std::string(FormatName(kind)) +
             " has no rule for their kind",
         *stats.firstUnhandled);
  }
  if (stats.firstLostAfterEnd) {
    Loss(message, name, stats.recordsLostAfterEnd,
         "record(s) left out because they follow the closing \"%\"", *stats.firstLostAfterEnd);
  }
  if (stats.firstUnmarked) {
    Loss(message, name, stats.entriesUnmarked,
         "entry(ies) left out because no value marker follows them", *stats.firstUnmarked,
         "the first in the record");
  }
  NotChosen(message, name, stats);
  return message.str();
}

std::string StatsLine(std::string_view name, FormatKind kind, const FilterStats& stats) {
  std::ostringstream message;
  message << "habuki: " << name << ": format " << FormatName(kind) << ", " << stats.recordsRead
          << " records read, " << stats.recordsKept << " kept, " << stats.recordsZero
          << " dropped as zero, " << stats.recordsUnhandled << " dropped for an unhandled kind, "
          << AfterEndCount(stats) << ", " << stats.entriesZero << " entries dropped as zero, "
          << stats.entriesUnmarked << " without a value marker" << NotChosenCount(stats) << '\n';
  return message.str();
}

std::string TableStatsLine(std::string_view name, FormatKind kind, const FilterStats& stats,
                           std::size_t rows, bool all) {
  std::ostringstream message;
  message << "habuki: " << name << ": format " << FormatName(kind) << ", " << stats.recordsRead
          << " records read, " << rows << " rows written"
          << (all ? "" : " (the values of 0 left out)") << ", " << stats.recordsUnhandled
          << " records read as text for an unhandled kind, " << AfterEndCount(stats) << ", "
          << stats.entriesUnmarked << " entries without a value marker" << NotChosenCount(stats)
          << '\n';
  return message.str();
}

}  // namespace habuki
