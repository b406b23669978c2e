#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "core/io/file_descriptor.h"
#include "core/io/file_ops.h"
#include "core/io/file_writing.h"
#include "core/io/interrupt_cleanup.h"

namespace habuki {

struct ReplaceTarget;

// A batch is due for Commit once it holds this many files or bytes, so that the descriptors, the
// memory and the data waiting for one sync stay bounded whatever the number of files.
struct BatchLimits {
  std::size_t files = 256;
  std::size_t bytes = std::size_t{256} << 20;
};

// Replaces files so that each holds nothing but its old or its new contents, many at a time:
// Add writes each result to a temporary file beside its target as it comes, and Commit puts them
// all on disk with one sync per file system, renames each over its target and syncs each folder
// once. So no target is replaced before its new contents are on disk, a failure leaves the
// results before it in place and the targets after it as they were, and a signal that ends the
// program (see InterruptCleanup) leaves no temporary behind.
//
// A replaced file keeps its owner and group (where the caller may give them; where not, the
// setuid and setgid bits go), its mode, its ACL and its extended attributes. The temporary is
// made readable by its owner alone, given the old file's owner, and only then its permissions.
class ReplaceBatch {
 public:
  struct Failure {
    std::filesystem::path target;
    std::error_code error;
  };

  explicit ReplaceBatch(FileOps ops = PosixFileOps(), BatchLimits limits = {});
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
  struct Pending {
    std::filesystem::path target;
    std::string name;       // the target's final name in its folder
    std::string temporary;  // the temporary's name in the same folder
    std::size_t folder = 0;
    int watch = -1;
    std::error_code error;
  };
  struct Folder {
    FileDescriptor descriptor;
    dev_t device = 0;
    ino_t inode = 0;
    bool readable = true;  // else its results are synced one by one, and it is not synced
    bool renamedInto = false;
  };

  std::error_code Fill(const ReplaceTarget& target, Pending& pending,
                       const WriteContents& contents);
  std::size_t KeepFolder(FileDescriptor folder);
  int CreateTemporary(Pending& pending, mode_t mode);
  void SyncData();
  void Rename(Pending& pending);
  void Discard(const Pending& pending) const;

  FileOps ops_;
  BatchLimits limits_;
  std::mt19937 random_;
  std::vector<Pending> pending_;
  std::vector<Folder> folders_;
  std::size_t bytes_ = 0;
  std::optional<InterruptCleanup> cleanup_;  // while temporaries exist
};

}  // namespace habuki
