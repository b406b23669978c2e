#include "core/table/parameter_diff.h"

#include <algorithm>
#include <cstdint>

#include "core/table/held_rows.h"
#include "core/table/row_order.h"

namespace habuki {

namespace {

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
  const HeldRows old = Hold(before, beforeKind, RowsWanted::NonZero, result.before);
  if (result.before.error) {
    // The new backup is still read, so that one run tells of both.
    result.after =
        ReadParameters(after, afterKind, RowsWanted::NonZero, [](const ParameterRow&) {});
    return result;
  }
  if (!CompareAsRead(result.diff, old, after, afterKind, result.after) && !result.after.error) {
    result.diff = {};
    const HeldRows now = Hold(after, afterKind, RowsWanted::NonZero, result.after);
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
