#include "core/param_file.h"

#include <new>

#include "core/file_reading.h"
#include "core/line_breaks.h"
#include "core/size_limits.h"

namespace habuki {

namespace {

constexpr ReadLimit kParamFileRead{kParamFileLimit, false, true};

LoadResult Loaded(FilterState& state, Cp932Text text) {
  state.AllText = std::move(text);
  state.LineList = LineRange(state.AllText);
  return {state.AllText.empty() ? LoadStatus::Empty : LoadStatus::Loaded, {}, {}, {}};
}

LoadResult LoadOwned(FilterState& state, std::string bytes) {
  const std::size_t size = bytes.size();
  const std::size_t growth = LineBreakGrowth(bytes);
  bytes.resize(size + growth);
  CompleteLineBreaks(bytes.data(), size, growth);
  return Loaded(state, Cp932Text(std::move(bytes)));
}

// The line breaks are completed in the mapping's own room: the file is never copied, and only
// the pages that change are.
LoadResult LoadMapped(FilterState& state, std::shared_ptr<FileMapping> mapping) {
  const std::string_view bytes(mapping->data(), mapping->size());
  const std::size_t growth = LineBreakGrowth(bytes);
  if (growth != 0) {
    const std::size_t firstChange = std::min(bytes.find('\r'), bytes.size());
    char* const writable = mapping->WritableFrom(firstChange);
    if (writable == nullptr) throw std::bad_alloc();
    CompleteLineBreaks(writable - firstChange, bytes.size(), growth);
  }
  const std::string_view text(mapping->data(), bytes.size() + growth);
  return Loaded(state, Cp932Text(std::move(mapping), text));
}

LoadResult LoadContents(FilterState& state, FileContents file) {
  if (file.error) {
    state.LineList = {};
    state.AllText = {};
    const bool tooLarge = file.error == std::errc::file_too_large;
    return {tooLarge ? LoadStatus::TooLarge : LoadStatus::CannotRead, file.error, file.fileSize,
            std::nullopt};
  }
  LoadResult result = file.mapping ? LoadMapped(state, std::move(file.mapping))
                                   : LoadOwned(state, std::move(file.bytes));
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
  std::string owned;
  owned.reserve(bytes.size() + LineBreakGrowth(bytes));
  owned.assign(bytes);
  return LoadOwned(state, std::move(owned));
}

LoadResult LoadParamFile(FilterState& state, const std::filesystem::path& path,
                         FileHolding holding) {
  ReadLimit limit = kParamFileRead;
  limit.mapRegularFiles = holding == FileHolding::Mapped;
  return LoadContents(state, ReadFile(path, limit));
}

LoadResult LoadParamDescriptor(FilterState& state, int descriptor) {
  return LoadContents(state, ReadDescriptor(descriptor, kParamFileRead));
}

}  // namespace habuki
