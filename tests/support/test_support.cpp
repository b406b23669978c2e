#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>

#include "core/io/file_reading.h"

namespace habuki::test {

TempDir::TempDir() {
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() /
          ("habuki-test-" + std::to_string(random()) + "-" + std::to_string(random()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::operator/(std::string_view name) const {
  return path_ / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

InFolder::InFolder(const std::filesystem::path& folder)
    : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(folder);
}

InFolder::~InFolder() { std::filesystem::current_path(previous_); }

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << file;
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string WhyNotRead(const std::filesystem::path& file) {
  const std::error_code error = ReadFile(file, {1000, false}).error;
  EXPECT_TRUE(error) << file << " can be read";
  return error.message();
}

std::size_t EntriesIn(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out) << "cannot write " << file;
}

std::filesystem::path DataFile(std::string_view name) {
  return std::filesystem::path(HABUKI_TEST_DATA_DIR) / name;
}

std::filesystem::path ExampleFile(std::string_view name) {
  return std::filesystem::path(HABUKI_EXAMPLES_DIR) / name;
}

std::vector<std::pair<std::filesystem::path, FormatKind>> KnownBackups() {
  return {{DataFile("machining-center-30i.txt"), FormatKind::Fs30i},
          {DataFile("machining-center-pmc.txt"), FormatKind::Pmc},
          {ExampleFile("fs30i-example.txt"), FormatKind::Fs30i},
          {ExampleFile("fs16i-example.txt"), FormatKind::Fs16i},
          {ExampleFile("pmc-example.txt"), FormatKind::Pmc}};
}

FilterState StateWithText(std::string_view bytes) {
  FilterState state;
  state.AllText = Cp932Text::FromBytes(bytes);
  return state;
}

std::string Records(int count, std::string_view body) {
  std::string text = "%\r\n";
  for (int i = 0; i < count; ++i) {
    char head[16];
    std::snprintf(head, sizeof head, "N%05dQ1", i);
    text.append(head).append(body).append("\r\n");
  }
  return text + "%\r\n";
}

std::string EntryRecord(int count, char letter, std::string_view value) {
  std::string record = "N00001Q1";
  for (int i = 1; i <= count; ++i) record.append(1, letter).append(std::to_string(i)).append(value);
  return record + "\r\n";
}

Thinned Thin(std::string_view text, FormatKind kind, const char* comment) {
  FilterState state = StateWithText(text);
  state.OutText = Cp932Text::FromBytes("previous");
  if (comment != nullptr) state.CommentText = Cp932Text::FromBytes(comment);
  Thinned thinned{RunFilter(state, kind, comment != nullptr), ""};
  thinned.out = state.OutText.Bytes();
  return thinned;
}

}  // namespace habuki::test
