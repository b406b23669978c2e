#pragma once

#include <random>
#include <string>

namespace habuki {

// A short name for a temporary file that is unlikely to be taken: ".habuki-" and eight random
// hexadecimal digits, ".tmp". Short, so that it fits wherever a file's name fits and in the
// table of files InterruptCleanup removes; hidden where a dot hides a file. A caller makes the
// file exclusively and draws another name when this one is taken.
std::string TemporaryName(std::mt19937& random);

}  // namespace habuki
