#include "core/io/file_writing.h"

#include <cerrno>
#include <string>
#include <vector>

#include "core/io/errno_error.h"
#include "core/io/replace_batch.h"

namespace habuki {

namespace {

std::error_code WriteAll(int descriptor, std::string_view bytes, const FileOps& ops) {
  while (!bytes.empty()) {
    const ssize_t written = ops.write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return LastError();
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

}  // namespace

// Parts that together fit a pipe's buffer are joined and written at once, so that a reader that
// stops early (`habuki x.txt | head -n 1`) has them all in the pipe before it goes and never
// makes a later part fail. Larger ones are written part by part rather than copied.
std::error_code WriteToDescriptor(int descriptor, ByteParts parts, const FileOps& ops) {
  constexpr std::size_t kPipeBuffer = 64 * 1024;
  std::size_t total = 0;
  for (const std::string_view bytes : parts) total += bytes.size();
  if (parts.size() > 1 && total <= kPipeBuffer) {
    std::string joined;
    joined.reserve(total);
    for (const std::string_view bytes : parts) joined.append(bytes);
    return WriteAll(descriptor, joined, ops);
  }
  for (const std::string_view bytes : parts) {
    if (const auto error = WriteAll(descriptor, bytes, ops)) return error;
  }
  return {};
}

std::error_code WriteFileAtomically(const std::filesystem::path& target, ByteParts parts,
                                    const FileOps& ops) {
  ReplaceBatch batch(ops);
  if (const auto error = batch.Add(target, parts)) return error;
  return batch.CommitOne();
}

}  // namespace habuki
