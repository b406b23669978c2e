#pragma once

#include <cstdio>
#include <cstdlib>

namespace habuki::fuzz {

// A property that must hold for every input; libFuzzer keeps the input that breaks it.
inline void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "habuki fuzz check failed: %s\n", what);
  std::abort();
}

}  // namespace habuki::fuzz
