#include "core/table/parameter_sink.h"

#include <algorithm>
#include <type_traits>

#include "core/filter/record_scanner_inl.h"
#include "core/filter/text_place.h"

namespace habuki {

// Counted from the last record that gave a row: every character is looked at once.
template <typename Unit>
Pos ParameterSink<Unit>::LineOf(Pos pos) {
  line_ +=
      LineEndsIn(text_, static_cast<std::size_t>(linePos_ - 1), static_cast<std::size_t>(pos - 1));
  linePos_ = pos;
  return line_;
}

template <typename Unit>
bool ParameterSink<Unit>::ZerosWanted() {
  if (zeroRowsOf_ == nullptr) return true;
  if (!zerosAsked_) {
    zerosAsked_ = true;
    ReadKey();
    zerosWanted_ = (*zeroRowsOf_)(record_.number, record_.qualifier);
  }
  return zerosWanted_;
}

template <typename Unit>
void ParameterSink<Unit>::ReadHead() {
  headRead_ = true;
  ReadKey();
  record_.line = LineOf(recordPos_);
}

template <typename Unit>
void ParameterSink<Unit>::ReadKey() {
  if (keyRead_) return;
  keyRead_ = true;
  const UnitView<Unit> afterN = head_.substr(1);
  const auto digits = static_cast<std::size_t>(
      std::find_if(afterN.begin(), afterN.end(), [](Unit c) { return c < '0' || c > '9'; }) -
      afterN.begin());
  record_.number = Bytes(afterN.substr(0, digits));
  record_.qualifier = Bytes(WithoutBlanks(afterN.substr(digits)));
}

template <typename Unit>
void ParameterSink<Unit>::GiveSingle(UnitView<Unit> part, bool nonZero) {
  Give({}, Bytes(part.substr(0, 1)), part.substr(1), !nonZero);
}

template <typename Unit>
void ParameterSink<Unit>::GiveEntry(UnitView<Unit> entry, std::size_t mark, bool nonZero) {
  Give(Bytes(WithoutBlanks(entry.substr(0, mark))), Bytes(entry.substr(mark, 1)),
       entry.substr(mark + 1), !nonZero);
}

template <typename Unit>
void ParameterSink<Unit>::Give(std::string_view entry, std::string_view marker,
                               UnitView<Unit> value, bool zero) {
  if (!headRead_) ReadHead();
  ParameterRow row = record_;
  row.entry = entry;
  row.marker = marker;
  row.value = Bytes(WithoutBlanks(value));
  row.zero = zero;
  give_(row);
}

template <typename Unit>
std::string_view ParameterSink<Unit>::Bytes(UnitView<Unit> part) {
  if constexpr (std::is_same_v<Unit, char>) {
    return part;
  } else {
    // A double-byte character is two bytes; the cursor moves from where it last stood.
    const auto byteAt = [&](std::size_t character) {
      for (; cursorCharacter_ < character; ++cursorCharacter_) {
        cursorByte_ += text_[cursorCharacter_] > 0xFF ? 2 : 1;
      }
      for (; cursorCharacter_ > character; --cursorCharacter_) {
        cursorByte_ -= text_[cursorCharacter_ - 1] > 0xFF ? 2 : 1;
      }
      return cursorByte_;
    };
    const auto start = static_cast<std::size_t>(part.data() - text_.data());
    const std::size_t first = byteAt(start);
    return bytes_.substr(first, byteAt(start + part.size()) - first);
  }
}

// The sink and the record loop, for both ways of reading a text: the loop is instantiated here,
// where this sink lives, so that the filter's files know nothing of the table.
template class ParameterSink<char>;
template class ParameterSink<char16_t>;
template void RecordScanner<char>::Walk(ParameterSink<char>&);
template void RecordScanner<char16_t>::Walk(ParameterSink<char16_t>&);

}  // namespace habuki
