#include "core/io/scratch_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/io/path_text.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

constexpr ReadLimit kAnySize{std::uint64_t{1} << 20, true};

// What a library that only takes a file's name does: opens it by that name and writes it over.
void WriteByName(const ScratchFile& scratch, const std::string& bytes) {
  std::ofstream out(PathFromUtf8(scratch.Utf8Path()), std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.flush()) << scratch.Utf8Path();
}

TEST(ScratchFile, ReadsBackWhatWasWrittenByNameAndIsGoneAfterwards) {
  std::filesystem::path path;
  {
    const ScratchFile scratch;
    ASSERT_FALSE(scratch.error()) << scratch.error().message();
    path = PathFromUtf8(scratch.Utf8Path());
    EXPECT_EQ(path.parent_path(), std::filesystem::temp_directory_path());
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    // Read twice, the second written shorter: each reading starts at the file's start.
    for (const std::string& bytes :
         {std::string("PK\x03\x04 workbook\0bytes", 20), std::string("x")}) {
      WriteByName(scratch, bytes);
      const FileContents back = scratch.ReadBack(kAnySize);
      ASSERT_FALSE(back.error) << back.error.message();
      EXPECT_EQ(back.bytes.view(), bytes);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ScratchFile, EachIsANewFileOfItsOwn) {
  std::vector<std::unique_ptr<ScratchFile>> scratches;
  std::set<std::string> paths;
  for (int i = 0; i < 20; ++i) {
    scratches.push_back(std::make_unique<ScratchFile>());
    ASSERT_FALSE(scratches.back()->error());
    paths.insert(scratches.back()->Utf8Path());
  }
  EXPECT_EQ(paths.size(), scratches.size());
  for (const std::string& path : paths) EXPECT_TRUE(std::filesystem::exists(PathFromUtf8(path)));
}

TEST(ScratchFile, ReadingBackPastTheLimitIsRefusedAsAnyFileIs) {
  const ScratchFile scratch;
  ASSERT_FALSE(scratch.error());
  WriteByName(scratch, std::string(101, 'x'));
  const FileContents back = scratch.ReadBack({100, true});
  EXPECT_EQ(back.error, std::make_error_code(std::errc::file_too_large));
  EXPECT_EQ(back.error.message(), std::make_error_code(std::errc::file_too_large).message());
  EXPECT_EQ(back.fileSize, 101u);
  EXPECT_EQ(back.bytes.size, 0u);
  EXPECT_EQ(scratch.ReadBack({101, true}).bytes.view(), std::string(101, 'x'));
}

}  // namespace
}  // namespace habuki
