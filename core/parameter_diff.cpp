#include "core/parameter_diff.h"

#include <algorithm>

#include "core/decimal_number.h"

namespace habuki {

namespace {

std::string_view WithoutLeadingZeros(std::string_view digits) {
  digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
  return digits;
}

// Digits compare as the numbers they write (a shorter number, once leading zeros go, is the
// smaller), so that parameter 1005 of a 16i backup is 01005 of a 30i one.
int CompareNumbers(std::string_view a, std::string_view b) {
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

// The rows in the order of the parameters. A backup is in that order already, so sorting is
// only the fallback.
std::vector<const ParameterRow*> InParameterOrder(const std::vector<ParameterRow>& rows) {
  std::vector<const ParameterRow*> ordered;
  ordered.reserve(rows.size());
  for (const ParameterRow& row : rows) ordered.push_back(&row);
  const auto before = [](const ParameterRow* a, const ParameterRow* b) {
    return CompareKeys(*a, *b) < 0;
  };
  if (!std::is_sorted(ordered.begin(), ordered.end(), before)) {
    std::stable_sort(ordered.begin(), ordered.end(), before);
  }
  return ordered;
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
  diff.changes.push_back({before, after});
  ++CountOf(diff, KindOf(diff.changes.back()));
}

const ParameterRow& KeyOf(const ParameterChange& change) {
  return change.before != nullptr ? *change.before : *change.after;
}

// Finds the change of a zero row's key. The changes are in the order of their keys, and so are
// the rows of a backup: a cursor that only moves on finds each in one step. Rows out of order
// send it back by halves.
class ZeroRowMatcher {
 public:
  ZeroRowMatcher(ParameterDiff& diff, DiffSide side) : diff_(diff), side_(side) {}

  void Add(const ParameterRow& row) {
    auto& changes = diff_.changes;
    if (next_ > 0 && CompareKeys(KeyOf(changes[next_ - 1]), row) > 0) {
      next_ = static_cast<std::size_t>(
          std::lower_bound(changes.begin(), changes.end(), row,
                           [](const ParameterChange& change, const ParameterRow& key) {
                             return CompareKeys(KeyOf(change), key) < 0;
                           }) -
          changes.begin());
    }
    while (next_ < changes.size() && CompareKeys(KeyOf(changes[next_]), row) < 0) ++next_;
    for (std::size_t at = next_; at < changes.size() && CompareKeys(KeyOf(changes[at]), row) == 0;
         ++at) {
      const ParameterRow*& missing =
          side_ == DiffSide::Before ? changes[at].before : changes[at].after;
      if (missing != nullptr) continue;
      --CountOf(diff_, KindOf(changes[at]));
      missing = &diff_.zeroRows.emplace_back(row);
      ++CountOf(diff_, KindOf(changes[at]));
      return;
    }
  }

 private:
  ParameterDiff& diff_;
  DiffSide side_;
  std::size_t next_ = 0;  // the first change whose key is not below the last row's
};

}  // namespace

ChangeKind KindOf(const ParameterChange& change) {
  if (change.before == nullptr) return ChangeKind::Added;
  if (change.after == nullptr) return ChangeKind::Removed;
  return change.after->zero ? ChangeKind::SetToZero : ChangeKind::Changed;
}

ParameterDiff CompareParameters(const std::vector<ParameterRow>& before,
                                const std::vector<ParameterRow>& after) {
  const std::vector<const ParameterRow*> old = InParameterOrder(before);
  const std::vector<const ParameterRow*> now = InParameterOrder(after);
  ParameterDiff diff;
  std::size_t i = 0, j = 0;
  while (i < old.size() || j < now.size()) {
    const int order = i == old.size() ? 1 : j == now.size() ? -1 : CompareKeys(*old[i], *now[j]);
    Note(diff, order <= 0 ? old[i] : nullptr, order >= 0 ? now[j] : nullptr);
    if (order <= 0) ++i;
    if (order >= 0) ++j;
  }
  return diff;
}

void AddZeroRows(ParameterDiff& diff, DiffSide side, const FilterState& state, FormatKind kind) {
  const bool lacks =
      std::any_of(diff.changes.begin(), diff.changes.end(), [&](const ParameterChange& change) {
        return (side == DiffSide::Before ? change.before : change.after) == nullptr;
      });
  if (!lacks) return;
  ZeroRowMatcher matcher(diff, side);
  ReadParameters(state, kind, RowsWanted::All, [&](const ParameterRow& row) {
    if (row.zero) matcher.Add(row);
  });
}

}  // namespace habuki
