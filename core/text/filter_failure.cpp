#include "core/text/filter_failure.h"

#include "core/text/size_limits.h"

namespace habuki {

std::string Describe(FailureKind kind) {
  switch (kind) {
    case FailureKind::NoRecord:
      return "no record: the text holds no \"N\"";
    case FailureKind::NegativeLength:
      return "negative length: a record or entry ends before its value starts";
    case FailureKind::BadValue:
      return "value empty or not a number";
    case FailureKind::RecordLimit:
      return "record limit: " + std::to_string(kRecordLimit) + " records";
    case FailureKind::EntryLimit:
      return "entry limit: more than " + std::to_string(kEntryLimit) + " entries in one record";
  }
  return "unknown failure";
}

}  // namespace habuki
