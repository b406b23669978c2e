#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "cp932_text.h"
#include "filter_state.h"

namespace habuki::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const;

 private:
  std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

// The real backups kept with the tests.
std::filesystem::path DataFile(std::string_view name);
std::filesystem::path ExampleFile(std::string_view name);

// A state whose AllText is `text` exactly (no line splitting), for filter tests.
FilterState StateWithText(std::string_view bytes);

// UTF-8 to CP932 with the system's converter, as an independent check of built-in bytes.
std::string Utf8ToCp932(std::string_view utf8);

}  // namespace habuki::test
