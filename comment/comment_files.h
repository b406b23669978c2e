#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/filter/filter_state.h"

namespace habuki {

// Comment files; their names are UTF-8 on disk, their contents CP932.
inline constexpr std::string_view kCommentFileJ = "日本語ｺﾒﾝﾄ.txt";
inline constexpr std::string_view kCommentFileE = "英語ｺﾒﾝﾄ.txt";
inline constexpr std::string_view kCommentFileWritten = "ｺﾒﾝﾄ.txt";

// The built-in comments, as the CP932 bytes they are written with.
// "パラメータ値０のパラメータは省いてあります。"
inline constexpr std::string_view kBuiltInCommentJ =
    "\x83\x70\x83\x89\x83\x81\x81\x5b\x83\x5e\x92\x6c\x82\x4f\x82\xcc"
    "\x83\x70\x83\x89\x83\x81\x81\x5b\x83\x5e\x82\xcd\x8f\xc8\x82\xa2"
    "\x82\xc4\x82\xa0\x82\xe8\x82\xdc\x82\xb7\x81\x42";
inline constexpr std::string_view kBuiltInCommentE =
    "Parameters of the parameter value 0 have been omitted.";

// Sets CommentText to the last line of the comment file in the first of `folders` that holds
// one that can be read (a regular file of at most kCommentFileLimit bytes; see CommentFolders).
// When there is none, the built-in text takes its place and CommentMissing records it; nothing
// is reported.
void LoadCommentJ(FilterState& state, const std::vector<std::filesystem::path>& folders);
void LoadCommentE(FilterState& state, const std::vector<std::filesystem::path>& folders);

// Where WriteCommentFileAtClose leaves "ｺﾒﾝﾄ.txt".
std::filesystem::path CommentFileWrittenIn(const std::filesystem::path& folder);

// When the last load fell back to a built-in text, leaves it in "ｺﾒﾝﾄ.txt" in `folder` (made
// if missing) for the user to copy or edit: CommentText followed by CR LF. Otherwise writes
// nothing.
std::error_code WriteCommentFileAtClose(const FilterState& state,
                                        const std::filesystem::path& folder);

}  // namespace habuki
