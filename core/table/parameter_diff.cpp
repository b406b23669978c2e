#include "core/table/parameter_diff.h"

#include <algorithm>
#include <cstdint>
#include <deque>

#include "core/table/decimal_number.h"
#include "core/table/stored_row.h"

namespace habuki {

namespace {

std::string_view WithoutLeadingZeros(std::string_view digits) {
  digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
  return digits;
}

// Digits compare as the numbers they write (a shorter number, once leading zeros go, is the
// smaller), so that parameter 1005 of a 16i backup is 01005 of a 30i one.
int CompareNumbers(std::string_view a, std::string_view b) {
  if (a.size() == b.size()) return a.compare(b);  // digits of one length, as a backup writes them
  const std::string_view shortA = WithoutLeadingZeros(a), shortB = WithoutLeadingZeros(b);
  if (shortA.size() != shortB.size()) return shortA.size() < shortB.size() ? -1 : 1;
  return shortA.compare(shortB);
}

// An entry is its letter and its index: A2 comes before A10.
int CompareEntries(std::string_view a, std::string_view b) {
  if (a.empty() || b.empty() || a.front() != b.front()) return a.compare(b);
  return CompareNumbers(a.substr(1), b.substr(1));
}

int CompareKeys(const ParameterRow& a, const ParameterRow& b) {
  if (const int order = CompareNumbers(a.number, b.number)) return order;
  if (const int order = a.qualifier.compare(b.qualifier)) return order;
  return CompareEntries(a.entry, b.entry);
}

// Numbers are compared exactly; rows of an unhandled kind, and values that are no numbers, as
// the text they are.
bool SameValue(const ParameterRow& a, const ParameterRow& b) {
  if (a.marker.empty() || b.marker.empty()) return a.marker == b.marker && a.value == b.value;
  const auto numberA = CanonicalDecimal(a.value), numberB = CanonicalDecimal(b.value);
  return numberA && numberB ? *numberA == *numberB : a.value == b.value;
}

std::size_t& CountOf(ParameterDiff& diff, ChangeKind kind) {
  switch (kind) {
    case ChangeKind::Added:
      return diff.added;
    case ChangeKind::Removed:
      return diff.removed;
    case ChangeKind::SetToZero:
      return diff.setToZero;
    case ChangeKind::Changed:
      break;
  }
  return diff.changed;
}

bool HasValue(const ParameterRow* row) { return row != nullptr && !row->zero; }

void Note(ParameterDiff& diff, const ParameterRow* before, const ParameterRow* after) {
  if (!HasValue(before) && !HasValue(after)) return;  // a missing row is a zero one
  if (HasValue(before) && HasValue(after) && SameValue(*before, *after)) return;
  ParameterChange& change = diff.changes.emplace_back();
  if (before != nullptr) change.before = *before;
  if (after != nullptr) change.after = *after;
  ++CountOf(diff, KindOf(change));
}

bool InOrder(const ParameterRow& a, const ParameterRow& b) { return CompareKeys(a, b) < 0; }

// Pairs the rows of the new backup, given in the order of the parameters, with the old
// backup's, which `oldRow` gives by their index in that order: the k-th row of a key with the
// k-th of the same key.
template <typename OldRow>
class Merger {
 public:
  Merger(ParameterDiff& diff, std::size_t oldCount, OldRow oldRow)
      : diff_(diff), oldCount_(oldCount), oldRow_(oldRow) {}

  void New(const ParameterRow& row) {
    for (; next_ < oldCount_; ++next_) {
      const ParameterRow old = oldRow_(next_);
      const int order = CompareKeys(old, row);
      if (order > 0) break;
      if (order == 0) {
        ++next_;
        return Note(diff_, &old, &row);
      }
      Note(diff_, &old, nullptr);
    }
    Note(diff_, nullptr, &row);
  }

  // The old rows that no new row came for.
  void Finish() {
    for (; next_ < oldCount_; ++next_) {
      const ParameterRow old = oldRow_(next_);
      Note(diff_, &old, nullptr);
    }
  }

 private:
  ParameterDiff& diff_;
  std::size_t oldCount_;
  OldRow oldRow_;
  std::size_t next_ = 0;
};

// The indices of `count` rows in the order of the parameters, stable. A backup is in that order
// already, so sorting is only the fallback.
template <typename RowAt>
std::vector<std::uint32_t> OrderOf(std::size_t count, RowAt rowAt) {
  std::vector<std::uint32_t> order(count);
  for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<std::uint32_t>(i);
  const auto before = [&](std::uint32_t a, std::uint32_t b) { return InOrder(rowAt(a), rowAt(b)); };
  if (!std::is_sorted(order.begin(), order.end(), before)) {
    std::stable_sort(order.begin(), order.end(), before);
  }
  return order;
}

// A backup's rows held compactly, and where they stand in the order of the parameters (empty
// while they are in it already, as a backup's are).
struct HeldRows {
  std::string_view bytes;
  std::deque<StoredRow> rows;
  std::vector<std::uint32_t> order;

  void Order() {
    const auto at = [&](std::size_t i) { return rows[i].In(bytes); };
    const bool ordered = std::is_sorted(
        rows.begin(), rows.end(),
        [&](const StoredRow& a, const StoredRow& b) { return InOrder(a.In(bytes), b.In(bytes)); });
    if (!ordered) order = OrderOf(rows.size(), at);
  }
  ParameterRow operator()(std::size_t i) const {
    return rows[order.empty() ? i : order[i]].In(bytes);
  }
  std::size_t size() const { return rows.size(); }
};

HeldRows Hold(const FilterState& state, FormatKind kind, ParameterReading& reading) {
  HeldRows held{state.AllText.Bytes(), {}, {}};
  reading = ReadParameters(state, kind, RowsWanted::NonZero, [&](const ParameterRow& row) {
    held.rows.emplace_back(row, held.bytes);
  });
  held.Order();
  return held;
}

// Compares the new backup's rows as they are read; false when they come out of the order of
// the parameters, and the comparison must be made again with them held.
bool CompareAsRead(ParameterDiff& diff, const HeldRows& old, const FilterState& state,
                   FormatKind kind, ParameterReading& reading) {
  Merger<const HeldRows&> merger(diff, old.size(), old);
  std::optional<ParameterRow> last;
  bool ordered = true;
  reading = ReadParameters(state, kind, RowsWanted::NonZero, [&](const ParameterRow& row) {
    if (!ordered || (last && InOrder(row, *last))) {
      ordered = false;
      return;
    }
    last = row;
    merger.New(row);
  });
  if (ordered) merger.Finish();
  return ordered;
}

const ParameterRow& KeyOf(const ParameterChange& change) {
  return change.before ? *change.before : *change.after;
}

enum class DiffSide { Before, After };

// Finds the change of a zero row's key among those that lack a row on a side. The changes are
// in the order of their keys, and so are the rows of a backup: a cursor that only moves on finds
// each in one step. A row out of order sends it back by halves.
class ZeroRowMatcher {
 public:
  ZeroRowMatcher(ParameterDiff& diff, DiffSide side) : diff_(diff), side_(side) {
    for (std::size_t i = 0; i < diff.changes.size(); ++i) {
      if (!HasRow(i)) wanted_.push_back(i);
    }
  }

  bool Wanted() const { return !wanted_.empty(); }

  // Whether a change wants a row of the record of this number and qualifier.
  bool WantsRecord(std::string_view number, std::string_view qualifier) const {
    const auto before = [&](std::size_t change, std::pair<std::string_view, std::string_view> key) {
      const ParameterRow& row = KeyOf(diff_.changes[change]);
      if (const int order = CompareNumbers(row.number, key.first)) return order < 0;
      return row.qualifier < key.second;
    };
    const auto found =
        std::lower_bound(wanted_.begin(), wanted_.end(), std::pair(number, qualifier), before);
    if (found == wanted_.end()) return false;
    const ParameterRow& row = KeyOf(diff_.changes[*found]);
    return CompareNumbers(row.number, number) == 0 && row.qualifier == qualifier;
  }

  void Add(const ParameterRow& row) {
    if (previous_ && InOrder(row, *previous_)) {
      next_ = static_cast<std::size_t>(
          std::lower_bound(wanted_.begin(), wanted_.end(), row,
                           [&](std::size_t change, const ParameterRow& key) {
                             return InOrder(KeyOf(diff_.changes[change]), key);
                           }) -
          wanted_.begin());
    }
    previous_ = row;
    int order = -1;
    while (next_ < wanted_.size() &&
           (order = CompareKeys(KeyOf(diff_.changes[wanted_[next_]]), row)) < 0) {
      ++next_;
    }
    if (next_ == wanted_.size() || order != 0) return;
    // The k-th row of a key goes to the k-th change of it.
    for (std::size_t at = next_; at < wanted_.size(); ++at) {
      ParameterChange& change = diff_.changes[wanted_[at]];
      if (CompareKeys(KeyOf(change), row) != 0) return;
      if (HasRow(wanted_[at])) continue;
      --CountOf(diff_, KindOf(change));
      (side_ == DiffSide::Before ? change.before : change.after) = row;
      ++CountOf(diff_, KindOf(change));
      return;
    }
  }

 private:
  // Whether change `i` has its row on the side already: none to find for it.
  bool HasRow(std::size_t i) const {
    const ParameterChange& change = diff_.changes[i];
    return (side_ == DiffSide::Before ? change.before : change.after).has_value();
  }

  ParameterDiff& diff_;
  DiffSide side_;
  std::vector<std::size_t> wanted_;  // the changes without a row on the side
  std::size_t next_ = 0;             // the first of them whose key is not below the last row's
  std::optional<ParameterRow> previous_;
};

// Where a change lacks a row on `side`, gives it that side's row of value 0 of the same key, if
// the text holds one; the text is read again only when some change lacks a row there.
void AddZeroRows(ParameterDiff& diff, DiffSide side, const FilterState& state, FormatKind kind) {
  ZeroRowMatcher matcher(diff, side);
  if (!matcher.Wanted()) return;
  const ZeroRowsOf wanted = [&](std::string_view number, std::string_view qualifier) {
    return matcher.WantsRecord(number, qualifier);
  };
  ReadParameters(state, kind, wanted, [&](const ParameterRow& row) {
    if (row.zero) matcher.Add(row);
  });
}

}  // namespace

ChangeKind KindOf(const ParameterChange& change) {
  if (!change.before) return ChangeKind::Added;
  if (!change.after) return ChangeKind::Removed;
  return change.after->zero ? ChangeKind::SetToZero : ChangeKind::Changed;
}

ParameterDiff CompareParameters(const std::vector<ParameterRow>& before,
                                const std::vector<ParameterRow>& after) {
  const std::vector<std::uint32_t> old =
      OrderOf(before.size(), [&](std::size_t i) -> const ParameterRow& { return before[i]; });
  const std::vector<std::uint32_t> now =
      OrderOf(after.size(), [&](std::size_t i) -> const ParameterRow& { return after[i]; });
  ParameterDiff diff;
  Merger merger(diff, old.size(), [&](std::size_t i) { return before[old[i]]; });
  for (const std::uint32_t i : now) merger.New(after[i]);
  merger.Finish();
  return diff;
}

BackupComparison CompareBackups(const FilterState& before, FormatKind beforeKind,
                                const FilterState& after, FormatKind afterKind) {
  BackupComparison result;
  const HeldRows old = Hold(before, beforeKind, result.before);
  if (result.before.error) {
    // The new backup is still read, so that one run tells of both.
    result.after =
        ReadParameters(after, afterKind, RowsWanted::NonZero, [](const ParameterRow&) {});
    return result;
  }
  if (!CompareAsRead(result.diff, old, after, afterKind, result.after) && !result.after.error) {
    result.diff = {};
    const HeldRows now = Hold(after, afterKind, result.after);
    Merger<const HeldRows&> merger(result.diff, old.size(), old);
    for (std::size_t i = 0; i < now.size(); ++i) merger.New(now(i));
    merger.Finish();
  }
  if (result.after.error) return result;
  AddZeroRows(result.diff, DiffSide::Before, before, beforeKind);
  AddZeroRows(result.diff, DiffSide::After, after, afterKind);
  return result;
}

}  // namespace habuki
