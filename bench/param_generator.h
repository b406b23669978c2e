#pragma once

#include <cstddef>
#include <string>

namespace habuki::bench {

// A 30i backup of `records` records shaped like a real machine's: the same mix of kinds
// (L, P, A, S, T, M), entries per record, value spellings and share of non-zero values, LF
// line ends, framed by "%". The same seed gives the same text.
std::string GenerateShaped30i(int records, unsigned seed = 1);

// A 16i backup of `records` records: four-digit heads ("N1005Q1"), single values and records
// of "A" entries, "P" markers only, about 3 values in 100 not zero. The same seed gives the
// same text.
std::string GenerateShaped16i(int records, unsigned seed = 1);

// The worst case for the filter's searches: records of 999 entries with "P" markers and not a
// single "M" in the whole text, about `bytes` long.
std::string GenerateAdversarial30i(std::size_t bytes);

// A 30i backup in which nothing is dropped: `records` records of `entries` entries, every value
// not zero, so that the result is as large as the text.
std::string GenerateAllKept30i(int records, int entries);

}  // namespace habuki::bench
