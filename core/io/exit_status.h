#pragma once

namespace habuki {

// The statuses habuki's programs end with, as the system passes them to whoever started them;
// with several files the highest one wins.
inline constexpr int kExitOk = 0;
inline constexpr int kExitContentProblem = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFileError = 3;

}  // namespace habuki
