#include "comment/comment_files.h"

#include "core/io/file_reading.h"
#include "core/io/file_writing.h"
#include "core/io/param_file.h"
#include "core/io/path_text.h"
#include "core/text/size_limits.h"

namespace habuki {

namespace {

std::filesystem::path InFolder(const std::filesystem::path& folder, std::string_view name) {
  return folder / PathFromUtf8(name);
}

// A comment file is read only when it is a regular file of a sensible size: a named pipe would
// keep the program waiting for ever, a huge file is no comment.
constexpr ReadLimit kCommentFileRead{kCommentFileLimit, true};

// The last line of the first comment file called `name` that can be read in `folders`, or the
// built-in text when there is none.
void LoadComment(FilterState& state, const std::vector<std::filesystem::path>& folders,
                 std::string_view name, std::string_view builtIn) {
  for (const auto& folder : folders) {
    const FileContents contents = ReadFile(InFolder(folder, name), kCommentFileRead);
    if (contents.error) continue;
    const auto lines = SplitLines(contents.bytes.view());
    state.CommentText = lines.empty() ? Cp932Text{} : Cp932Text::FromBytes(lines.back());
    state.CommentMissing = false;
    return;
  }
  state.CommentText = Cp932Text::FromBytes(builtIn);
  state.CommentMissing = true;
}

}  // namespace

void LoadCommentJ(FilterState& state, const std::vector<std::filesystem::path>& folders) {
  LoadComment(state, folders, kCommentFileJ, kBuiltInCommentJ);
}

void LoadCommentE(FilterState& state, const std::vector<std::filesystem::path>& folders) {
  LoadComment(state, folders, kCommentFileE, kBuiltInCommentE);
}

std::filesystem::path CommentFileWrittenIn(const std::filesystem::path& folder) {
  return InFolder(folder, kCommentFileWritten);
}

std::error_code WriteCommentFileAtClose(const FilterState& state,
                                        const std::filesystem::path& folder) {
  if (!state.CommentMissing) return {};
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return error;
  const std::string_view parts[] = {state.CommentText.Bytes(), "\r\n"};
  return WriteFileAtomically(CommentFileWrittenIn(folder), parts);
}

}  // namespace habuki
