#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/io/replace_batch_state.h"
#include "core/io/write_refusal.h"

namespace habuki {

static_assert(BatchLimits{}.files * 2 <= InterruptCleanup::kMaxWatched,
              "a batch and a single write beside it must find their temporaries watched");

namespace {

// The successor takes the old file's owner and group, then its ACL and extended attributes, and
// only then its mode: until then it is its writer's alone. Where the owner cannot be kept, the
// file stays the caller's, and a setuid or setgid bit would hand the caller's rights to whoever
// runs it: those bits go.
std::error_code TakeOver(const FileOps& ops, const ReplaceTarget& target, int successor) {
  mode_t mode = target.info.st_mode & 07777;
  if (ops.fchown(successor, target.info.st_uid, target.info.st_gid) != 0) {
    mode &= ~mode_t{S_ISUID | S_ISGID};
  }
  if (ops.copyAcl(target.file.get(), successor) != 0) return WriteRefusal::AclNotKept;
  if (ops.copyAttributes(target.file.get(), successor) != 0) {
    return WriteRefusal::AttributesNotKept;
  }
  return ops.fchmod(successor, mode) == 0 ? std::error_code{} : LastError();
}

// An unnamed file can be given a name later through /proc/self/fd; without /proc, temporaries
// have names from the start.
bool UnnamedFilesCanBeNamed() { return ::access("/proc/self/fd", F_OK) == 0; }

// A quarter of what the process may hold, so that a batch of results in many folders never
// takes the descriptors the rest of the run needs.
std::size_t DescriptorsForABatch() {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 4096;
  return std::max<std::size_t>(static_cast<std::size_t>(limit.rlim_cur) / 4, 4);
}

}  // namespace

SystemBatch::SystemBatch(BatchLimits limits)
    : unnamedAllowed(UnnamedFilesCanBeNamed()), mostHeld(DescriptorsForABatch()) {
  folders.reserve(limits.files);
}

// Folders are held open once each, however many results go into them.
std::size_t SystemBatch::KeepFolder(FileDescriptor folder) {
  struct stat info {};
  ::fstat(folder.get(), &info);
  for (std::size_t i = 0; i < folders.size(); ++i) {
    if (folders[i].device == info.st_dev && folders[i].inode == info.st_ino) return i;
  }
  const bool readable = (::fcntl(folder.get(), F_GETFL) & O_PATH) == 0;
  folders.push_back({std::move(folder), info.st_dev, info.st_ino, readable});
  return folders.size() - 1;
}

std::error_code ReplaceBatch::State::Find(const std::filesystem::path& path, Target& target) const {
  return FindTarget(ops_, path, target);
}

bool ReplaceBatch::State::IsWrittenThrough(const Target& target) {
  return target.IsWrittenThrough();
}

std::error_code ReplaceBatch::State::WriteThrough(Target& target,
                                                  const WriteContents& contents) const {
  if (const auto error = contents(target.file.get())) return error;
  return target.file.Close();
}

void ReplaceBatch::State::Hold(Pending& pending, Target target) {
  pending.folder = system_.KeepFolder(std::move(target.folder));
  pending.found = std::move(target);
}

// Each result holds its temporary open, and the file it replaces, until the commit; each folder
// one more.
bool ReplaceBatch::State::HoldsTooMuch() const {
  const std::size_t held = pending_.size() * 2 + system_.folders.size();
  return system_.folders.size() >= limits_.files || held + 3 >= system_.mostHeld;
}

// Writes the temporary, private to its writer when it replaces a file: nobody else can read it
// until it is whole and on disk, and only then does it take the old file's owner and
// permissions. A new file is made with the permissions it will keep, as any program makes one.
// The temporary is unnamed where the system allows (a killed run then leaves nothing), else made
// under a short name no other writer can have opened. Its data starts on its way to the disk at
// once; the commit waits for it.
std::error_code ReplaceBatch::State::WriteTemporary(Pending& pending,
                                                    const WriteContents& contents) {
  const mode_t mode = pending.found.IsNew() ? 0666 : 0600;
  const int folder = system_.folders[pending.folder].descriptor.get();
  int fd = -1;
  if (system_.unnamedAllowed) {
    fd = ops_.openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    pending.unnamed = fd >= 0;
    if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return LastError();
  }
  if (!pending.unnamed) {
    const Made made = CreateNamed(pending, [&] {
      return ops_.openat(folder, pending.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                         mode);
    });
    if (made.handle < 0) return made.error;
    fd = made.handle;
  }
  pending.file = FileDescriptor(fd, ops_);
  if (const auto error = contents(pending.file.get())) return error;
  // Contents written as they are made tell their size only once written.
  bytes_ += static_cast<std::size_t>(std::max<off_t>(::lseek(pending.file.get(), 0, SEEK_CUR), 0));
  ops_.startWriteBack(pending.file.get());
  return {};
}

void ReplaceBatch::State::NameTemporary(Pending& pending, std::string name) const {
  pending.temporary = std::move(name);
}

// Makes the temporary by `create` under its name in its folder, watched for removal on a signal.
ReplaceBatch::State::Made ReplaceBatch::State::CreateWatched(Pending& pending,
                                                             const Create& create) const {
  const int folder = system_.folders[pending.folder].descriptor.get();
  const WatchedFile file = InterruptCleanup::CreateWatched(folder, pending.temporary, create);
  if (file.descriptor >= 0) return {file.descriptor, {}, false, file.watch};
  const bool taken = errno == EEXIST;
  return {file.descriptor, LastError(), taken, file.watch};
}

// Waits for every temporary's data (their write-back started as each was written): only the
// run's own files are waited for, never another program's. Where a wait fails, that result is
// not put in place.
void ReplaceBatch::State::WaitForData() {
  for (Pending& pending : pending_) {
    if (ops_.fdatasync(pending.file.get()) != 0) pending.error = LastError();
  }
}

// Takes the old file's owner and permissions, then the target's name: a new target's name is
// given to the unnamed temporary directly, and fails where another program has taken it
// meanwhile; an existing target is replaced by a rename, from the name the temporary has or is
// given for it.
void ReplaceBatch::State::Publish(Pending& pending) {
  SystemBatch::Folder& folder = system_.folders[pending.folder];
  const int fd = folder.descriptor.get();
  if (!pending.found.IsNew()) {
    if ((pending.error = TakeOver(ops_, pending.found, pending.file.get()))) return;
  }
  if (pending.unnamed && pending.found.IsNew()) {
    if (ops_.linkUnnamed(pending.file.get(), fd, pending.found.name.c_str()) != 0) {
      pending.error = errno == EEXIST ? make_error_code(WriteRefusal::NameTaken) : LastError();
      return;
    }
    pending.unnamed = false;
    folder.renamedInto = true;
    return;
  }
  if (pending.unnamed) {
    const Made named = CreateNamed(pending, [&] {
      return ops_.linkUnnamed(pending.file.get(), fd, pending.temporary.c_str());
    });
    if (named.handle < 0) {
      pending.error = named.error;
      return;
    }
    pending.unnamed = false;
  }
  if (ops_.renameat(fd, pending.temporary.c_str(), fd, pending.found.name.c_str()) != 0) {
    pending.error = LastError();
    return;
  }
  folder.renamedInto = true;
}

// Makes the names durable where the folder can be synced, once each folder. The new contents are
// in place by now, so a failure here is not reported as a failed write.
void ReplaceBatch::State::SyncFolders() {
  for (const SystemBatch::Folder& folder : system_.folders) {
    if (folder.renamedInto && folder.readable) ops_.fsync(folder.descriptor.get());
  }
  system_.folders.clear();
}

void ReplaceBatch::State::Remove(const Pending& pending) const {
  ::unlinkat(system_.folders[pending.folder].descriptor.get(), pending.temporary.c_str(), 0);
}

}  // namespace habuki
