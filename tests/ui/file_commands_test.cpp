#include <functional>

#include "comment/comment_files.h"
#include "core/io/path_text.h"
#include "core/text/size_limits.h"
#include "habuki/version.h"
#include "tests/ui/window_fixture.h"
#include "ui/window_texts.h"

namespace habuki::ui::test {
namespace {

bool Exists(const std::filesystem::path& file) { return std::filesystem::exists(file); }

TEST_F(WindowTest, OpenShowsTheFileAndSelectsItsFormat) {
  Open("pmc.txt", "%\r\n(PMC=0I-F)\r\nN600000 P1\r\n%\r\n");
  EXPECT_EQ(view.Text1, "%\r\n(PMC=0I-F)\r\nN600000 P1\r\n%\r\n");
  EXPECT_EQ(view.option, FormatKind::Pmc);
  Open("30i.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  EXPECT_EQ(view.option, FormatKind::Fs30i);
  Open("16i.txt", kGood16iBad30i);
  EXPECT_EQ(view.option, FormatKind::Fs16i);
  EXPECT_EQ(form.DialogSettingsCDG().fileName, dir / "16i.txt");
  EXPECT_EQ(form.DialogSettingsCDG().fileTypes,
            "ﾊﾟﾗﾒｰﾀﾌｧｲﾙ(*.PRM;*.PMC;*.TXT;*.DAT)|*.PRM;*.PMC;*.TXT;*.DAT|全てのﾌｧｲﾙ(*.*)|*.*");
}

TEST_F(WindowTest, FileNamedAtStartOpensAsTheOpenCommandWould) {
  habuki::test::WriteBytes(dir / "start.txt", kGood16iBad30i);
  form.OpenFile(dir / "start.txt");
  EXPECT_EQ(view.Text1, kGood16iBad30i);
  EXPECT_EQ(view.option, FormatKind::Fs16i);
  EXPECT_TRUE(view.openSettings.empty());
  form.OnOpen();
  ASSERT_EQ(view.openSettings.size(), 1u);
  EXPECT_EQ(view.openSettings[0].fileName, dir / "start.txt");  // and the next dialog offers it
}

TEST_F(WindowTest, CancelledOpenLeavesThePanes) {
  Open("a.txt", kGood16iBad30i);
  MouseClick();
  const std::string right = view.Text2;
  ASSERT_TRUE(right.ends_with(kThinned16i));
  view.openAnswers.push_back(std::nullopt);
  form.OnOpen();
  EXPECT_EQ(view.Text1, kGood16iBad30i);
  EXPECT_EQ(view.Text2, right);
}

// A file that cannot be loaded, whichever way it comes, is named with the reason, and the window
// keeps what it showed: the text, its result and the format.
TEST_F(WindowTest, FailedOpenSaysWhyAndKeepsEverything) {
  Open("a.txt", kGood16iBad30i);
  MouseClick();
  const std::string right = view.Text2;
  ASSERT_TRUE(right.ends_with(kThinned16i));
  const FilterState before = form.state();
  habuki::test::WriteBytes(dir / "empty.txt", "");
  habuki::test::WriteBytes(dir / "large.txt", "");
  std::filesystem::resize_file(dir / "large.txt", kParamFileLimit + 1);  // sparse: no room taken
  const std::pair<const char*, std::string> files[] = {
      {"missing.txt", "ファイルを読めません: " + habuki::test::WhyNotRead(dir / "missing.txt")},
      {"empty.txt", "ファイルが空です。"},
      {"large.txt", "ファイルが大きすぎます（上限は 256 MiB）。"}};
  const std::pair<const char*, std::function<void(const std::filesystem::path&)>> ways[] = {
      {"open",
       [&](const std::filesystem::path& file) {
         view.openAnswers.push_back(file);
         form.OnOpen();
       }},
      {"drop", [&](const std::filesystem::path& file) { form.OnDropOnLeftPane({file}); }},
      {"named at start", [&](const std::filesystem::path& file) { form.OpenFile(file); }}};
  for (const auto& [way, load] : ways) {
    for (const auto& [name, reason] : files) {
      view.messages.clear();
      load(dir / name);
      SCOPED_TRACE(std::string(way) + " " + name);
      ASSERT_EQ(view.messages.size(), 1u);
      EXPECT_EQ(view.messages[0].text,
                "開けませんでした。\r\n\r\n" + (dir / name).string() + "\r\n" + reason);
      EXPECT_EQ(view.messages[0].title, "ハブキ丸");
      EXPECT_EQ(view.messagesWhileBusy, 0);
      EXPECT_EQ(view.Text1, kGood16iBad30i);
      EXPECT_EQ(view.Text2, right);
      EXPECT_EQ(form.state().AllText, before.AllText);
      EXPECT_EQ(form.state().OutText, before.OutText);
      EXPECT_EQ(view.option, FormatKind::Fs16i);
    }
  }
}

// A file name is shown in a message with its control characters escaped.
TEST_F(WindowTest, FailedOpenEscapesControlsInTheName) {
  form.OpenFile(dir / "a\x1b[2Jb.txt");
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_NE(view.messages[0].text.find("a\\x1B[2Jb.txt"), std::string::npos)
      << view.messages[0].text;
}

TEST_F(WindowTest, DropLoadsTheFirstFileOnlyAndSetsTheTitleAgain) {
  habuki::test::WriteBytes(dir / "first.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  habuki::test::WriteBytes(dir / "second.txt", kGood16iBad30i);
  Open("a.txt", kGood16iBad30i);
  MouseClick();
  view.title = "changed";
  form.OnDropOnLeftPane({dir / "first.txt", dir / "second.txt"});
  EXPECT_EQ(view.Text1, "%\r\nN00001Q1L1P5\r\n%\r\n");
  EXPECT_EQ(view.Text2, "");
  EXPECT_EQ(view.option, FormatKind::Fs30i);
  EXPECT_EQ(view.title, std::string("ハブキ丸 Ver") + kVersionText);
  form.OnDropOnLeftPane({});  // a drop without files does nothing more
  EXPECT_EQ(view.Text1, "%\r\nN00001Q1L1P5\r\n%\r\n");
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(WindowTest, SaveWithAnEmptyRightPaneShowsNoDialog) {
  form.OnSave();
  EXPECT_TRUE(view.saveSettings.empty());
}

// Only the result on screen is saved: after another file is loaded, text is typed into an
// empty pane, the pane is emptied, or a run fails, the save says there is nothing to save and
// writes nothing.
TEST_F(WindowTest, SaveWithoutAResultOnScreenWritesNothing) {
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"another file opened",
       [&] {
         MouseClick();
         Open("b.txt", kGood16iBad30i);
       }},
      {"another file dropped",
       [&] {
         MouseClick();
         habuki::test::WriteBytes(dir / "b.txt", kGood16iBad30i);
         form.OnDropOnLeftPane({dir / "b.txt"});
       }},
      {"text typed into the empty pane", [&] { view.Text2 = "N0001Q1P5"; }},
      {"the result deleted from the pane",
       [&] {
         MouseClick();
         view.Text2.clear();
       }},
      {"the run failed", [&] {
         MouseClick();
         view.option = FormatKind::Fs30i;
         MouseClick();
       }}};
  for (const auto& [name, prepare] : cases) {
    Open("a.txt", kGood16iBad30i);
    prepare();
    view.messages.clear();
    view.saveAnswers = {dir / "out.txt"};
    form.OnSave();
    SCOPED_TRACE(name);
    EXPECT_TRUE(view.saveSettings.empty());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "保存する結果がありません。");
    EXPECT_EQ(view.messages[0].title, "ハブキ丸");
    EXPECT_FALSE(Exists(dir / "out.txt"));
    if (std::string(name) != "the result deleted from the pane") {
      EXPECT_TRUE(form.state().OutText.empty());
    }
  }
}

TEST_F(WindowTest, SaveWritesTheResultNotTheEditsAndConfirms) {
  form.ToggleCommentJ();
  Open("a.txt", kGood16iBad30i);
  MouseClick();
  view.Text2 += "typed by the user";
  view.saveAnswers.push_back(dir / "out.txt");
  form.OnSave();
  ASSERT_EQ(view.saveSettings.size(), 1u);
  EXPECT_EQ(view.saveSettings[0].options, (DialogOptions{true, true, true, true}));
  EXPECT_EQ(habuki::test::ReadBytes(dir / "out.txt"), "%\nN0001Q1P5\r\nN0002Q1AM5P1\r\n%\r\n");
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text, "保存しました。");
  EXPECT_EQ(view.messages[0].title, "ハブキ丸");
}

// The message names the file, then why in the system's words (Windows has its own for a
// missing folder).
TEST_F(WindowTest, FailedSaveSaysWhatAndWhyAndLeavesTheOldFile) {
  Open("a.txt", kGood16iBad30i);
  MouseClick();
  const std::filesystem::path targets[] = {dir / "no" / "out.txt", dir.path()};
  for (const std::filesystem::path& target : targets) view.saveAnswers.push_back(target);
  form.OnSave();
  form.OnSave();
  ASSERT_EQ(view.messages.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const std::string start = "保存出来ませんでした。\r\n\r\n" + Utf8Of(targets[i]) + "\r\n";
    EXPECT_TRUE(view.messages[i].text.starts_with(start)) << view.messages[i].text;
    EXPECT_GT(view.messages[i].text.size(), start.size()) << "no reason given";
    EXPECT_EQ(view.messages[i].title, "ハブキ丸");
  }
  EXPECT_TRUE(view.messages[1].text.ends_with("\r\nIs a directory"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
}

TEST_F(WindowTest, CancelledSaveShowsAndWritesNothing) {
  Open("a.txt", kGood16iBad30i);
  MouseClick();
  view.saveAnswers.push_back(std::nullopt);
  form.OnSave();
  EXPECT_EQ(view.saveSettings.size(), 1u);
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(habuki::test::EntriesIn(dir.path()), 1u);
}

// Taking a loaded file's name would replace a backup with its thinned text, under that name or
// any other name of the same file: the save refuses every file loaded in the session, and its
// dialog offers none of them, only their folder.
TEST_F(WindowTest, SaveRefusesEveryLoadedBackupAndOffersNoName) {
  const std::filesystem::path first = Open("a.txt", kGood16iBad30i);
  habuki::test::WriteBytes(dir / "b.txt", kGood16iBad30i);
  form.OnDropOnLeftPane({dir / "b.txt"});
  MouseClick();
  std::filesystem::create_hard_link(dir / "a.txt", dir / "link.txt");  // another name of it
  const std::filesystem::path targets[] = {first, dir / "b.txt", dir / "link.txt"};
  for (const std::filesystem::path& target : targets) {
    view.saveAnswers.push_back(target);
    form.OnSave();
  }
  ASSERT_EQ(view.messages.size(), std::size(targets));
  for (std::size_t i = 0; i < std::size(targets); ++i) {
    EXPECT_EQ(view.messages[i].text, "保存出来ませんでした。\r\n\r\n" + Utf8Of(targets[i]) +
                                         "\r\n" + kSaveOverOpenedBackup);
  }
  for (const DialogSettings& offered : view.saveSettings) {
    EXPECT_EQ(offered.folder, dir.path());
    EXPECT_EQ(offered.fileName, std::filesystem::path());
  }
  EXPECT_EQ(habuki::test::ReadBytes(dir / "a.txt"), kGood16iBad30i);
  EXPECT_EQ(habuki::test::ReadBytes(dir / "b.txt"), kGood16iBad30i);
}

// The file dialogs start in the shown file's folder, else in the user's home, whatever folder
// the view remembers; the open dialog offers the shown file.
TEST_F(WindowTest, DialogsStartInTheShownFilesFolderElseHome) {
  form.OnOpen();
  std::filesystem::create_directory(dir / "sub");
  const std::filesystem::path file = Open("sub/a.txt", kGood16iBad30i);
  form.OnOpen();
  ASSERT_EQ(view.openSettings.size(), 3u);
  EXPECT_EQ(view.openSettings[0].folder, view.environment.homeFolder);
  EXPECT_EQ(view.openSettings[0].fileName, std::filesystem::path());
  EXPECT_EQ(view.openSettings[2].folder, dir / "sub");
  EXPECT_EQ(view.openSettings[2].fileName, file);
}

TEST_F(WindowTest, ClosingWritesTheFallbackCommentOnlyWhenOneWasUsed) {
  Open("a.txt", kGood16iBad30i);
  form.OnWindowClosing();
  EXPECT_FALSE(Exists(dir / "ｺﾒﾝﾄ.txt"));  // no comment loaded yet

  MouseClick();  // 日本語ｺﾒﾝﾄ.txt is missing
  form.OnWindowClosing();
  EXPECT_EQ(habuki::test::ReadBytes(dir / "ｺﾒﾝﾄ.txt"), std::string(kBuiltInCommentJ) + "\r\n");
}

TEST_F(WindowTest, ClosingSaysWhyTheCommentFileCouldNotBeWritten) {
  Open("a.txt", kGood16iBad30i);
  MouseClick();
  habuki::test::WriteBytes(dir / "file", "");
  view.environment.configFolder = dir / "file" / "habuki";
  form.OnWindowClosing();
  ASSERT_EQ(view.closingProblems.size(), 1u);
  EXPECT_NE(view.closingProblems[0].find("ｺﾒﾝﾄ.txt: cannot write: Not a directory"),
            std::string::npos);
}

TEST_F(WindowTest, ExitEndsAtOnceWithoutTheCloseTimeWrite) {
  Open("a.txt", kGood16iBad30i);
  MouseClick();
  ASSERT_TRUE(form.state().CommentMissing);
  form.OnExit();
  EXPECT_EQ(view.endProgramCalls, 1);
  form.OnWindowClosing();  // as the application's shutdown may close its windows
  EXPECT_FALSE(Exists(dir / "ｺﾒﾝﾄ.txt"));
}

}  // namespace
}  // namespace habuki::ui::test
