#pragma once

#include <string>

#include "core/cp932_text.h"
#include "core/filter_stats.h"
#include "core/format_profile.h"
#include "core/letter_finder.h"
#include "core/scan_entries.h"

namespace habuki {

// The record loop that all three formats share. It cuts the text at every "N", looks at the
// head of fixed length and the kind letter after it, and keeps a record only when its value (or
// one of its entries' values) is not zero. Records end at the closing "%": the first "%" after
// the first record's "N", or the end of the text when there is none.
class RecordScanner {
 public:
  RecordScanner(CodeView text, const FormatProfile& profile);

  // Builds the framed result: the optional comment line, "%", every surviving record, "%".
  // Throws FilterFailure; CurrentRecord() then tells which record failed.
  std::u16string Run(const Cp932Text* comment);

  Pos CurrentRecord() const { return pos_; }
  const FilterStats& Stats() const { return stats_; }

 private:
  // What survives of the record at pos_ after its head; empty when it is dropped.
  CodeView KeptPart(CodeView kind, Pos nextPos);
  void NoteUnmarked();
  void NoteRecordsAfter(Pos closingPercent);

  LetterFinder text_;
  const FormatProfile& profile_;
  Pos pos_ = 0;
  EntryScan entries_;
  FilterStats stats_;
};

}  // namespace habuki
