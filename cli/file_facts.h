#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "core/filter/filter_state.h"
#include "report/fleet_report.h"

// What a workbook of a comparison tells of its files and of the run that made it.
namespace habuki {

// A compared file as the workbook's sheet of files shows it: `given` as named ("-" for standard
// input), its format as -f gave it or as guessed, what reading it found.
FleetFile ComparedFile(const std::string& given, std::optional<FormatKind> formatGiven,
                       FormatKind kind, const FilterState& state, const FilterStats& stats,
                       std::size_t values, std::size_t differences);

// A file left out of the comparison, and why.
FleetFile LeftOutFile(const std::string& given, std::string why);

// "2026-12-08 22:56:59 UTC": a moment as anyone anywhere reads it the same.
std::string UtcText(std::chrono::system_clock::time_point moment);

// The command as typed, each argument that a shell would take apart quoted: "habuki diff --to
// xlsx -o 'machine 4.xlsx' m1.txt m2.txt".
std::string CommandLineText(int argc, const char* const* argv);

}  // namespace habuki
