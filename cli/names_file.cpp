#include "cli/names_file.h"

#include <algorithm>
#include <ostream>
#include <system_error>

#include "cli/exit_status.h"
#include "cli/messages.h"
#include "core/io/file_reading.h"
#include "core/io/path_text.h"
#include "core/text/display_text.h"
#include "core/text/size_limits.h"

namespace habuki {

namespace {

constexpr ReadLimit kNamesRead{kNamesFileLimit, true};

// The names file to read: the one given, or the configuration folder's if it has one.
std::optional<std::filesystem::path> NamesFile(const std::optional<std::filesystem::path>& given,
                                               const CliIo& io) {
  if (given) return given;
  if (io.configFolder.empty()) return std::nullopt;
  std::error_code error;
  const std::filesystem::path standing = io.configFolder / "names.csv";
  if (!std::filesystem::exists(std::filesystem::symlink_status(standing, error))) {
    return std::nullopt;
  }
  return standing;
}

}  // namespace

NamesLoad LoadNames(const std::optional<std::filesystem::path>& given, CliIo& io) {
  const std::optional<std::filesystem::path> file = NamesFile(given, io);
  if (!file) return {};
  const std::string name = DisplayName(Utf8Of(*file));
  const FileContents contents = ReadFile(*file, kNamesRead);
  if (contents.error) {
    const std::string why = contents.error == std::errc::file_too_large
                                ? "larger than a names file is (4 MiB)"
                                : contents.error.message();
    io.err << FileProblem(name, "cannot read", why);
    return {std::nullopt, kExitFileError};
  }
  ParameterNamesReading reading = ParseParameterNames(contents.bytes.view());
  // A file that is no names file at all (a backup given by mistake) is bad on every line: the
  // first few say so.
  constexpr std::size_t kErrorsTold = 10;
  for (std::size_t i = 0; i < std::min(reading.errors.size(), kErrorsTold); ++i) {
    io.err << "habuki: " << name << ":" << reading.errors[i].line << ": "
           << reading.errors[i].problem << "\n";
  }
  if (reading.errors.size() > kErrorsTold) {
    io.err << "habuki: " << name << ": " << reading.errors.size() - kErrorsTold
           << " more bad line(s); no names were read\n";
  }
  if (!reading.errors.empty()) return {std::nullopt, kExitUsage};
  return {std::move(reading.names), kExitOk};
}

}  // namespace habuki
