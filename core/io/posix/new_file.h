#pragma once

namespace habuki {

// Makes the file `name` in the folder open as `folder`, for reading and writing and private to
// its owner (0600): always a new file, never one that stands there already nor the target of a
// link planted at the name. The descriptor, or -1 with errno (EEXIST when the name is taken).
int CreateNewFile(int folder, const char* name);

}  // namespace habuki
