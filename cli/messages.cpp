#include "messages.h"

#include <sstream>

#include "cli_options.h"
#include "display_text.h"

namespace habuki {

namespace {

std::string ShowRecord(const RecordRef& record) {
  return "line " + std::to_string(record.line) + " (" + Cp932ToUtf8(record.head.Bytes()) + ")";
}

}  // namespace

std::string DisplayName(std::string_view file) {
  return file == "-" ? "<stdin>" : std::string(file);
}

std::string FileProblem(std::string_view name, std::string_view what, std::string_view reason) {
  std::ostringstream message;
  message << "habuki: " << name << ": " << what;
  if (!reason.empty()) message << ": " << reason;
  message << '\n';
  return message.str();
}

std::string FailureMessage(std::string_view name, const FilterError& error) {
  std::ostringstream message;
  message << "habuki: " << name << ':' << error.record.line << ": " << Describe(error.kind);
  if (error.kind != FailureKind::NoRecord) {
    message << " at character " << error.position << " ("
            << Cp932ToUtf8(error.record.head.Bytes()) << ')';
  }
  message << '\n';
  return message.str();
}

std::string LossWarnings(std::string_view name, FormatKind kind, const FilterStats& stats) {
  std::ostringstream message;
  if (stats.firstUnhandled) {
    message << "habuki: " << name << ": " << stats.recordsUnhandled
            << " record(s) dropped because format " << FormatName(kind)
            << " has no rule for their kind, not because they are zero; first at "
            << ShowRecord(*stats.firstUnhandled) << '\n';
  }
  if (stats.firstUnmarked) {
    message << "habuki: " << name << ": " << stats.entriesUnmarked
            << " entry(ies) dropped because no value marker follows them; first in the record at "
            << ShowRecord(*stats.firstUnmarked) << '\n';
  }
  return message.str();
}

std::string StatsLine(std::string_view name, FormatKind kind, const FilterStats& stats) {
  std::ostringstream message;
  message << "habuki: " << name << ": format " << FormatName(kind) << ", " << stats.recordsRead
          << " records read, " << stats.recordsKept << " kept, " << stats.recordsZero
          << " dropped as zero, " << stats.recordsUnhandled << " dropped for an unhandled kind, "
          << stats.entriesZero + stats.entriesUnmarked << " entries dropped\n";
  return message.str();
}

}  // namespace habuki
