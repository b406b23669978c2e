#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

#include "core/io/file_identity.h"
#include "core/io/file_writing.h"
#include "core/io/replace_batch.h"

namespace habuki {

// The descriptors a run reads standard input from and writes standard output to.
struct StandardStreams {
  int input = 0;
  int output = 1;
};

// Where a run's results go: standard output, one file, or a folder where each result takes its
// input's file name with `suffix` added.
struct ToStandardOutput {};
struct ToFile {
  std::filesystem::path file;
};
struct ToFolder {
  std::filesystem::path folder;
  std::string suffix;
};
using Destination = std::variant<ToStandardOutput, ToFile, ToFolder>;

// One input of a run: its name ("-" is standard input) and the regular file it is, if any.
struct PlannedInput {
  std::string name;
  std::optional<FileIdentity> identity;
};

// The input named on a command line, "-" being standard input's file.
PlannedInput InputNamed(const std::string& name, const StandardStreams& streams);

enum class Refusal {
  TargetIsAnInput,   // the result would replace a file that this run reads
  OutputIsTheInput,  // standard output is the very file being read
};

// Where one input's result goes, or why it may not go anywhere.
struct PlannedOutput {
  std::optional<std::filesystem::path> file;  // none: standard output
  // A descriptor the result is written through, at its offset, instead of replacing `file`:
  // for every name of a descriptor the program holds (/dev/stdout, /dev/fd/N, /proc/self/fd/N,
  // /proc/PID/task/TID/fd/N, a link to one of them), and for the file standard output has open.
  std::optional<int> descriptor;
  std::optional<Refusal> refusal;
};

// Two inputs whose results would replace each other.
struct TargetClash {
  std::string first;
  std::string second;
  std::filesystem::path target;
  std::filesystem::path reached;  // the absolute path `target` leads to, links followed
};

struct OutputPlan {
  std::vector<PlannedOutput> outputs;  // one per input, in their order
  std::optional<TargetClash> clash;    // when set, nothing of the run may be written
};

// Decides, before anything of a run is written, where each result goes: never over an input of
// the run (standard input's file included), never two results to one target (names compared by
// what they reach through symbolic links, a dangling link by the file it would make), never
// into the file standard output is when that file is the input.
OutputPlan PlanOutputs(const std::vector<PlannedInput>& inputs, const Destination& destination,
                       const StandardStreams& streams);

// Writes one planned result that was not refused: through its descriptor, over its file
// atomically as part of `batch` (its file is replaced at the batch's Commit), or to standard
// output.
std::error_code WriteOutput(const PlannedOutput& output, const WriteContents& contents,
                            const StandardStreams& streams, ReplaceBatch& batch);
std::error_code WriteOutput(const PlannedOutput& output, ByteParts parts,
                            const StandardStreams& streams, ReplaceBatch& batch);
// The same for a single result: its file, if it has one, is replaced before it returns.
std::error_code WriteOutput(const PlannedOutput& output, ByteParts parts,
                            const StandardStreams& streams);

}  // namespace habuki
