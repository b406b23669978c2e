#pragma once

#include <array>
#include <string>

#include "core/filter/filter_stats.h"
#include "core/filter/format_profile.h"
#include "core/filter/letter_finder.h"
#include "core/filter/scan_entries.h"
#include "core/text/cp932_text.h"

namespace habuki {

// The record loop that all three formats share. It cuts the text at every "N", looks at the
// head of fixed length and the kind letter after it, and keeps a record only when its value (or
// one of its entries' values) is not zero. Records end at the closing "%": the first "%" after
// the first record's "N", or the end of the text when there is none.
template <typename Unit>
class RecordScanner {
 public:
  // Only the records whose numbers `numbers` keeps are read, the others counted; null reads
  // every record.
  RecordScanner(UnitView<Unit> text, const FormatProfile& profile,
                const NumberChoice* numbers = nullptr);

  // Builds the bytes of the framed result: the optional comment line, "%", every surviving
  // record, "%". Throws FilterFailure; ErrorOf() then tells where.
  std::string Run(const Cp932Text* comment);

  // Tells `sink` of every record and what it holds (see core/filter/thinning_sink.h), in the order
  // of the text. Throws FilterFailure as Run does.
  template <typename Sink>
  void Walk(Sink& sink);

  // What the failure that ended a run says, with the record it ended in.
  FilterError ErrorOf(const FilterFailure& failure) const;
  const FilterStats& Stats() const { return stats_; }

 private:
  // What the format does with a record of a kind letter.
  enum class KindRule : unsigned char { None, SingleValue, Entries };

  KindRule RuleOf(UnitView<Unit> kind) const;
  // Walk's loop over the records up to `endPos`; `kChoosing` when numbers_ is given.
  template <bool kChoosing, typename Sink>
  void WalkRecords(Sink& sink, Pos endPos);
  // Tells `sink` what the record at pos_ holds after its head; false when none of it is kept.
  template <typename Sink>
  bool Visit(UnitView<Unit> kind, Pos nextPos, Sink& sink);
  // Whether the record of `head` is read; counts it when it is not.
  bool Chosen(UnitView<Unit> head);
  void NoteUnmarked(Pos unmarkedEntries);
  void NoteRecordsAfter(Pos closingPercent);
  // Whether `record`, read as a text of its own, holds a value that is not zero.
  bool HoldsValue(UnitView<Unit> record) const;

  LetterFinder<Unit> text_;
  const FormatProfile& profile_;
  std::array<KindRule, 128> rules_{};  // by the kind letter
  Pos pos_ = 0;                        // the record at hand
  Pos next_ = 0;                       // where it ends: the next record's "N", or the closing "%"
  FilterStats stats_;
  const NumberChoice* numbers_;
};

}  // namespace habuki
