#include "core/io/temporary_name.h"

#include <cstdio>

namespace habuki {

std::string TemporaryName(std::mt19937& random) {
  char name[24];
  std::snprintf(name, sizeof name, ".habuki-%08x.tmp", static_cast<unsigned>(random()));
  return name;
}

}  // namespace habuki
