#pragma once

namespace habuki {

// The command's exit statuses; with several files the highest one wins.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFilterFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFileError = 3;

}  // namespace habuki
