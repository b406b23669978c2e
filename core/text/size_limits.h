#pragma once

#include <cstdint>
#include <string_view>

namespace habuki {

// What habuki accepts at most. A real backup of a whole machine is well under a megabyte; these
// bound the memory and time that a wrong or hostile input can take.

// Records of one text: the 100000th record ends the run.
inline constexpr std::int64_t kRecordLimit = 100000;
// Entries of one record: more than 1000 end the run.
inline constexpr std::int64_t kEntryLimit = 1000;

// A parameter file, or standard input, is refused before it is read whole beyond this size.
inline constexpr std::uint64_t kParamFileLimit = std::uint64_t{256} << 20;
inline constexpr std::string_view kParamFileLimitText = "256 MiB";

// A names file names a few thousand parameters at most; anything larger is not one.
inline constexpr std::uint64_t kNamesFileLimit = std::uint64_t{4} << 20;

// A comment file is one line of text; anything larger is not a comment file.
inline constexpr std::uint64_t kCommentFileLimit = std::uint64_t{1} << 20;

}  // namespace habuki
