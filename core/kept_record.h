#pragma once

#include <string>

#include "core/cp932_text.h"
#include "core/text_primitives.h"

namespace habuki {

// What survives of one record, written into the result as it is found. The record's head goes
// in just before its first kept part: nearly every record is dropped, and then costs no copy.
template <typename Unit>
class KeptRecord {
 public:
  KeptRecord(std::string& out, UnitView<Unit> head) : out_(out), head_(head) {}

  void Append(UnitView<Unit> part) {
    if (!started_) AppendBytes(out_, head_);
    started_ = true;
    AppendBytes(out_, part);
  }
  bool empty() const { return !started_; }

 private:
  std::string& out_;
  UnitView<Unit> head_;
  bool started_ = false;
};

}  // namespace habuki
