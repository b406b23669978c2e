#pragma once

#include <filesystem>
#include <string>

namespace habuki {

// `path` in the form Windows' calls take it at any length: as it is while it is short enough for
// every call (folders stop 12 characters short of MAX_PATH), else as the full path in the
// extended form (\\?\C:\..., \\?\UNC\server\share\...) that has no such limit, as Windows
// configured by default requires. The extended form is taken literally, so it is made from the
// full, normalized path: no "..", no "/".
std::wstring SystemPath(const std::filesystem::path& path);

// Whether `path` names a folder.
bool IsFolder(const std::filesystem::path& path);

}  // namespace habuki
