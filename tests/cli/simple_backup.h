#pragma once

#include <string>

#include "tests/support/test_support.h"

namespace habuki::test {

// The backups most command line tests thin, and what thinning makes of them.
inline const std::string kExample = ExampleFile("fs30i-example.txt").string();
inline const std::string kSimple = "%\r\nN00001Q1P0\r\nN00002Q1L1P1\r\n%\r\n";
inline const std::string kSimpleThinned = "%\nN00002Q1L1P1\r\n%\r\n";

}  // namespace habuki::test
