#include "cli/file_facts.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/filter/format_profile.h"
#include "core/filter/header_lines.h"
#include "core/io/path_text.h"

namespace habuki {

namespace {

std::string FormatText(std::optional<FormatKind> given, FormatKind kind) {
  return std::string(FormatName(kind)) + (given ? " (given)" : " (guessed)");
}

// When the file was last written, as the system keeps it; empty where it cannot say.
std::string ModifiedText(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::file_time_type written = std::filesystem::last_write_time(path, error);
  if (error) return {};
  return UtcText(std::chrono::file_clock::to_sys(written));
}

std::string TwoDigits(unsigned value) {
  return std::string(value < 10 ? "0" : "") + std::to_string(value);
}

bool NeedsQuotes(std::string_view argument) {
  return argument.empty() || !std::ranges::all_of(argument, [](unsigned char c) {
           return std::isalnum(c) ||
                  std::string_view("%+,-./:=@_").find(static_cast<char>(c)) !=
                      std::string_view::npos ||
                  c >= 0x80;
         });
}

}  // namespace

FleetFile ComparedFile(const std::string& given, std::optional<FormatKind> formatGiven,
                       FormatKind kind, const FilterState& state, const FilterStats& stats,
                       std::size_t values, std::size_t differences) {
  FleetFile file;
  file.given = given;
  if (given != "-") {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(PathFromUtf8(given), error);
    if (!error) file.path = Utf8Of(path);
    file.modified = ModifiedText(PathFromUtf8(given));
  }
  file.size = std::to_string(state.AllText.Bytes().size());
  file.format = FormatText(formatGiven, kind);
  file.recordsRead = std::to_string(stats.recordsRead);
  file.values = std::to_string(values);
  file.differences = std::to_string(differences);
  file.headerLines = HeaderLines(state.AllText.Bytes());
  return file;
}

FleetFile LeftOutFile(const std::string& given, std::string why) {
  FleetFile file;
  file.given = given;
  file.notCompared = std::move(why);
  return file;
}

std::string UtcText(std::chrono::system_clock::time_point moment) {
  const auto seconds = std::chrono::floor<std::chrono::seconds>(moment);
  const auto day = std::chrono::floor<std::chrono::days>(seconds);
  const std::chrono::year_month_day date(day);
  const std::chrono::hh_mm_ss time(seconds - day);
  return std::to_string(static_cast<int>(date.year())) + "-" +
         TwoDigits(static_cast<unsigned>(date.month())) + "-" +
         TwoDigits(static_cast<unsigned>(date.day())) + " " +
         TwoDigits(static_cast<unsigned>(time.hours().count())) + ":" +
         TwoDigits(static_cast<unsigned>(time.minutes().count())) + ":" +
         TwoDigits(static_cast<unsigned>(time.seconds().count())) + " UTC";
}

std::string CommandLineText(int argc, const char* const* argv) {
  std::string line = "habuki";
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (!NeedsQuotes(argument)) {
      line += " " + std::string(argument);
      continue;
    }
    line += " '";
    for (const char c : argument) line += c == '\'' ? std::string("'\\''") : std::string(1, c);
    line += "'";
  }
  return line;
}

}  // namespace habuki
