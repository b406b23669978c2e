#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/filter/filter_state.h"
#include "core/filter/number_ranges.h"

namespace habuki {

// A record's name: its number and qualifier, as its head gives them.
struct RecordHead {
  Pos position = 0;                     // of its "N"
  std::string text;                     // the head as written: "N01000Q1"
  std::optional<std::uint32_t> number;  // the digits after the "N" (HeadNumber)
  std::size_t qualifierFrom = 0;        // where the rest of the head starts in `text`

  std::string_view Qualifier() const { return std::string_view(text).substr(qualifierFrom); }
};

// The heads of the records that a filter run of `kind` reads, in the order of the text: one at
// each "N" from the first up to the closing "%", cut to the format's head length. At most
// kRecordLimit, as a run reads no more.
std::vector<RecordHead> RecordHeads(const Cp932Text& text, FormatKind kind);

// A parameter that stands more than once in one backup, by number (as a number, as diff matches
// them) and qualifier.
struct RepeatedRecord {
  std::string head;  // as its first record writes it
  std::optional<std::uint32_t> number;
  std::string qualifier;
  std::vector<Pos> lines;  // the lines of its records, in order
  Pos column = 0;          // the column of the first

  // Whether `other`, of another backup, names the same parameter.
  bool SameParameter(const RepeatedRecord& other) const {
    return number == other.number && qualifier == other.qualifier;
  }
};

// The parameters of `heads` that stand more than once, among the records `choice` keeps, in the
// order of their first records.
std::vector<RepeatedRecord> RepeatedRecords(const Cp932Text& text,
                                            const std::vector<RecordHead>& heads,
                                            const NumberChoice& choice);

}  // namespace habuki
