#include "core/output_plan.h"

#include <algorithm>
#include <charconv>

#include "core/file_writing.h"

namespace habuki {

namespace {

std::optional<int> ParseDescriptor(std::string_view digits) {
  int descriptor = -1;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), descriptor);
  if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
  return descriptor;
}

// The open descriptor that a name such as /dev/stdout or /proc/self/fd/3 stands for. Replacing
// what such a name leads to would replace the file behind the descriptor, not write to it.
std::optional<int> DescriptorNamed(const std::filesystem::path& file) {
  std::error_code error;
  const std::string path = std::filesystem::absolute(file, error).lexically_normal().string();
  if (error) return std::nullopt;
  if (path == "/dev/stdin") return STDIN_FILENO;
  if (path == "/dev/stdout") return STDOUT_FILENO;
  if (path == "/dev/stderr") return STDERR_FILENO;
  const std::string ownProcess = "/proc/" + std::to_string(::getpid()) + "/fd/";
  for (const std::string_view folder :
       {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/"),
        std::string_view("/proc/thread-self/fd/"), std::string_view(ownProcess)}) {
    if (path.starts_with(folder))
      return ParseDescriptor(std::string_view(path).substr(folder.size()));
  }
  return std::nullopt;
}

std::optional<std::filesystem::path> TargetOf(const Destination& destination,
                                              const std::string& input) {
  if (const auto* file = std::get_if<ToFile>(&destination)) return file->file;
  if (const auto* folder = std::get_if<ToFolder>(&destination)) {
    std::filesystem::path name = std::filesystem::path(input).filename();
    name += folder->suffix;
    return folder->folder / name;
  }
  return std::nullopt;
}

// What makes two targets one: the same existing file, or the same name once the folders on the
// way are resolved.
struct TargetKey {
  std::optional<FileIdentity> identity;
  std::filesystem::path resolved;

  bool Same(const TargetKey& other) const {
    return (identity && identity == other.identity) || resolved == other.resolved;
  }
};

TargetKey KeyOf(const std::filesystem::path& target) {
  std::error_code error;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
  return {RegularFileIdentity(target), error ? target.lexically_normal() : resolved};
}

std::optional<TargetClash> FindClash(const std::vector<PlannedInput>& inputs,
                                     const std::vector<PlannedOutput>& outputs) {
  std::vector<std::pair<TargetKey, std::size_t>> seen;
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    if (!outputs[i].file) continue;
    const TargetKey key = KeyOf(*outputs[i].file);
    for (const auto& [other, index] : seen) {
      if (key.Same(other)) return TargetClash{inputs[index].name, inputs[i].name, *outputs[i].file};
    }
    seen.emplace_back(key, i);
  }
  return std::nullopt;
}

bool IsAnInput(const std::optional<FileIdentity>& identity,
               const std::vector<PlannedInput>& inputs) {
  return identity && std::any_of(inputs.begin(), inputs.end(), [&](const PlannedInput& input) {
           return input.identity == identity;
         });
}

PlannedOutput PlanOne(const PlannedInput& input, const std::vector<PlannedInput>& inputs,
                      const Destination& destination,
                      const std::optional<FileIdentity>& standardOutput,
                      const StandardStreams& streams) {
  PlannedOutput output{TargetOf(destination, input.name), std::nullopt, std::nullopt};
  if (!output.file) {
    if (standardOutput && standardOutput == input.identity)
      output.refusal = Refusal::OutputIsTheInput;
    return output;
  }
  const std::optional<FileIdentity> target = RegularFileIdentity(*output.file);
  output.descriptor = DescriptorNamed(*output.file);
  if (output.descriptor == STDIN_FILENO) output.descriptor = streams.input;
  if (output.descriptor == STDOUT_FILENO) output.descriptor = streams.output;
  if (!output.descriptor && target && target == standardOutput) output.descriptor = streams.output;
  if (IsAnInput(target, inputs)) output.refusal = Refusal::TargetIsAnInput;
  return output;
}

}  // namespace

PlannedInput InputNamed(const std::string& name, const StandardStreams& streams) {
  return {name, name == "-" ? RegularFileIdentity(streams.input) : RegularFileIdentity(name)};
}

OutputPlan PlanOutputs(const std::vector<PlannedInput>& inputs, const Destination& destination,
                       const StandardStreams& streams) {
  OutputPlan plan;
  const std::optional<FileIdentity> standardOutput = RegularFileIdentity(streams.output);
  for (const PlannedInput& input : inputs) {
    plan.outputs.push_back(PlanOne(input, inputs, destination, standardOutput, streams));
  }
  plan.clash = FindClash(inputs, plan.outputs);
  return plan;
}

std::error_code WriteOutput(const PlannedOutput& output, ByteParts parts,
                            const StandardStreams& streams) {
  if (output.refusal) return std::make_error_code(std::errc::operation_not_permitted);
  if (output.descriptor) return WriteToDescriptor(*output.descriptor, parts);
  if (output.file) return WriteFileAtomically(*output.file, parts);
  return WriteToDescriptor(streams.output, parts);
}

std::error_code WriteOutput(const PlannedOutput& output, const WriteContents& contents,
                            const StandardStreams& streams) {
  if (output.refusal) return std::make_error_code(std::errc::operation_not_permitted);
  if (output.descriptor) return contents(*output.descriptor);
  if (output.file) return WriteFileAtomically(*output.file, contents);
  return contents(streams.output);
}

}  // namespace habuki
