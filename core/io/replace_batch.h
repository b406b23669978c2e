#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "core/io/file_ops.h"
#include "core/io/file_writing.h"

namespace habuki {

// A batch is due for Commit once it holds this many files or bytes, so that the descriptors, the
// memory and the data waiting for one sync stay bounded whatever the number of files.
struct BatchLimits {
  std::size_t files = 256;
  std::size_t bytes = std::size_t{256} << 20;
};

// Replaces files so that each holds nothing but its old or its new contents, many at a time:
// Add writes each result to a temporary file beside its target as it comes, and Commit puts them
// all on disk, then puts each in its target's place. So no target is replaced before its new
// contents are on disk, a failure leaves the results before it in place and the targets after
// it as they were, and a signal or Ctrl-C that ends the program (see InterruptCleanup) leaves
// no temporary behind.
//
// On POSIX systems Commit syncs once per file system, renames each temporary over its target
// and syncs each folder once. A replaced file keeps its owner and group (where the caller may
// give them; where not, the setuid and setgid bits go), its mode, its ACL and its extended
// attributes. The temporary is made readable by its owner alone, given the old file's owner,
// and only then its permissions.
//
// On Windows each temporary is flushed to disk as it is written, and Commit replaces an
// existing target with ReplaceFileW, which keeps its attributes, ACL and streams, and moves a
// new one into place with MoveFileExW, written through.
class ReplaceBatch {
 public:
  struct Failure {
    std::filesystem::path target;
    std::error_code error;
  };

  explicit ReplaceBatch(FileOps ops = SystemFileOps(), BatchLimits limits = {});
  ReplaceBatch(const ReplaceBatch&) = delete;
  ReplaceBatch& operator=(const ReplaceBatch&) = delete;
  // The temporaries of results not committed are removed; their targets stay as they were.
  ~ReplaceBatch();

  // Writes `parts` to a temporary that replaces `target` at the next Commit (see FindTarget for
  // how `target` is found). A target that is not a regular file is written through at once.
  std::error_code Add(const std::filesystem::path& target, ByteParts parts);
  // The same with contents written as they are made; an error they give is the Add's.
  std::error_code Add(const std::filesystem::path& target, const WriteContents& contents);

  // Whether the batch holds as much as it should before Commit.
  bool Full() const;

  // Replaces every target added since the last Commit; gives those that could not be replaced,
  // each left as it was.
  std::vector<Failure> Commit();
  // Commit for a batch of one result: its failure, if it has one.
  std::error_code CommitOne();

 private:
  // What a batch holds differs by system: folders held open here, names and handles there.
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace habuki
