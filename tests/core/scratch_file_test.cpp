#include "core/io/scratch_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/io/path_text.h"

namespace habuki {
namespace {

constexpr ReadLimit kAnySize{std::uint64_t{1} << 20, true};

// What a library that only takes a file's name does: opens it by that name and writes it over.
void WriteByName(const ScratchFile& scratch, const std::string& bytes) {
  std::ofstream out(PathFromUtf8(scratch.Utf8Path()), std::ios::binary | std::ios::trunc);
  out << bytes;
  ASSERT_TRUE(out.flush()) << scratch.Utf8Path();
}

// The folder is made in the temporary folder, and goes with all in it.
TEST(ScratchFile, ReadsBackWhatWasWrittenByNameAndIsGoneAfterwards) {
  std::filesystem::path place;
  {
    const ScratchFile scratch;
    ASSERT_FALSE(scratch.error()) << scratch.error().message();
    place = PathFromUtf8(scratch.Place());
    // Compared as written: Windows ends the temporary folder's name with a separator.
    EXPECT_EQ(place.parent_path() / "", std::filesystem::temp_directory_path() / "");
    EXPECT_TRUE(std::filesystem::is_directory(PathFromUtf8(scratch.Utf8Folder())));
    EXPECT_EQ(std::filesystem::file_size(PathFromUtf8(scratch.Utf8Path())), 0u);
    // What the library leaves in the folder goes with it.
    std::ofstream(PathFromUtf8(scratch.Utf8Folder()) / "left-over") << "x";
    // Read twice, the second written shorter: each reading starts at the file's start.
    for (const std::string& bytes :
         {std::string("PK\x03\x04 workbook\0bytes", 20), std::string("x")}) {
      WriteByName(scratch, bytes);
      const FileContents back = scratch.ReadBack(kAnySize);
      ASSERT_FALSE(back.error) << back.error.message();
      EXPECT_EQ(back.bytes.view(), bytes);
    }
  }
  EXPECT_FALSE(std::filesystem::exists(place));
}

TEST(ScratchFile, EachIsANewFileOfItsOwn) {
  std::vector<std::unique_ptr<ScratchFile>> scratches;
  std::set<std::string> paths;
  for (int i = 0; i < 20; ++i) {
    scratches.push_back(std::make_unique<ScratchFile>());
    ASSERT_FALSE(scratches.back()->error());
    paths.insert(scratches.back()->Place());
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
