#include "core/io/param_file.h"

#include "core/io/file_reading.h"
#include "core/text/line_breaks.h"
#include "core/text/size_limits.h"

namespace habuki {

namespace {

constexpr ReadLimit kParamFileRead{kParamFileLimit, false, true};

LoadResult Loaded(FilterState& state, Cp932Text text) {
  state.AllText = std::move(text);
  state.LineList = LineRange(state.AllText);
  return {state.AllText.empty() ? LoadStatus::Empty : LoadStatus::Loaded, {}, {}, {}};
}

// The line breaks are completed in the room the bytes were read with; only bytes that came
// otherwise (from a pipe, or a file that grew while it was read) may need a copy for it.
LoadResult LoadOwned(FilterState& state, OwnedBytes bytes) {
  const std::size_t growth = LineBreakGrowth(bytes.view());
  Reserve(bytes, bytes.size + growth);
  CompleteLineBreaks(bytes.data.get(), bytes.size, growth);
  const std::string_view text(bytes.data.get(), bytes.size + growth);
  return Loaded(state, Cp932Text(std::shared_ptr<const char[]>(std::move(bytes.data)), text));
}

LoadResult LoadContents(FilterState& state, FileContents file) {
  if (file.error) {
    state.LineList = {};
    state.AllText = {};
    const bool tooLarge = file.error == std::errc::file_too_large;
    return {tooLarge ? LoadStatus::TooLarge : LoadStatus::CannotRead, file.error, file.fileSize,
            std::nullopt};
  }
  LoadResult result = LoadOwned(state, std::move(file.bytes));
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
  OwnedBytes owned;
  Reserve(owned, bytes.size() + LineBreakGrowth(bytes));
  bytes.copy(owned.data.get(), bytes.size());
  owned.size = bytes.size();
  return LoadOwned(state, std::move(owned));
}

LoadResult LoadParamFile(FilterState& state, const std::filesystem::path& path) {
  return LoadContents(state, ReadFile(path, kParamFileRead));
}

LoadResult LoadParamDescriptor(FilterState& state, int descriptor) {
  return LoadContents(state, ReadDescriptor(descriptor, kParamFileRead));
}

}  // namespace habuki
