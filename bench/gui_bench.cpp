// The window's response times, offscreen: from the open command to the text shown in the left
// pane, from the click on the filter button to the result shown in the right pane, and both
// for a 50 MB text, on the real 30i backup and on generated texts.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "bench/param_generator.h"
#include "tests/ui/qt/form1_controls.h"
#include "tests/ui/qt/scripted_qt_view.h"

namespace habuki::bench {
namespace {

// A generated text in a file for the time of one benchmark.
class TextFile {
 public:
  TextFile(const char* name, const std::string& text)
      : path_(std::filesystem::temp_directory_path() / name) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;
  ~TextFile() { std::filesystem::remove(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::filesystem::path RealBackup() {
  return std::filesystem::path(HABUKI_DATA_DIR) / "machining-center-30i.txt";
}

void Open(ui::test::ScriptedQtView& window, const std::filesystem::path& file) {
  window.openAnswers.push_back(file);
  window.form().OnOpen();
  ui::test::Form1Controls(window).Text1->repaint();
}

void Thin(const ui::test::Form1Controls& controls) {
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  controls.Text2->repaint();
}

enum class Step { Open, Thin, OpenAndThin };

void Measure(benchmark::State& run, const std::filesystem::path& file, Step step) {
  ui::test::ScriptedQtView window(file.parent_path());
  const ui::test::Form1Controls controls(window);
  window.show();
  if (step == Step::Thin) Open(window, file);
  for (auto _ : run) {
    if (step != Step::Thin) Open(window, file);
    if (step != Step::Open) Thin(controls);
  }
  const QPlainTextEdit* shown = step == Step::Open ? controls.Text1 : controls.Text2;
  if (shown->toPlainText().isEmpty()) run.SkipWithError("nothing was shown");
  run.counters["input_bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void OpenRealBackup30i(benchmark::State& run) { Measure(run, RealBackup(), Step::Open); }
void ThinRealBackup30i(benchmark::State& run) { Measure(run, RealBackup(), Step::Thin); }

void OpenGenerated30i(benchmark::State& run) {
  const TextFile file("habuki-gui-bench-99999.txt", GenerateShaped30i(99999));
  Measure(run, file.path(), Step::Open);
}

void ThinGenerated30i(benchmark::State& run) {
  const TextFile file("habuki-gui-bench-99999.txt", GenerateShaped30i(99999));
  Measure(run, file.path(), Step::Thin);
}

void OpenAndThin50MB(benchmark::State& run) {
  const TextFile file("habuki-gui-bench-50mb.txt", GenerateAdversarial30i(50 << 20));
  Measure(run, file.path(), Step::OpenAndThin);
}

BENCHMARK(OpenRealBackup30i)->Unit(benchmark::kMillisecond);
BENCHMARK(ThinRealBackup30i)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenGenerated30i)->Unit(benchmark::kMillisecond);
BENCHMARK(ThinGenerated30i)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAndThin50MB)->Unit(benchmark::kMillisecond)->Iterations(3);

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
