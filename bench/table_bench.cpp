// The parameter table against thinning, on the generated 99,999-record text: --to csv and
// --to json as habuki makes them, and habuki diff of the text against a copy with values
// changed. Each is measured in bytes of one input per second, next to thinning the same text in
// the same run, so that their ratio holds whatever the machine is doing. The target: each at no
// less than half the speed of thinning. DiffOfBackups falls short of it: a value that was 0 in
// the old text and is set in the new one sends the old text through a second time, to show the
// 0 that is there rather than "-" (only the records such changes want give their zero rows).
// --to xlsx is measured on the real 30i backup, in bytes of the backup per second: a workbook
// is made in files the library writes, whatever its size.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>

#include "bench/param_generator.h"
#include "core/filter/run_filter.h"
#include "core/io/param_file.h"
#include "core/table/parameter_diff.h"
#include "report/parameter_export.h"
#include "report/parameter_xlsx.h"

namespace habuki::bench {
namespace {

const std::string& Text() {
  static const std::string text = GenerateShaped30i(99999);
  return text;
}

// The text with every thousandth "P00000000" made "P00000001": some values differ.
const std::string& ChangedText() {
  static const std::string changed = [] {
    std::string text = Text();
    std::size_t seen = 0;
    for (std::size_t at = text.find("P00000000"); at != std::string::npos;
         at = text.find("P00000000", at + 1)) {
      if (++seen % 1000 == 0) text[at + 8] = '1';
    }
    return text;
  }();
  return changed;
}

FilterState Loaded(const std::string& bytes) {
  FilterState state;
  LoadParamBytes(state, bytes);
  return state;
}

// A comparison reads two texts: its speed counts the bytes of both.
void Measured(benchmark::State& run, int texts = 1) {
  run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * texts * Text().size()));
}

void Thinning(benchmark::State& run) {
  FilterState state = Loaded(Text());
  for (auto _ : run) benchmark::DoNotOptimize(RunFilter(state, FormatKind::Fs30i, false));
  Measured(run);
}

// The table as habuki writes it, each piece taken over as a write would take it.
void Export(benchmark::State& run, ExportKind to, bool all) {
  const FilterState state = Loaded(Text());
  std::size_t written = 0;
  const TableWriter take = [&](std::string_view bytes) {
    written += bytes.size();
    benchmark::DoNotOptimize(bytes.data());
    return std::error_code();
  };
  for (auto _ : run) {
    benchmark::DoNotOptimize(WriteParameterTable(
        state, FormatKind::Fs30i, {to, all, TablePart::Whole, nullptr}, "generated", "", take));
  }
  if (written == 0) run.SkipWithError("nothing written");
  Measured(run);
}

void ExportCsv(benchmark::State& run) { Export(run, ExportKind::Csv, false); }
void ExportJson(benchmark::State& run) { Export(run, ExportKind::Json, false); }
void ExportCsvAll(benchmark::State& run) { Export(run, ExportKind::Csv, true); }

// The workbook as habuki makes it of the real 30i backup, read back from its file.
void ExportXlsx(benchmark::State& run, bool all) {
  static const std::string bytes = [] {
    std::ifstream in(std::string(HABUKI_DATA_DIR) + "/machining-center-30i.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  const FilterState state = Loaded(bytes);
  for (auto _ : run) {
    ParameterWorkbook workbook(TablePart::Whole, nullptr);
    workbook.Add(state, FormatKind::Fs30i, all, "machining-center-30i.txt");
    const XlsxWorkbook made = workbook.Finish();
    if (!made.error.empty() || made.bytes.size == 0) run.SkipWithError(made.error.c_str());
    run.counters["workbook_bytes"] = static_cast<double>(made.bytes.size);
  }
  run.SetBytesProcessed(static_cast<int64_t>(run.iterations() * bytes.size()));
}

void XlsxRealBackup30i(benchmark::State& run) { ExportXlsx(run, false); }
void XlsxAllRealBackup30i(benchmark::State& run) { ExportXlsx(run, true); }

std::vector<ParameterRow> Rows(const FilterState& state) {
  std::vector<ParameterRow> rows;
  ReadParameters(state, FormatKind::Fs30i, RowsWanted::NonZero,
                 [&](const ParameterRow& row) { rows.push_back(row); });
  return rows;
}

void Diff(benchmark::State& run) {
  const FilterState before = Loaded(Text()), after = Loaded(ChangedText());
  for (auto _ : run) {
    const ParameterDiff diff = CompareParameters(Rows(before), Rows(after));
    if (diff.changes.empty()) run.SkipWithError("no difference found");
  }
  Measured(run, 2);
}

// The comparison as `habuki diff` makes it: the old text's rows held, the new text's compared
// as they are read, and, since every difference was 0 in the old text, the old text's zero
// rows read again to show them as 0.
void DiffOfBackups(benchmark::State& run) {
  const FilterState before = Loaded(Text()), after = Loaded(ChangedText());
  for (auto _ : run) {
    const BackupComparison comparison =
        CompareBackups(before, FormatKind::Fs30i, after, FormatKind::Fs30i);
    if (comparison.diff.changed == 0) run.SkipWithError("no zero row found");
  }
  Measured(run, 2);
}

BENCHMARK(Thinning)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportJson)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportCsvAll)->Unit(benchmark::kMillisecond);
BENCHMARK(XlsxRealBackup30i)->Unit(benchmark::kMillisecond);
BENCHMARK(XlsxAllRealBackup30i)->Unit(benchmark::kMillisecond);
BENCHMARK(Diff)->Unit(benchmark::kMillisecond);
BENCHMARK(DiffOfBackups)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace habuki::bench

BENCHMARK_MAIN();
