#include "param_file.h"

#include "file_io.h"

namespace habuki {

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
  return {state.LineList.empty() ? LoadStatus::Empty : LoadStatus::Loaded, {}};
}

LoadResult LoadParamFile(FilterState& state, const std::filesystem::path& path) {
  const FileContents file = ReadWholeFile(path);
  if (file.error) {
    state.LineList.clear();
    state.AllText = {};
    return {LoadStatus::CannotRead, file.error};
  }
  return LoadParamBytes(state, file.bytes);
}

}  // namespace habuki
