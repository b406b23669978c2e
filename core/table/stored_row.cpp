#include "core/table/stored_row.h"

namespace habuki {

namespace {

constexpr std::uint8_t kMarkerP = 1, kMarkerM = 2, kMarkerBits = 3, kZero = 4;

// Where a field starts in `bytes`; an empty field may be a view of nothing.
std::uint32_t Offset(std::string_view field, std::string_view bytes) {
  return field.empty() ? 0 : static_cast<std::uint32_t>(field.data() - bytes.data());
}

}  // namespace

StoredRow::StoredRow(const ParameterRow& row, std::string_view bytes)
    : number_(static_cast<std::uint32_t>(row.number.data() - bytes.data())),
      numberLength_(static_cast<std::uint8_t>(row.number.size())),
      qualifierFrom_(static_cast<std::uint8_t>(
          row.qualifier.empty() ? 0 : row.qualifier.data() - row.number.data())),
      qualifierLength_(static_cast<std::uint8_t>(row.qualifier.size())),
      flags_(static_cast<std::uint8_t>((row.marker == "P"   ? kMarkerP
                                        : row.marker == "M" ? kMarkerM
                                                            : 0) |
                                       (row.zero ? kZero : 0))),
      entry_(Offset(row.entry, bytes)),
      entryLength_(static_cast<std::uint32_t>(row.entry.size())),
      value_(Offset(row.value, bytes)),
      valueLength_(static_cast<std::uint32_t>(row.value.size())) {}

ParameterRow StoredRow::In(std::string_view bytes) const {
  const std::uint8_t marker = flags_ & kMarkerBits;
  return {bytes.substr(number_, numberLength_),
          bytes.substr(number_ + qualifierFrom_, qualifierLength_),
          bytes.substr(entry_, entryLength_),
          marker == kMarkerP   ? std::string_view("P")
          : marker == kMarkerM ? std::string_view("M")
                               : std::string_view(),
          bytes.substr(value_, valueLength_),
          0,
          (flags_ & kZero) != 0};
}

}  // namespace habuki
