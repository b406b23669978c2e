#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace habuki::test {

// TMPDIR names the temporary folder while it lives.
class TemporaryFolderIs {
 public:
  explicit TemporaryFolderIs(const std::filesystem::path& folder) {
    if (const char* before = std::getenv("TMPDIR")) before_ = before;
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  TemporaryFolderIs(const TemporaryFolderIs&) = delete;
  TemporaryFolderIs& operator=(const TemporaryFolderIs&) = delete;
  ~TemporaryFolderIs() {
    if (before_) ::setenv("TMPDIR", before_->c_str(), 1);
    if (!before_) ::unsetenv("TMPDIR");
  }

 private:
  std::optional<std::string> before_;
};

}  // namespace habuki::test
