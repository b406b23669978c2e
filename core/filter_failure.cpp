#include "filter_failure.h"

namespace habuki {

std::string_view Describe(FailureKind kind) {
  switch (kind) {
    case FailureKind::NoRecord:
      return "no record: the text holds no \"N\"";
    case FailureKind::NegativeLength:
      return "negative length: a record or entry ends before its value starts";
    case FailureKind::BadValue:
      return "value empty or not a number";
    case FailureKind::RecordLimit:
      return "record limit: 100000 records";
    case FailureKind::EntryLimit:
      return "entry limit: more than 1000 entries in one record";
  }
  return "unknown failure";
}

}  // namespace habuki
