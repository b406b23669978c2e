#include <gtest/gtest.h>

#include "comment/comment_choice.h"
#include "comment/comment_files.h"
#include "comment/comment_folders.h"
#include "core/filter/run_filter.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

TEST(CommentChoice, StartsJapaneseAndAtMostOneIsChecked) {
  CommentChoice choice;
  EXPECT_TRUE(choice.japanese);
  EXPECT_FALSE(choice.english);
  ToggleCommentE(choice);  // unchecked item: checks it, clears the other
  EXPECT_FALSE(choice.japanese);
  EXPECT_TRUE(choice.english);
  ToggleCommentE(choice);  // checked item: clears it, the other stays clear
  EXPECT_FALSE(choice.japanese);
  EXPECT_FALSE(choice.english);
  EXPECT_FALSE(choice.WithComment());
  ToggleCommentJ(choice);
  EXPECT_TRUE(choice.japanese);
  EXPECT_FALSE(choice.english);
}

TEST(BuiltInComments, AreTheSentencesInCp932) {
  EXPECT_EQ(kBuiltInCommentJ, test::Utf8ToCp932("パラメータ値０のパラメータは省いてあります。"));
  EXPECT_EQ(kBuiltInCommentE, "Parameters of the parameter value 0 have been omitted.");
}

class CommentFiles : public ::testing::Test {
 protected:
  test::TempDir dir;
  FilterState state;
};

TEST_F(CommentFiles, LastLineOfTheFileIsTheComment) {
  const std::string japanese = test::Utf8ToCp932("ハブキ済み");
  test::WriteBytes(dir / "日本語ｺﾒﾝﾄ.txt", "first\r\nsecond\r\n" + japanese + "\r\n");
  LoadCommentJ(state, {dir.path()});
  EXPECT_EQ(state.CommentText.Bytes(), japanese);
  EXPECT_FALSE(state.CommentMissing);
}

TEST_F(CommentFiles, EmptyFileGivesAnEmptyComment) {
  test::WriteBytes(dir / "英語ｺﾒﾝﾄ.txt", "");
  LoadCommentE(state, {dir.path()});
  EXPECT_TRUE(state.CommentText.empty());
  EXPECT_FALSE(state.CommentMissing);
  state.AllText = Cp932Text::FromBytes("%\r\nNxxxxxxxP1\r\n%\r\n");
  ASSERT_TRUE(RunFilter(state, FormatKind::Fs30i, true).produced);
  EXPECT_EQ(state.OutText.Bytes(), "\n%\nNxxxxxxxP1\r\n%");
}

TEST_F(CommentFiles, LfOnlyFileIsOneLine) {
  test::WriteBytes(dir / "英語ｺﾒﾝﾄ.txt", "one\ntwo\n");
  LoadCommentE(state, {dir.path()});
  EXPECT_EQ(state.CommentText.Bytes(), "one\ntwo\n");
}

TEST_F(CommentFiles, MissingFileFallsBackAndIsWrittenAtClose) {
  LoadCommentE(state, {dir.path()});
  EXPECT_EQ(state.CommentText.Bytes(), kBuiltInCommentE);
  EXPECT_TRUE(state.CommentMissing);
  ASSERT_FALSE(WriteCommentFileAtClose(state, dir.path()));
  EXPECT_EQ(test::ReadBytes(dir / "ｺﾒﾝﾄ.txt"), std::string(kBuiltInCommentE) + "\r\n");

  LoadCommentJ(state, {dir.path()});
  EXPECT_EQ(state.CommentText.Bytes(), kBuiltInCommentJ);
}

TEST_F(CommentFiles, UnreadableFileFallsBackLikeAMissingOne) {
  std::filesystem::create_directory(dir / "日本語ｺﾒﾝﾄ.txt");
  LoadCommentJ(state, {dir.path()});
  EXPECT_EQ(state.CommentText.Bytes(), kBuiltInCommentJ);
  EXPECT_TRUE(state.CommentMissing);
}

TEST_F(CommentFiles, SuccessfulLoadAfterAFailedOneWritesNothingAtClose) {
  LoadCommentJ(state, {dir.path()});
  test::WriteBytes(dir / "日本語ｺﾒﾝﾄ.txt", "ok");
  LoadCommentJ(state, {dir.path()});
  EXPECT_FALSE(state.CommentMissing);
  ASSERT_FALSE(WriteCommentFileAtClose(state, dir.path()));
  EXPECT_FALSE(std::filesystem::exists(dir / "ｺﾒﾝﾄ.txt"));
}

TEST_F(CommentFiles, CloseTimeWriteMakesTheFolderOrSaysWhyNot) {
  LoadCommentJ(state, {dir.path()});
  ASSERT_FALSE(WriteCommentFileAtClose(state, dir / "config" / "habuki"));
  EXPECT_TRUE(std::filesystem::exists(dir / "config/habuki/ｺﾒﾝﾄ.txt"));
  test::WriteBytes(dir / "file", "");
  EXPECT_EQ(WriteCommentFileAtClose(state, dir / "file" / "habuki"), std::errc::not_a_directory);
}

// The user's folder comes first; a file that is missing or cannot be read there leaves the
// program's folder to be asked.
TEST_F(CommentFiles, TheFirstFolderWithAReadableFileWins) {
  for (const char* folder : {"user", "program"}) std::filesystem::create_directory(dir / folder);
  const std::vector<std::filesystem::path> folders = CommentFolders(dir / "user", dir / "program");
  test::WriteBytes(dir / "program/英語ｺﾒﾝﾄ.txt", "beside the program");
  LoadCommentE(state, folders);
  EXPECT_EQ(state.CommentText.Bytes(), "beside the program");
  std::filesystem::create_directory(dir / "user/英語ｺﾒﾝﾄ.txt");
  LoadCommentE(state, folders);
  EXPECT_EQ(state.CommentText.Bytes(), "beside the program");
  std::filesystem::remove(dir / "user/英語ｺﾒﾝﾄ.txt");
  test::WriteBytes(dir / "user/英語ｺﾒﾝﾄ.txt", "the user's own");
  LoadCommentE(state, folders);
  EXPECT_EQ(state.CommentText.Bytes(), "the user's own");
  EXPECT_EQ(CommentFolders({}, dir / "program"),
            std::vector<std::filesystem::path>{dir / "program"});
}

}  // namespace
}  // namespace habuki
