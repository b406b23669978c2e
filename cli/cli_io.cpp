#include "cli/cli_io.h"

#include <ostream>

#include "cli/messages.h"
#include "core/io/file_writing.h"
#include "core/io/param_file.h"
#include "core/io/path_text.h"
#include "core/io/system_calls.h"
#include "core/text/display_text.h"

namespace habuki {

bool WriteStandardOutput(std::string_view text, CliIo& io) {
  const std::error_code error = io.outIsTerminal ? WriteToTerminal(io.streams.output, text)
                                                 : WriteToDescriptor(io.streams.output, text);
  if (error) io.err << FileProblem(io.outName, "cannot write", error.message());
  return !error;
}

bool WorkbookMayGoTo(const std::optional<std::filesystem::path>& output, CliIo& io,
                     std::string_view instead) {
  if (output ? !NamesATerminal(*output) : !io.outIsTerminal) return true;
  io.err << "habuki: an xlsx workbook is not shown on a terminal: " << instead << '\n';
  return false;
}

bool LoadInput(const std::string& file, FilterState& state, CliIo& io) {
  const LoadResult loaded = file == "-" ? LoadParamDescriptor(state, io.streams.input)
                                        : LoadParamFile(state, PathFromUtf8(file));
  io.err << LoadProblem(DisplayName(file), loaded);
  return static_cast<bool>(loaded);
}

std::optional<PlannedOutput> DocumentTarget(const std::vector<std::string>& files,
                                            const std::optional<std::filesystem::path>& output,
                                            CliIo& io) {
  std::vector<PlannedInput> inputs;
  for (const std::string& file : files) inputs.push_back(InputNamed(file, io.streams));
  const Destination destination =
      output ? Destination(ToFile{*output}) : Destination(ToStandardOutput{});
  // Every input "goes" to the one document, so the plan's clash of targets means nothing here.
  const OutputPlan plan = PlanOutputs(inputs, destination, io.streams);
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    if (plan.outputs[i].refusal) {
      io.err << RefusalMessage(inputs[i].name, plan.outputs[i]);
      return std::nullopt;
    }
  }
  return plan.outputs.front();
}

std::string TargetName(const std::optional<std::filesystem::path>& file) {
  return file ? DisplayName(Utf8Of(*file)) : "standard output";
}

}  // namespace habuki
