// Writes a generated backup for measuring the programs on the largest texts they accept:
//   habuki-generate shaped FILE           99,999 records shaped like a real 30i backup
//   habuki-generate adversarial FILE [MB]  the same size (or MB megabytes) in records of 999
//                                          entries without any "M"
//   habuki-generate kept FILE [MB]         99,999 records of 150 entries, none of them zero
//                                          (80 MB), or as many of them as make MB megabytes
#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "bench/param_generator.h"

namespace {

// About 840 bytes a record of 150 entries.
constexpr int kKeptRecordsPerMegabyte = 1250;

std::string Generate(std::string_view kind, int megabytes) {
  if (kind == "kept") {
    const int records =
        megabytes > 0 ? std::min(99999, megabytes * kKeptRecordsPerMegabyte) : 99999;
    return habuki::bench::GenerateAllKept30i(records, 150);
  }
  const std::string shaped = habuki::bench::GenerateShaped30i(99999);
  if (kind == "shaped") return shaped;
  const std::size_t bytes =
      megabytes > 0 ? static_cast<std::size_t>(megabytes) << 20 : shaped.size();
  return habuki::bench::GenerateAdversarial30i(bytes);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view kind = argc == 3 || argc == 4 ? argv[1] : "";
  if (kind != "shaped" && kind != "adversarial" && kind != "kept") {
    std::cerr << "usage: habuki-generate shaped|adversarial|kept FILE [MB]\n";
    return 2;
  }
  const int megabytes = argc == 4 ? std::stoi(argv[3]) : 0;
  std::ofstream out(argv[2], std::ios::binary);
  out << Generate(kind, megabytes);
  return out ? 0 : 1;
}
