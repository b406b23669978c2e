#include "tests/support/test_support.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <random>

namespace habuki::test {

TempDir::TempDir() {
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() /
          ("habuki-test-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
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

std::size_t EntriesIn(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

int RunAsOtherUser(const std::function<int()>& work) {
  const pid_t child = ::fork();
  if (child == 0) {
    const bool switched =
        ::geteuid() != 0 ||
        (::setgroups(0, nullptr) == 0 && ::setgid(kOtherGroup) == 0 && ::setuid(kOtherUser) == 0);
    ::_exit(switched ? work() : 120);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

void GiveToOtherUser(const std::filesystem::path& file) {
  ASSERT_EQ(::chown(file.c_str(), kOtherUser, kOtherGroup), 0) << file;
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

FilterState StateWithText(std::string_view bytes) {
  FilterState state;
  state.AllText = Cp932Text::FromBytes(bytes);
  return state;
}

std::string Records(int count, std::string_view body) {
  std::string text = "%\r\n";
  for (int i = 0; i < count; ++i) {
    text.append("N").append(std::to_string(1000000 + i)).append(body).append("\r\n");
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

std::string Utf8ToCp932(std::string_view utf8) {
  iconv_t cd = ::iconv_open("CP932", "UTF-8");
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string out(utf8.size() * 2, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* target = out.data();
  std::size_t outLeft = out.size();
  EXPECT_NE(::iconv(cd, &in, &inLeft, &target, &outLeft), static_cast<std::size_t>(-1));
  ::iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace habuki::test
