// Writes a generated backup for measuring the programs on the largest texts they accept:
//   habuki-generate shaped FILE        99,999 records shaped like a real 30i backup
//   habuki-generate adversarial FILE   the same size in records of 999 entries without any "M"
#include <fstream>
#include <iostream>
#include <string_view>

#include "bench/param_generator.h"

int main(int argc, char** argv) {
  const std::string_view kind = argc == 3 ? argv[1] : "";
  if (kind != "shaped" && kind != "adversarial") {
    std::cerr << "usage: habuki-generate shaped|adversarial FILE\n";
    return 2;
  }
  const std::string shaped = habuki::bench::GenerateShaped30i(99999);
  const std::string text =
      kind == "shaped" ? shaped : habuki::bench::GenerateAdversarial30i(shaped.size());
  std::ofstream out(argv[2], std::ios::binary);
  out << text;
  return out ? 0 : 1;
}
