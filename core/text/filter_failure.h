#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace habuki {

// A 1-based character position in a text; 0 means "not found". Signed, because the filter's
// lengths are differences of positions and may come out negative, which is a failure.
using Pos = std::int64_t;

enum class FailureKind {
  NoRecord,        // the text holds no "N", so there is no record to start from
  NegativeLength,  // a value or entry would end before it starts
  BadValue,        // a value is empty or not a number
  RecordLimit,     // kRecordLimit records (core/text/size_limits.h)
  EntryLimit,      // more than kEntryLimit entries in one record
};

// What failed, in words for the person reading the message.
std::string Describe(FailureKind kind);

// Thrown by the text rules and the record loop; one failure ends the whole filter run.
struct FilterFailure : std::exception {
  FilterFailure(FailureKind failed, Pos at) : kind(failed), position(at) {}
  const char* what() const noexcept override { return "filter failure"; }

  FailureKind kind;
  Pos position;  // the character where the failing value, entry or record starts
};

}  // namespace habuki
