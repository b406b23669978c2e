#include "comment_files.h"

#include "file_reading.h"
#include "file_writing.h"
#include "param_file.h"
#include "size_limits.h"

namespace habuki {

namespace {

std::filesystem::path InFolder(const std::filesystem::path& folder, std::string_view name) {
  return folder / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

// A comment file is read only when it is a regular file of a sensible size: a named pipe would
// keep the program waiting for ever, a huge file is no comment.
constexpr ReadLimit kCommentFileRead{kCommentFileLimit, true};

void LoadComment(FilterState& state, const std::filesystem::path& file, std::string_view builtIn) {
  const FileContents contents = ReadFile(file, kCommentFileRead);
  state.CommentMissing = static_cast<bool>(contents.error);
  if (state.CommentMissing) {
    state.CommentText = Cp932Text::FromBytes(builtIn);
    return;
  }
  const auto lines = SplitLines(contents.bytes);
  state.CommentText = lines.empty() ? Cp932Text{} : Cp932Text::FromBytes(lines.back());
}

}  // namespace

void LoadCommentJ(FilterState& state, const std::filesystem::path& folder) {
  LoadComment(state, InFolder(folder, kCommentFileJ), kBuiltInCommentJ);
}

void LoadCommentE(FilterState& state, const std::filesystem::path& folder) {
  LoadComment(state, InFolder(folder, kCommentFileE), kBuiltInCommentE);
}

std::error_code WriteCommentFileAtClose(const FilterState& state,
                                        const std::filesystem::path& folder) {
  if (!state.CommentMissing) return {};
  const std::string_view parts[] = {state.CommentText.Bytes(), "\r\n"};
  return WriteFileAtomically(InFolder(folder, kCommentFileWritten), parts);
}

}  // namespace habuki
