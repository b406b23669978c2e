// Throughput of the filter on real and generated backups, in bytes of loaded text per second.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>

#include "bench/param_generator.h"
#include "core/filter/format_guess.h"
#include "core/filter/run_filter.h"
#include "core/io/param_file.h"

namespace habuki::bench {
namespace {

constexpr int kLargestText = 99999;  // records: one more and the filter refuses the text

std::string ReadData(const char* name) {
  std::ifstream in(std::string(HABUKI_DATA_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

using Filter = FilterOutcome (*)(FilterState&, FormatKind, bool);

void Thin(benchmark::State& run, const std::string& bytes, FormatKind kind,
          Filter filter = RunFilter, const NumberChoice& numbers = {}) {
  FilterState state;
  if (!LoadParamBytes(state, bytes)) run.SkipWithError("nothing to thin");
  state.Numbers = numbers;
  for (auto _ : run) {
    const FilterOutcome outcome = filter(state, kind, false);
    if (!outcome.produced) run.SkipWithError("the filter failed");
    benchmark::DoNotOptimize(state.OutText);
  }
  run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * bytes.size()));
  run.counters["input_bytes"] = static_cast<double>(bytes.size());
}

void RealBackup30i(benchmark::State& run) {
  static const std::string bytes = ReadData("machining-center-30i.txt");
  Thin(run, bytes, FormatKind::Fs30i);
}

// --only 1000-1999,6700 --ignore 1240-1244: every record's number is read and looked up.
void RealBackup30iRanges(benchmark::State& run) {
  static const std::string bytes = ReadData("machining-center-30i.txt");
  const NumberChoice numbers{std::get<NumberRanges>(ParseNumberRanges("1000-1999,6700")),
                             std::get<NumberRanges>(ParseNumberRanges("1240-1244"))};
  Thin(run, bytes, FormatKind::Fs30i, RunFilter, numbers);
}

void RealBackupPmc(benchmark::State& run) {
  static const std::string bytes = ReadData("machining-center-pmc.txt");
  Thin(run, bytes, FormatKind::Pmc);
}

void Generated30i(benchmark::State& run) {
  static const std::string bytes = GenerateShaped30i(kLargestText);
  Thin(run, bytes, FormatKind::Fs30i);
}

// The same text through the 16-bit engine that texts with double-byte characters take.
void Generated30iCodes(benchmark::State& run) {
  static const std::string bytes = GenerateShaped30i(kLargestText);
  Thin(run, bytes, FormatKind::Fs30i, RunFilterOnCodes);
}

// As large as the generated text, but every entry's search for "M" finds none.
void Adversarial30i(benchmark::State& run) {
  static const std::string bytes = GenerateAdversarial30i(GenerateShaped30i(kLargestText).size());
  Thin(run, bytes, FormatKind::Fs30i);
}

// The command line's guess without -f: every record head of the text counted, before it is
// thinned.
void GuessGenerated30i(benchmark::State& run) {
  static const std::string bytes = GenerateShaped30i(kLargestText);
  FilterState state;
  if (!LoadParamBytes(state, bytes)) run.SkipWithError("nothing to read");
  for (auto _ : run) {
    const FormatGuess guess = GuessFormat(state.AllText);
    if (guess.Found() != std::vector{FormatKind::Fs30i}) run.SkipWithError("a wrong guess");
  }
  run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * bytes.size()));
}

BENCHMARK(RealBackup30i)->Unit(benchmark::kMillisecond);
BENCHMARK(RealBackup30iRanges)->Unit(benchmark::kMillisecond);
BENCHMARK(RealBackupPmc)->Unit(benchmark::kMillisecond);
BENCHMARK(Generated30i)->Unit(benchmark::kMillisecond);
BENCHMARK(Generated30iCodes)->Unit(benchmark::kMillisecond);
BENCHMARK(Adversarial30i)->Unit(benchmark::kMillisecond);
BENCHMARK(GuessGenerated30i)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace habuki::bench

BENCHMARK_MAIN();
