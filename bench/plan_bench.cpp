// Planning where a batch's results go, before the first of them is written: 20,000 real files
// named on the command line, each result to an output folder under its own name, as
// `habuki --output-dir out in/*` plans them. The target: under a second.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/io/output_plan.h"

namespace habuki::bench {
namespace {

constexpr int kInputs = 20000;

// A folder of `kInputs` small files and an empty output folder, removed at the end.
class Batch {
 public:
  Batch() {
    std::string folder = (std::filesystem::temp_directory_path() / "habuki-plan-XXXXXX").string();
    root_ = ::mkdtemp(folder.data());
    std::filesystem::create_directories(root_ / "in");
    std::filesystem::create_directories(root_ / "out");
    for (int i = 0; i < kInputs; ++i) {
      names_.push_back((root_ / "in" / ("CNC-PARA-" + std::to_string(i) + ".TXT")).string());
      std::ofstream(names_.back()) << "%\r\nN00001Q1P1\r\n%\r\n";
    }
  }
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;
  ~Batch() { std::filesystem::remove_all(root_); }

  const std::vector<std::string>& Names() const { return names_; }
  std::filesystem::path Out() const { return root_ / "out"; }

 private:
  std::filesystem::path root_;
  std::vector<std::string> names_;
};

void PlanBatch(benchmark::State& run) {
  const Batch batch;
  const StandardStreams streams;
  for (auto _ : run) {
    std::vector<PlannedInput> inputs;
    for (const std::string& name : batch.Names()) inputs.push_back(InputNamed(name, streams));
    const OutputPlan plan = PlanOutputs(inputs, ToFolder{batch.Out(), ""}, streams);
    if (plan.clash) run.SkipWithError("the batch's results clashed");
  }
  run.SetItemsProcessed(run.iterations() * kInputs);
}

BENCHMARK(PlanBatch)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace habuki::bench

BENCHMARK_MAIN();
