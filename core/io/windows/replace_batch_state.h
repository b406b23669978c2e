#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>
#include <vector>

#include "core/io/replace_batch.h"
#include "core/io/windows/interrupt_cleanup.h"

namespace habuki {

// A batch on Windows: each result a temporary beside the file it replaces, named by its path.
struct ReplaceBatch::State {
  struct Pending {
    std::filesystem::path target;     // as the caller named it
    std::filesystem::path place;      // the file it names, links followed; or the new file
    std::filesystem::path temporary;  // beside `place`
    bool replaces = false;            // whether `place` exists
    int watch = -1;
    std::error_code error;
  };

  State(FileOps ops, BatchLimits limits);
  ~State();
  std::error_code Add(const std::filesystem::path& path, const WriteContents& contents);
  bool Full() const;
  std::vector<Failure> Commit();

  std::error_code Fill(Pending& pending, const WriteContents& contents);
  void* CreateTemporary(Pending& pending, std::error_code& error);
  void Discard(const Pending& pending) const;

  FileOps ops_;
  BatchLimits limits_;
  std::mt19937 random_;
  std::vector<Pending> pending_;
  std::size_t bytes_ = 0;
  std::optional<InterruptCleanup> cleanup_;  // while temporaries exist
};

}  // namespace habuki
