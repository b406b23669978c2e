#pragma once

#include <functional>
#include <string_view>

#include "core/table/parameter_table.h"
#include "core/text/text_primitives.h"

namespace habuki {

// Makes the rows of the parameter table from what the record loop tells (see
// core/filter/thinning_sink.h), each field a view of the text's bytes. Over 16-bit codes, a field's
// place in the codes is turned into its place in the bytes by a cursor that walks with the loop.
template <typename Unit>
class ParameterSink {
 public:
  using RowTaker = std::function<void(const ParameterRow&)>;

  ParameterSink(UnitView<Unit> text, std::string_view bytes, RowsWanted wanted,
                const RowTaker& give)
      : text_(text), bytes_(bytes), zeros_(wanted == RowsWanted::All), give_(give) {}

  // Inline, and a record or value of no interest costs no more: nearly every value is 0, and
  // most records give no row at all.
  void Preamble(UnitView<Unit>) {}
  void BeginRecord(Pos pos, UnitView<Unit> head) {
    recordPos_ = pos;
    head_ = head;
    headRead_ = false;
  }
  void Single(UnitView<Unit> part, bool nonZero) {
    if (nonZero || zeros_) GiveSingle(part, nonZero);
  }
  void Entry(UnitView<Unit> entry, std::size_t mark, bool nonZero) {
    if (nonZero || zeros_) GiveEntry(entry, mark, nonZero);
  }
  void Unhandled(UnitView<Unit> rest) { Give({}, {}, rest, false); }
  void EndRecord(bool) {}

 private:
  void GiveSingle(UnitView<Unit> part, bool nonZero);
  void GiveEntry(UnitView<Unit> entry, std::size_t mark, bool nonZero);
  void Give(std::string_view entry, std::string_view marker, UnitView<Unit> value, bool zero);
  // Reads the number, qualifier and line of the record at hand, once it gives a row.
  void ReadHead();
  Pos LineOf(Pos pos);
  std::string_view Bytes(UnitView<Unit> part);

  UnitView<Unit> text_;
  std::string_view bytes_;
  bool zeros_;  // rows of value 0 are wanted too
  const RowTaker& give_;
  Pos recordPos_ = 0;  // the record at hand
  UnitView<Unit> head_;
  bool headRead_ = false;
  ParameterRow record_;  // its number, qualifier and line, once read
  // Where the cursor stands: a character of the text and its first byte.
  std::size_t cursorCharacter_ = 0;
  std::size_t cursorByte_ = 0;
  // The line of the last record's "N", counted up to it.
  Pos linePos_ = 1;
  Pos line_ = 1;
};

}  // namespace habuki
