#include "core/io/output_plan.h"

#include <map>
#include <set>

#include "core/io/file_writing.h"
#include "core/io/link_walk.h"
#include "core/io/path_text.h"

namespace habuki {

namespace {

std::optional<std::filesystem::path> TargetOf(const Destination& destination,
                                              const std::string& input) {
  if (const auto* file = std::get_if<ToFile>(&destination)) return file->file;
  if (const auto* folder = std::get_if<ToFolder>(&destination)) {
    std::filesystem::path name = PathFromUtf8(input).filename();
    name += folder->suffix;
    return folder->folder / name;
  }
  return std::nullopt;
}

// Where one result would land: what its name reaches through links, and the file there now. A
// name that ends in a separator, "." or ".." names a folder, which no result replaces, on every
// system: Windows would take "in.txt\." for in.txt and tell the result as one over its input.
struct Landing {
  NameDestination reached;
  std::optional<FileIdentity> identity;
};

Landing LandingOf(const std::filesystem::path& target) {
  const std::filesystem::path last = target.filename();
  const bool folder = last.empty() || last == "." || last == "..";
  return {FollowLinks(target), folder ? std::nullopt : RegularFileIdentity(target)};
}

// The descriptor a result is written through: the one its name stands for (standard input and
// output being the run's own), or standard output when the target is the file it has open.
std::optional<int> DescriptorFor(const Landing& landing,
                                 const std::optional<FileIdentity>& standardOutput,
                                 const StandardStreams& streams) {
  const std::optional<int> named = landing.reached.descriptor;
  if (named == 0) return streams.input;
  if (named == 1) return streams.output;
  if (named) return named;
  if (landing.identity && landing.identity == standardOutput) return streams.output;
  return std::nullopt;
}

// The targets met so far, by the path each reaches and by the file each is now, with the index
// of its input: one lookup per target, so that a run of n inputs is planned in n log n.
class TargetIndex {
 public:
  // The index of an earlier input whose result lands where this one's does, if any.
  std::optional<std::size_t> Add(const Landing& landing, std::size_t input) {
    const auto [byPath, newPath] = byPath_.try_emplace(landing.reached.key, input);
    if (!newPath) return byPath->second;
    if (!landing.identity) return std::nullopt;
    const auto [byFile, newFile] = byIdentity_.try_emplace(*landing.identity, input);
    if (!newFile) return byFile->second;
    return std::nullopt;
  }

 private:
  std::map<std::filesystem::path::string_type, std::size_t> byPath_;
  std::map<FileIdentity, std::size_t> byIdentity_;
};

std::set<FileIdentity> IdentitiesOf(const std::vector<PlannedInput>& inputs) {
  std::set<FileIdentity> identities;
  for (const PlannedInput& input : inputs) {
    if (input.identity) identities.insert(*input.identity);
  }
  return identities;
}

}  // namespace

PlannedInput InputNamed(const std::string& name, const StandardStreams& streams) {
  return {name, name == "-" ? RegularFileIdentity(streams.input)
                            : RegularFileIdentity(PathFromUtf8(name))};
}

OutputPlan PlanOutputs(const std::vector<PlannedInput>& inputs, const Destination& destination,
                       const StandardStreams& streams) {
  const std::optional<FileIdentity> standardOutput = RegularFileIdentity(streams.output);
  const std::set<FileIdentity> inputFiles = IdentitiesOf(inputs);
  TargetIndex targets;
  OutputPlan plan;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    PlannedOutput& output = plan.outputs.emplace_back();
    output.file = TargetOf(destination, inputs[i].name);
    if (!output.file) {
      if (standardOutput && standardOutput == inputs[i].identity) {
        output.refusal = Refusal::OutputIsTheInput;
      }
      continue;
    }
    const Landing landing = LandingOf(*output.file);
    output.descriptor = DescriptorFor(landing, standardOutput, streams);
    if (landing.identity && inputFiles.contains(*landing.identity)) {
      output.refusal = Refusal::TargetIsAnInput;
    }
    const std::optional<std::size_t> earlier = targets.Add(landing, i);
    if (earlier && !plan.clash) {
      plan.clash =
          TargetClash{inputs[*earlier].name, inputs[i].name, *output.file, landing.reached.path};
    }
  }
  return plan;
}

std::error_code WriteOutput(const PlannedOutput& output, const WriteContents& contents,
                            const StandardStreams& streams, ReplaceBatch& batch) {
  if (output.refusal) return std::make_error_code(std::errc::operation_not_permitted);
  if (output.descriptor) return contents(*output.descriptor);
  if (output.file) return batch.Add(*output.file, contents);
  return contents(streams.output);
}

std::error_code WriteOutput(const PlannedOutput& output, ByteParts parts,
                            const StandardStreams& streams, ReplaceBatch& batch) {
  return WriteOutput(
      output, [&](int descriptor) { return WriteToDescriptor(descriptor, parts); }, streams, batch);
}

std::error_code WriteOutput(const PlannedOutput& output, ByteParts parts,
                            const StandardStreams& streams) {
  ReplaceBatch batch;
  if (const auto error = WriteOutput(output, parts, streams, batch)) return error;
  return batch.CommitOne();
}

}  // namespace habuki
