#include "core/table/row_order.h"

#include <algorithm>

#include "core/table/decimal_number.h"

namespace habuki {

namespace {

std::string_view WithoutLeadingZeros(std::string_view digits) {
  digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
  return digits;
}

// An entry is its letter and its index: A2 comes before A10.
int CompareEntries(std::string_view a, std::string_view b) {
  if (a.empty() || b.empty() || a.front() != b.front()) return a.compare(b);
  return CompareNumbers(a.substr(1), b.substr(1));
}

}  // namespace

int CompareNumbers(std::string_view a, std::string_view b) {
  if (a.size() == b.size()) return a.compare(b);  // digits of one length, as a backup writes them
  const std::string_view shortA = WithoutLeadingZeros(a), shortB = WithoutLeadingZeros(b);
  if (shortA.size() != shortB.size()) return shortA.size() < shortB.size() ? -1 : 1;
  return shortA.compare(shortB);
}

int CompareKeys(const ParameterRow& a, const ParameterRow& b) {
  if (const int order = CompareNumbers(a.number, b.number)) return order;
  if (const int order = a.qualifier.compare(b.qualifier)) return order;
  return CompareEntries(a.entry, b.entry);
}

bool SameValue(const ParameterRow& a, const ParameterRow& b) {
  if (a.marker.empty() || b.marker.empty()) return a.marker == b.marker && a.value == b.value;
  if (a.value == b.value) return true;  // one spelling, as copies of a backup mostly have
  const auto numberA = CanonicalDecimal(a.value), numberB = CanonicalDecimal(b.value);
  return numberA && numberB ? *numberA == *numberB : false;
}

}  // namespace habuki
