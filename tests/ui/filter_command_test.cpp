#include "comment/comment_files.h"
#include "habuki/version.h"
#include "tests/ui/window_fixture.h"

namespace habuki::ui::test {
namespace {

const std::string kIdle = "ハブキ";
const std::string kBusy = "削除中";

TEST_F(WindowTest, PressShowsBusyAndTheClickShowsTheResult) {
  form.ToggleCommentJ();  // no comment line
  Open("a.txt", kGood16iBad30i);
  view.Text2 = "old";
  form.OnFilterButtonPress();
  EXPECT_EQ(view.Command1, kBusy);
  EXPECT_EQ(view.Text2, "");
  EXPECT_TRUE(form.state().OutText.empty());
  form.OnFilterButtonClick();
  EXPECT_EQ(view.Command1, kIdle);
  EXPECT_EQ(view.Text2, kThinned16i);
  EXPECT_TRUE(view.messages.empty());
}

// Loading and thinning show the busy view while the panes fill, and take it back after,
// whether they worked or not, before any message.
TEST_F(WindowTest, BusyWhileTheWindowWorks) {
  Open("a.txt", kGood16iBad30i);
  ASSERT_FALSE(view.busyAtPaneChange.empty());
  EXPECT_TRUE(view.busyAtPaneChange.back());  // the file shown in the left pane
  EXPECT_FALSE(view.busy);
  view.busyAtPaneChange.clear();
  form.OnFilterButtonClick();
  ASSERT_FALSE(view.busyAtPaneChange.empty());
  EXPECT_TRUE(view.busyAtPaneChange.back());  // the result shown in the right pane
  EXPECT_FALSE(view.busy);

  view.option = FormatKind::Fs30i;  // fails as 30i
  MouseClick();
  EXPECT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messagesWhileBusy, 0);
  EXPECT_FALSE(view.busy);
}

// A click from the keyboard has no press: the pane keeps its result until a run replaces it,
// and after a failure it still shows the previous result, which is also what a save writes.
TEST_F(WindowTest, FailureShowsTheOneMessageAndKeepsTheLastResult) {
  form.ToggleCommentJ();
  Open("a.txt", kGood16iBad30i);
  form.OnFilterButtonClick();
  ASSERT_EQ(view.Text2, kThinned16i);
  const Cp932Text result = form.state().OutText;

  view.option = FormatKind::Fs30i;
  form.OnFilterButtonClick();
  EXPECT_EQ(view.Command1, kIdle);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text, "ハブキ出来ません。\r\n\r\nｍ(｡≧Д≦｡)ｍ");
  EXPECT_EQ(view.messages[0].title, "エラー");
  EXPECT_EQ(view.Text2, kThinned16i);       // the pane keeps the previous result
  EXPECT_EQ(form.state().OutText, result);  // and so does what a save would write
}

TEST_F(WindowTest, MouseClickOnATextWithoutRecordsLeavesThePaneEmpty) {
  Open("a.txt", "no parameters here\r\n");
  MouseClick();
  EXPECT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.Text2, "");
  EXPECT_EQ(view.Command1, kIdle);
}

TEST_F(WindowTest, NothingLoadedOrNoFormatRestoresTheCaptionSilently) {
  MouseClick();  // no option selected yet
  EXPECT_EQ(view.Command1, kIdle);
  EXPECT_EQ(view.Text2, "");

  view.option = FormatKind::Fs30i;
  MouseClick();
  EXPECT_EQ(view.Command1, kIdle);
  EXPECT_EQ(view.Text2, "");
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(WindowTest, CommentLineIsReadAtEveryClick) {
  Open("a.txt", kGood16iBad30i);
  form.ToggleCommentE();
  MouseClick();
  EXPECT_EQ(view.Text2,
            "Parameters of the parameter value 0 have been omitted.\n" + std::string(kThinned16i));
  habuki::test::WriteBytes(dir / "英語ｺﾒﾝﾄ.txt", "Zero values left out\r\n");
  MouseClick();
  EXPECT_EQ(view.Text2, "Zero values left out\n" + std::string(kThinned16i));
  MouseClick();  // twice gives the same pane
  EXPECT_EQ(view.Text2, "Zero values left out\n" + std::string(kThinned16i));

  form.ToggleCommentJ();  // the Japanese file is missing: the built-in sentence
  MouseClick();
  EXPECT_EQ(view.Text2, std::string(kBuiltInCommentJ) + "\n" + kThinned16i);
}

TEST_F(WindowTest, StartsWithItsTitleAndTheJapaneseCommentChecked) {
  EXPECT_EQ(view.title, std::string("ハブキ丸 Ver") + kVersionText);
  EXPECT_TRUE(view.mnuCommentJ);
  EXPECT_FALSE(view.mnuCommentE);
  EXPECT_EQ(view.option, std::nullopt);
  EXPECT_EQ(view.Text1, "");
  EXPECT_EQ(view.Text2, "");
}

TEST_F(WindowTest, CommentItemsCheckAtMostOne) {
  const std::pair<void (Form1::*)(), std::pair<bool, bool>> clicks[] = {
      {&Form1::ToggleCommentE, {false, true}},
      {&Form1::ToggleCommentE, {false, false}},
      {&Form1::ToggleCommentJ, {true, false}},
      {&Form1::ToggleCommentJ, {false, false}}};
  for (const auto& [click, checked] : clicks) {
    (form.*click)();
    EXPECT_EQ(std::pair(view.mnuCommentJ, view.mnuCommentE), checked);
  }
}

// After the result, the window tells of values that were left out though they are not zero,
// each kind with its count and cause; records of value 0 after the closing "%" are no loss.
TEST_F(WindowTest, LossMessageCountsOnlyValuesThatAreNotZero) {
  const std::string start = "値が０ではないのに省いたものがあります。\r\n";
  const auto afterEnd = [](int count) {
    return "\r\n終わりの「%」より後のレコード: " + std::to_string(count) +
           " 件\r\n（終わりの「%」より後ろは結果に入りません。）";
  };
  const auto unhandled = [](int count) {
    return "\r\n形式に規則のない種類のレコード: " + std::to_string(count) +
           " 件\r\n（形式の選択が違うかもしれません。）";
  };
  const std::pair<const char*, std::string> texts[] = {
      {"%\r\nN0001Q1P5\r\n%\r\nN0002Q1P0\r\nN0003Q1P000\r\nN0004Q1A1P0A2P0\r\n", ""},
      {"%\r\nN0001Q1P5\r\n%\r\nN0002Q1P0\r\nN0003Q1P7\r\nN0004Q1A1P0A2P3\r\n", start + afterEnd(2)},
      {"%\r\nN0001Q1P5\r\nN0002Q1X5\r\n%\r\nN0003Q1P0\r\nN0004Q1Z5\r\n",
       start + unhandled(1) + afterEnd(1)},
      // A double-byte character before them (ク, whose second byte is an "N"); behind a further
      // "%", each is read by itself too.
      {"%\r\nN0001Q1P5\r\n%\r\n\x83\x4E\r\nN0002Q1P0\r\n%\r\nN0003Q1P0\r\n", ""},
      {"%\r\nN0001Q1P5\r\n%\r\n\x83\x4E\r\nN0002Q1P0\r\n%\r\nN0003Q1P1\r\n", start + afterEnd(1)},
      {"%\r\nN0001Q1A1P5A2\r\n%\r\n",
       "値が０ではないのに省いたものがあります。\r\n\r\n"
       "値の印（P、M）が後にないエントリ: 1 件"}};
  for (const auto& [text, message] : texts) {
    Open("a.txt", text);
    view.option = FormatKind::Fs16i;
    view.messages.clear();
    MouseClick();
    ASSERT_NE(view.Text2, "") << text;
    ASSERT_EQ(view.messages.size(), message.empty() ? 0u : 1u) << text;
    if (!message.empty()) {
      EXPECT_EQ(view.messages[0].text, message) << text;
      EXPECT_EQ(view.messages[0].title, "ハブキ丸") << text;
    }
  }
}

// The window thins what it loaded, though another program rewrites the file meanwhile, even
// shorter than it was.
TEST_F(WindowTest, ThinsWhatWasLoadedWhenTheFileIsRewritten) {
  form.ToggleCommentJ();
  const std::string big = "%\r\n" + habuki::test::EntryRecord(900, 'A', "P5") + "%\r\n";
  Open("a.txt", big);
  habuki::test::WriteBytes(dir / "a.txt", "%\r\n");
  view.option = FormatKind::Fs30i;
  MouseClick();
  EXPECT_EQ(form.state().OutText.Bytes(), "%\n" + big.substr(3, big.size() - 6) + "%");
}

}  // namespace
}  // namespace habuki::ui::test
