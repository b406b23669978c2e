#include "core/record_scanner.h"

#include "core/size_limits.h"

namespace habuki {

namespace {

bool IsOneOf(CodeView kind, std::u16string_view letters) {
  return kind.size() == 1 && letters.find(kind[0]) != std::u16string_view::npos;
}

}  // namespace

RecordScanner::RecordScanner(CodeView text, const FormatProfile& profile)
    : text_(text), profile_(profile) {}

std::u16string RecordScanner::Run(const Cp932Text* comment) {
  const CodeView text = text_.text();
  std::u16string out;
  if (comment != nullptr) out.append(comment->codes()).push_back(u'\n');
  out.append(u"%\n");

  pos_ = text_.find(1, u'N');
  if (pos_ == 0) throw FilterFailure(FailureKind::NoRecord, 1);
  const Pos closingPercent = text_.find(pos_ + 1, u'%');
  const Pos endPos = closingPercent == 0 ? static_cast<Pos>(text.size()) + 1 : closingPercent;
  if (profile_.copiesPreamble) out.append(substring(text, 3, pos_ - 3));

  for (;;) {
    const CodeView head = substring(text, pos_, profile_.headLength);
    const CodeView kind = substring(text, pos_ + profile_.headLength, 1);
    const Pos nextN = text_.find(pos_ + 1, u'N');
    const Pos nextPos = nextN == 0 || nextN > endPos ? endPos : nextN;

    const CodeView kept = KeptPart(kind, nextPos);
    if (!kept.empty()) {
      out.append(head).append(kept);
      if (kept.back() != u'\n') out.push_back(u'\n');
      ++stats_.recordsKept;
    }
    if (++stats_.recordsRead == kRecordLimit) throw FilterFailure(FailureKind::RecordLimit, pos_);
    if (nextPos >= endPos) break;
    pos_ = nextPos;
  }
  if (closingPercent != 0) NoteRecordsAfter(closingPercent);
  out.push_back(u'%');
  return out;
}

// Nothing after the closing "%" is copied; records there are lost though they may not be zero,
// so they are counted for the user to hear of.
void RecordScanner::NoteRecordsAfter(Pos closingPercent) {
  for (Pos at = text_.find(closingPercent + 1, u'N'); at != 0;
       at = find(text_.text(), at + 1, u'N')) {
    if (stats_.recordsAfterEnd++ == 0) {
      stats_.firstAfterEnd = MakeRecordRef(text_.text(), at, profile_.headLength + 1);
    }
  }
}

CodeView RecordScanner::KeptPart(CodeView kind, Pos nextPos) {
  const CodeView text = text_.text();
  const Pos kindPos = pos_ + profile_.headLength;
  if (IsOneOf(kind, profile_.singleValueKinds)) {
    if (IsNonZeroValue(text, kindPos + 1, nextPos - kindPos - 1)) {
      return substring(text, kindPos, nextPos - kindPos);
    }
    ++stats_.recordsZero;
    return {};
  }
  if (IsOneOf(kind, profile_.multiEntryKinds)) {
    entries_.Reset();
    ScanEntries(text_, profile_, {pos_, nextPos, kind[0]}, entries_);
    stats_.entriesZero += entries_.zeroEntries;
    if (entries_.unmarkedEntries != 0) NoteUnmarked();
    if (entries_.kept.empty()) ++stats_.recordsZero;
    return entries_.kept;
  }
  ++stats_.recordsUnhandled;
  if (!stats_.firstUnhandled) {
    stats_.firstUnhandled = MakeRecordRef(text, pos_, profile_.headLength + 1);
  }
  return {};
}

void RecordScanner::NoteUnmarked() {
  stats_.entriesUnmarked += entries_.unmarkedEntries;
  if (!stats_.firstUnmarked) {
    stats_.firstUnmarked = MakeRecordRef(text_.text(), pos_, profile_.headLength + 1);
  }
}

}  // namespace habuki
