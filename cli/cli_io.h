#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/filter/filter_state.h"
#include "core/io/output_plan.h"

// What both commands, thinning and `habuki diff`, share: the process's streams, loading an
// input, and where output goes.
namespace habuki {

// The descriptors and facts of the process that the command line works with, so that tests can
// stand in for them.
struct CliIo {
  StandardStreams streams;  // standard input and output
  std::ostream& err;
  bool outIsTerminal = false;
  std::vector<std::filesystem::path> commentFolders;  // where comment files are looked for
  bool inIsTerminal = false;
  std::filesystem::path configFolder;       // the user's own folder, where names.csv is looked for
  std::string outName = "standard output";  // how messages name where standard output goes
};

// Loads `file` ("-" for standard input) into `state`; says on `io.err` why when it cannot.
bool LoadInput(const std::string& file, FilterState& state, CliIo& io);

// A workbook's bytes would only garble a screen: whether its target, the file `output` or else
// standard output, is no terminal, so that one may go there. When it is one, says so on
// `io.err` with what to do `instead`; checked before anything is read.
bool WorkbookMayGoTo(const std::optional<std::filesystem::path>& output, CliIo& io,
                     std::string_view instead);

// Writes `text` to standard output; says on `io.err` why when it cannot.
bool WriteStandardOutput(std::string_view text, CliIo& io);

// Where the one document of several inputs goes (a report of `diff`, a table of many): the file
// `output`, or else standard output. Refused, and told on `io.err`, when it is one of the inputs
// (`-o b`, `>> b`), which the document would change.
std::optional<PlannedOutput> DocumentTarget(const std::vector<std::string>& files,
                                            const std::optional<std::filesystem::path>& output,
                                            CliIo& io);

// How a message names where output goes: the file, or standard output.
std::string TargetName(const std::optional<std::filesystem::path>& file);

}  // namespace habuki
