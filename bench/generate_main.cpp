// Writes a generated backup for measuring the programs on the largest texts they accept:
//   habuki-generate shaped FILE        99,999 records shaped like a real 30i backup
//   habuki-generate adversarial FILE   the same size in records of 999 entries without any "M"
//   habuki-generate kept FILE          99,999 records of 150 entries, none of them zero (80 MB)
#include <fstream>
#include <iostream>
#include <string_view>

#include "bench/param_generator.h"

namespace {

std::string Generate(std::string_view kind) {
  if (kind == "kept") return habuki::bench::GenerateAllKept30i(99999, 150);
  const std::string shaped = habuki::bench::GenerateShaped30i(99999);
  return kind == "shaped" ? shaped : habuki::bench::GenerateAdversarial30i(shaped.size());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view kind = argc == 3 ? argv[1] : "";
  if (kind != "shaped" && kind != "adversarial" && kind != "kept") {
    std::cerr << "usage: habuki-generate shaped|adversarial|kept FILE\n";
    return 2;
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << Generate(kind);
  return out ? 0 : 1;
}
