#include "core/param_file.h"

#include "core/file_reading.h"
#include "core/size_limits.h"

namespace habuki {

namespace {

constexpr ReadLimit kParamFileRead{kParamFileLimit, false};

LoadResult LoadContents(FilterState& state, const FileContents& file) {
  if (file.error) {
    state.LineList.clear();
    state.AllText = {};
    const bool tooLarge = file.error == std::errc::file_too_large;
    return {tooLarge ? LoadStatus::TooLarge : LoadStatus::CannotRead, file.error, file.fileSize,
            std::nullopt};
  }
  LoadResult result = LoadParamBytes(state, file.bytes);
  result.identity = file.identity;
  return result;
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\r');
    lines.emplace_back(bytes.substr(0, end));
    if (end == std::string_view::npos) break;
    const bool crLf = end + 1 < bytes.size() && bytes[end + 1] == '\n';
    bytes.remove_prefix(end + (crLf ? 2 : 1));
  }
  return lines;
}

LoadResult LoadParamBytes(FilterState& state, std::string_view bytes) {
  state.LineList = SplitLines(bytes);
  std::string all;
  all.reserve(bytes.size() + 2 * state.LineList.size());
  for (const std::string& line : state.LineList) all.append(line).append("\r\n");
  state.AllText = Cp932Text::FromBytes(all);
  return {state.LineList.empty() ? LoadStatus::Empty : LoadStatus::Loaded, {}, {}, {}};
}

LoadResult LoadParamFile(FilterState& state, const std::filesystem::path& path) {
  return LoadContents(state, ReadFile(path, kParamFileRead));
}

LoadResult LoadParamDescriptor(FilterState& state, int descriptor) {
  return LoadContents(state, ReadDescriptor(descriptor, kParamFileRead));
}

}  // namespace habuki
