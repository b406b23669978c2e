#pragma once

#include <string>

#include "core/text/cp932_text.h"
#include "core/text/text_primitives.h"

namespace habuki {

// What the record loop tells of each record, to the thinning result or to the parameter
// table (core/table/parameter_sink.h): the loop and its rules are one, what is made of them is the
// sink's. A sink has these members:
//   Preamble(text)               the PMC header, from the third character to the first "N"
//   BeginRecord(pos, head)       a record starts at `pos` with `head`
//   Single(part, nonZero)        its single value: the kind letter, the value, the line break
//   Entry(entry, mark, nonZero)  one of its entries, `mark` characters in: its value marker
//   Unhandled(rest)              a record of a kind the format has no rule for, after its head
//   EndRecord(kept)              the record is done; `kept` when any of it is not zero

// Writes the thinned text: each record's head just before its first kept part (nearly every
// record is dropped, and then costs no copy), and a single LF where what is kept does not end
// with the record's own line break.
template <typename Unit>
class ThinningSink {
 public:
  explicit ThinningSink(std::string& out) : out_(out) {}

  void Preamble(UnitView<Unit> text) { AppendBytes(out_, text); }
  void BeginRecord(Pos, UnitView<Unit> head) {
    head_ = head;
    started_ = false;
  }
  void Single(UnitView<Unit> part, bool nonZero) {
    if (nonZero) Append(part);
  }
  void Entry(UnitView<Unit> entry, std::size_t, bool nonZero) {
    if (nonZero) Append(entry);
  }
  void Unhandled(UnitView<Unit>) {}
  void EndRecord(bool kept) {
    if (kept && out_.back() != '\n') out_.push_back('\n');
  }

 private:
  void Append(UnitView<Unit> part) {
    if (!started_) AppendBytes(out_, head_);
    started_ = true;
    AppendBytes(out_, part);
  }

  std::string& out_;
  UnitView<Unit> head_;
  bool started_ = false;
};

}  // namespace habuki
