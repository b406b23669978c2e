#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "core/filter/filter_state.h"
#include "core/filter/run_filter.h"
#include "core/text/cp932_text.h"

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

// The real backups kept with the tests.
std::filesystem::path DataFile(std::string_view name);
std::filesystem::path ExampleFile(std::string_view name);

// A state whose AllText is `text` exactly (no line splitting), for filter tests.
FilterState StateWithText(std::string_view bytes);

// The user "nobody", for checks that need a user other than the one running the tests.
inline constexpr uid_t kOtherUser = 65534;
inline constexpr gid_t kOtherGroup = 65534;

// Runs `work` in a child process as kOtherUser when the tests run as root, as the test's own
// user otherwise; gives the value `work` returned, or -1 if the child did not end normally.
int RunAsOtherUser(const std::function<int()>& work);

// Hands a file or folder to kOtherUser (only root can).
void GiveToOtherUser(const std::filesystem::path& file);

// A text of `count` records, "N" and 1000000 + i followed by `body` and CR LF, framed by "%".
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

// UTF-8 to CP932 with the system's converter, as an independent check of built-in bytes.
std::string Utf8ToCp932(std::string_view utf8);

}  // namespace habuki::test
