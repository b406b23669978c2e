// The window's times for opening a backup, under Windows or wine: from the open command to the
// start of the text drawn in the left pane, to the whole text in it, and the longest stretch in
// which the window could not answer the user meanwhile. For the real 30i backup and a generated
// text of about 5 MB. Google Benchmark is not built for Windows here, so the runs are timed by
// hand: the backup is opened five times, the large text once (it takes minutes under wine), and the
// fastest and the median are printed.
//   window_open_bench.exe DATA_FOLDER
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/param_generator.h"
#include "ui/win32/control_ids.h"
#include "ui/win32/win32_form1_view.h"
#include "ui/win32/win32_text.h"

namespace {

using Clock = std::chrono::steady_clock;
using habuki::ui::win32::Win32Form1View;

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

struct OpenTimes {
  double shown = 0;    // the open command returned and the window drew what it shows
  double whole = 0;    // the whole text is in the pane
  double longest = 0;  // the longest time between two messages the window took
};

OpenTimes Open(Win32Form1View& window, const std::filesystem::path& file, int length) {
  HWND form = ::FindWindowW(habuki::ui::win32::kForm1ClassName, nullptr);
  HWND pane = ::GetDlgItem(form, habuki::ui::win32::kText1);
  OpenTimes times;
  const auto start = Clock::now();
  window.form().OpenFile(file);
  ::RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  auto last = Clock::now();
  times.shown = Milliseconds(last - start);
  times.longest = times.shown;
  MSG message;
  while (::GetWindowTextLengthW(pane) < length && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    const auto now = Clock::now();
    times.longest = std::max(times.longest, Milliseconds(now - last));
    last = now;
  }
  times.whole = Milliseconds(last - start);
  return times;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void Measure(Win32Form1View& window, const char* name, const std::filesystem::path& file,
             int runs) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  const int length = static_cast<int>(habuki::ui::win32::PaneText(bytes).size());
  std::vector<double> shown, whole, longest;
  for (int run = 0; run < runs; ++run) {
    const OpenTimes times = Open(window, file, length);
    shown.push_back(times.shown);
    whole.push_back(times.whole);
    longest.push_back(times.longest);
  }
  std::printf("%s, %zu bytes (median of %d opens, fastest in brackets):\n", name, bytes.size(),
              runs);
  std::printf("  start shown %8.1f ms (%.1f)\n", Median(shown),
              *std::min_element(shown.begin(), shown.end()));
  std::printf("  whole text  %8.1f ms (%.1f)\n", Median(whole),
              *std::min_element(whole.begin(), whole.end()));
  std::printf("  longest time without an answer %.1f ms\n", Median(longest));
}

// A generated 30i text of at least `bytes`, in the temporary folder.
std::filesystem::path GeneratedText(std::size_t bytes) {
  std::string text = habuki::bench::GenerateShaped30i(1000);
  const int records = static_cast<int>(1000 * bytes / text.size()) + 1;
  text = habuki::bench::GenerateShaped30i(records);
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "habuki-5mb.txt";
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: window_open_bench.exe DATA_FOLDER\n");
    return 2;
  }
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  const std::filesystem::path large = GeneratedText(5 << 20);
  {
    Win32Form1View window(::GetModuleHandleW(nullptr), {folder, folder, folder});
    window.Show(SW_SHOWNORMAL);
    ::RedrawWindow(::FindWindowW(habuki::ui::win32::kForm1ClassName, nullptr), nullptr, nullptr,
                   RDW_UPDATENOW | RDW_ALLCHILDREN);
    Measure(window, "machining-center-30i.txt",
            std::filesystem::path(argv[1]) / "machining-center-30i.txt", 5);
    Measure(window, "generated 30i", large, 1);
  }
  std::filesystem::remove(large);
  ::CoUninitialize();
  return 0;
}
