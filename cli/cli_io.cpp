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
  if (error) io.err << FileProblem("standard output", "cannot write", error.message());
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

std::string TargetName(const std::optional<std::filesystem::path>& file) {
  return file ? DisplayName(Utf8Of(*file)) : "standard output";
}

}  // namespace habuki
