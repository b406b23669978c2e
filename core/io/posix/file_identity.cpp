#include "core/io/file_identity.h"

#include <sys/stat.h>

namespace habuki {

namespace {

std::optional<FileIdentity> IfRegular(int result, const struct stat& info) {
  if (result != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino};
}

}  // namespace

std::optional<FileIdentity> RegularFileIdentity(const std::filesystem::path& path) {
  struct stat info {};
  return IfRegular(::stat(path.c_str(), &info), info);
}

std::optional<FileIdentity> RegularFileIdentity(int descriptor) {
  struct stat info {};
  return IfRegular(::fstat(descriptor, &info), info);
}

}  // namespace habuki
