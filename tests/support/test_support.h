#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/filter/filter_state.h"
#include "core/filter/run_filter.h"
#include "core/text/cp932_text.h"
#include "tests/support/test_system.h"

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

// Makes `folder` the current folder until it ends.
class InFolder {
 public:
  explicit InFolder(const std::filesystem::path& folder);
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;
  ~InFolder();

 private:
  std::filesystem::path previous_;
};

std::string ReadBytes(const std::filesystem::path& file);
std::size_t EntriesIn(const std::filesystem::path& folder);
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);
// Why `file` cannot be read, in the system's words: each system has its own for a missing file.
std::string WhyNotRead(const std::filesystem::path& file);

// The real backups kept with the tests.
std::filesystem::path DataFile(std::string_view name);
std::filesystem::path ExampleFile(std::string_view name);
// Those and the examples, each with its format.
std::vector<std::pair<std::filesystem::path, FormatKind>> KnownBackups();

// A state whose AllText is `text` exactly (no line splitting), for filter tests.
FilterState StateWithText(std::string_view bytes);

// A text of `count` (at most 100000) 30i records, "N", i in five digits and "Q1", followed by
// `body` and CR LF, framed by "%".
std::string Records(int count, std::string_view body);

// One 30i record "N00001Q1" of `count` entries, each `letter`, its number and `value`, then
// CR LF.
std::string EntryRecord(int count, char letter, std::string_view value);

// A filter run on `text` as AllText exactly, OutText holding "previous" before it, led by
// `comment` when one is given.
struct Thinned {
  FilterOutcome outcome;
  std::string out;  // OutText's bytes after the run
};
Thinned Thin(std::string_view text, FormatKind kind, const char* comment = nullptr);

}  // namespace habuki::test
