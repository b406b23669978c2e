// The window's response time: from the open command to the thinned text shown in the right
// pane, on the real 30i backup and on the largest text the filter accepts. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "bench/param_generator.h"
#include "tests/support/fake_window_system.h"
#include "tests/support/form1_controls.h"
#include "ui/form1.h"

namespace habuki::bench {
namespace {

void OpenAndThin(benchmark::State& run, const std::filesystem::path& file) {
  ui::test::FakeWindowSystem system(file.parent_path());
  ui::Form1 form(system);
  const ui::test::Form1Controls controls(form);
  form.show();
  for (auto _ : run) {
    system.openAnswers.push_back(QString::fromStdString(file.string()));
    form.OnOpen();
    QTest::mouseClick(controls.Command1, Qt::LeftButton);
    controls.Text2->repaint();
  }
  if (controls.Text2->toPlainText().isEmpty()) run.SkipWithError("nothing was shown");
  run.counters["input_bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void RealBackup30i(benchmark::State& run) {
  OpenAndThin(run, std::filesystem::path(HABUKI_DATA_DIR) / "machining-center-30i.txt");
}

void Generated30i(benchmark::State& run) {
  const auto file = std::filesystem::temp_directory_path() / "habuki-gui-bench-99999.txt";
  std::ofstream(file, std::ios::binary) << GenerateShaped30i(99999);
  OpenAndThin(run, file);
  std::filesystem::remove(file);
}

BENCHMARK(RealBackup30i)->Unit(benchmark::kMillisecond);
BENCHMARK(Generated30i)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace habuki::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
