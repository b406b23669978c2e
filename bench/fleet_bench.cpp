// habuki diff of a fleet: 40 copies of the real 30i backup, each with a few values of its own,
// compared at once. The target: under a second for the 40. Loading is measured with the
// comparison, as the command does both; reading alone shows what holding every row (zero rows
// included, so that a present 0 shows as 0) costs against reading the non-zero rows only.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <list>

#include "core/io/param_file.h"
#include "core/table/fleet_comparison.h"

namespace habuki::bench {
namespace {

constexpr std::size_t kFleet = 40;

std::string RealBackup() {
  std::ifstream in(std::string(HABUKI_DATA_DIR) + "/machining-center-30i.txt", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Copy i has the (1000 i + 17 k)-th "P00000000" made "P00000001" for k = 0, 1, 2: three values
// of its own, so that every copy differs from every other.
const std::vector<std::string>& Fleet() {
  static const std::vector<std::string> fleet = [] {
    const std::string backup = RealBackup();
    std::vector<std::string> copies(kFleet, backup);
    std::vector<std::size_t> zeros;
    for (std::size_t at = backup.find("P00000000"); at != std::string::npos;
         at = backup.find("P00000000", at + 1)) {
      zeros.push_back(at);
    }
    for (std::size_t i = 1; i < kFleet; ++i) {
      for (std::size_t k = 0; k < 3; ++k)
        copies[i][zeros[(97 * i + 17 * k) % zeros.size()] + 8] = '1';
    }
    return copies;
  }();
  return fleet;
}

std::size_t FleetBytes() {
  std::size_t bytes = 0;
  for (const std::string& copy : Fleet()) bytes += copy.size();
  return bytes;
}

// Loaded as the command loads them; a list, so that the states stay where they are.
std::list<FilterState> Loaded() {
  std::list<FilterState> states;
  for (const std::string& copy : Fleet()) LoadParamBytes(states.emplace_back(), copy);
  return states;
}

std::vector<FleetMember> Members(const std::list<FilterState>& states) {
  std::vector<FleetMember> members;
  for (const FilterState& state : states) members.push_back({&state, FormatKind::Fs30i});
  return members;
}

void FleetOf40(benchmark::State& run, FleetRows rows) {
  for (auto _ : run) {
    const std::list<FilterState> states = Loaded();
    const FleetComparison table = CompareFleet(Members(states), rows);
    if (table.differing != 3 * (kFleet - 1)) run.SkipWithError("not every changed value found");
  }
  run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * FleetBytes()));
}

void FleetOf40Differing(benchmark::State& run) { FleetOf40(run, FleetRows::Differing); }
void FleetOf40All(benchmark::State& run) { FleetOf40(run, FleetRows::All); }

// Reading the 40 loaded backups alone, with the rows of value 0 or without.
void Read40(benchmark::State& run, RowsWanted wanted) {
  const std::list<FilterState> states = Loaded();
  for (auto _ : run) {
    std::size_t rows = 0;
    for (const FilterState& state : states) {
      ReadParameters(state, FormatKind::Fs30i, wanted, [&](const ParameterRow&) { ++rows; });
    }
    benchmark::DoNotOptimize(rows);
  }
  run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * FleetBytes()));
}

void Read40All(benchmark::State& run) { Read40(run, RowsWanted::All); }
void Read40NonZero(benchmark::State& run) { Read40(run, RowsWanted::NonZero); }

BENCHMARK(FleetOf40Differing)->Unit(benchmark::kMillisecond);
BENCHMARK(FleetOf40All)->Unit(benchmark::kMillisecond);
BENCHMARK(Read40All)->Unit(benchmark::kMillisecond);
BENCHMARK(Read40NonZero)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace habuki::bench

BENCHMARK_MAIN();
