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

  // `zeroRowsOf`, when given, says which records' rows of value 0 are wanted.
  ParameterSink(UnitView<Unit> text, std::string_view bytes, RowsWanted wanted,
                const RowTaker& give, const ZeroRowsOf* zeroRowsOf = nullptr)
      : text_(text),
        bytes_(bytes),
        zeros_(wanted == RowsWanted::All),
        zeroRowsOf_(zeroRowsOf),
        give_(give) {}

  // Inline, and a record or value of no interest costs no more: nearly every value is 0, and
  // most records give no row at all.
  void Preamble(UnitView<Unit>) {}
  void BeginRecord(Pos pos, UnitView<Unit> head) {
    recordPos_ = pos;
    head_ = head;
    headRead_ = false;
    keyRead_ = false;
    zerosAsked_ = false;
  }
  void Single(UnitView<Unit> part, bool nonZero) {
    if (nonZero || (zeros_ && ZerosWanted())) GiveSingle(part, nonZero);
  }
  void Entry(UnitView<Unit> entry, std::size_t mark, bool nonZero) {
    if (nonZero || (zeros_ && ZerosWanted())) GiveEntry(entry, mark, nonZero);
  }
  void Unhandled(UnitView<Unit> rest) { Give({}, {}, rest, false); }
  void EndRecord(bool) {}

 private:
  void GiveSingle(UnitView<Unit> part, bool nonZero);
  void GiveEntry(UnitView<Unit> entry, std::size_t mark, bool nonZero);
  void Give(std::string_view entry, std::string_view marker, UnitView<Unit> value, bool zero);
  // Whether the record at hand's rows of value 0 are wanted; asked once per record.
  bool ZerosWanted();
  // Reads the number and qualifier of the record at hand, then its line.
  void ReadKey();
  void ReadHead();
  Pos LineOf(Pos pos);
  std::string_view Bytes(UnitView<Unit> part);

  UnitView<Unit> text_;
  std::string_view bytes_;
  bool zeros_;  // rows of value 0 are wanted too
  const ZeroRowsOf* zeroRowsOf_;
  const RowTaker& give_;
  Pos recordPos_ = 0;  // the record at hand
  UnitView<Unit> head_;
  bool headRead_ = false;
  bool keyRead_ = false;
  bool zerosAsked_ = false;
  bool zerosWanted_ = true;
  ParameterRow record_;  // its number, qualifier and line, once read
  // Where the cursor stands: a character of the text and its first byte.
  std::size_t cursorCharacter_ = 0;
  std::size_t cursorByte_ = 0;
  // The line of the last record's "N", counted up to it.
  Pos linePos_ = 1;
  Pos line_ = 1;
};

}  // namespace habuki
