// Bad inputs through the window's commands (Form1 on a scripted view), and the cases where
// both programs are held to the same answer (see bad_inputs.h). The window must not lose what
// it had loaded and thinned before.
#include "tests/integration/bad_inputs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "comment/comment_files.h"
#include "core/io/file_writing.h"
#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"
#include "tests/ui/scripted_view.h"
#include "ui/form1.h"

namespace habuki::test::bad_inputs {
namespace {

// Command1 clicked with the mouse: the press, then the click.
void Click(ui::Form1& form) {
  form.OnFilterButtonPress();
  form.OnFilterButtonClick();
}

class BadInputs : public ::testing::TestWithParam<BadInput> {
 protected:
  TempDir dir;
};

TEST_P(BadInputs, WindowShowsTheMessageOrNothingAndKeepsTheLastResult) {
  const BadInput& input = GetParam();
  ui::test::ScriptedView view(dir.path());
  ui::Form1 form(view);
  form.ToggleCommentJ();
  WriteBytes(dir / "good.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  form.OpenFile(dir / "good.txt");
  Click(form);
  const Cp932Text previous = form.state().OutText;

  const std::string shown = view.Text2;
  view.openAnswers.push_back(input.make(dir));
  form.OnOpen();
  if (input.outcome == Outcome::CannotLoad) {
    // The window says so and keeps the text, the format and the result it showed.
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_TRUE(view.messages[0].text.starts_with("開けませんでした。"));
    EXPECT_EQ(view.Text1, "%\r\nN00001Q1L1P5\r\n%\r\n");
    EXPECT_EQ(view.option, FormatKind::Fs30i);
    EXPECT_EQ(view.Text2, shown);
    EXPECT_EQ(form.state().OutText, previous);  // a save still writes the result shown
    return;
  }
  EXPECT_NE(view.Text1, "");
  Click(form);
  EXPECT_EQ(view.Command1, "ハブキ");
  if (input.outcome == Outcome::Thinned) {
    // Values lost without being zero are told of after the result, as on the command line.
    ASSERT_EQ(view.messages.size(), input.cliMessage.empty() ? 0u : 1u);
    if (!input.cliMessage.empty()) {
      EXPECT_TRUE(view.messages[0].text.starts_with("値が０ではないのに"));
    }
    EXPECT_NE(view.Text2, "");
    // Both programs give the same bytes.
    input.check(std::string(form.state().OutText.Bytes()) + "\r\n");
  } else {
    EXPECT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.Text2, "");
    EXPECT_TRUE(form.state().OutText.empty());  // no result on screen, none for a save
  }
}

INSTANTIATE_TEST_SUITE_P(Table, BadInputs, ::testing::ValuesIn(Table()), NameOf);

// A line before the "%" line: the window's guess, which the user sees and may change, takes the
// text for PMC and says that records were dropped; the command line reads the format from the
// record heads and keeps both records.
TEST(BadInputs, ALineBeforeThePercentLineIsGuessedByEachProgramsRule) {
  TempDir dir;
  WriteBytes(dir / "input.txt", "BACKUP 100%\r\n%\r\nN00001Q1L1P5\r\nN00002Q1P7\r\n%\r\n");
  const test::HabukiRun run = test::Habuki{}.Run({"-c", "none", (dir / "input.txt").string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("N00001Q1L1P5\r\nN00002Q1P7\r\n%"), std::string::npos) << run.out;

  ui::test::ScriptedView view(dir.path());
  ui::Form1 form(view);
  form.OpenFile(dir / "input.txt");
  EXPECT_EQ(view.option, FormatKind::Pmc);
  Click(form);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_TRUE(view.messages[0].text.starts_with("値が０ではないのに"));
  EXPECT_TRUE(form.state().OutText.Bytes().ends_with("N00002Q1P7\r\n%"));
}

const std::string kOneRecord = "%\r\nN00001Q1L1P5\r\n%\r\n";

// Outputs that cannot be written: the command line says so with status 3, the window with its
// message, the file's name and the system's reason; neither leaves a temporary file behind.
TEST(BadOutputs, EachProgramSaysItCouldNotWrite) {
  TempDir dir;
  WriteBytes(dir / "a.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  for (const auto& [target, failure] :
       {std::pair{dir / "missing" / "out.txt", std::errc::no_such_file_or_directory},
        std::pair{dir.path(), std::errc::is_a_directory},
        std::pair{std::filesystem::path("/dev/full"), std::errc::no_space_on_device}}) {
    const std::error_code error = WriteFileAtomically(target, "x");
    EXPECT_EQ(error, failure) << target;
    const std::string reason = error.message();
    const test::HabukiRun run =
        test::Habuki{"", false, dir.path()}.Run({"-o", target.string(), (dir / "a.txt").string()});
    EXPECT_EQ(run.status, 3) << target;
    EXPECT_NE(run.err.find(target.string() + ": cannot write: " + reason), std::string::npos)
        << run.err;

    ui::test::ScriptedView view(dir.path());
    ui::Form1 form(view);
    form.OpenFile(dir / "a.txt");
    Click(form);
    view.saveAnswers.push_back(target);
    form.OnSave();
    ASSERT_EQ(view.messages.size(), 1u) << target;
    EXPECT_EQ(view.messages[0].text,
              "保存出来ませんでした。\r\n\r\n" + target.string() + "\r\n" + reason);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// A comment file that cannot be read is replaced by the built-in sentence in both programs.
TEST(BadCommentFiles, BuiltInSentenceTakesTheirPlace) {
  TempDir dir;
  std::filesystem::create_directory(dir / "英語ｺﾒﾝﾄ.txt");
  std::filesystem::create_directory(dir / "日本語ｺﾒﾝﾄ.txt");
  const test::HabukiRun run = test::Habuki{kOneRecord, false, dir.path()}.Run({"-c", "en"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "Parameters of the parameter value 0 have been omitted.\n%\nN00001Q1L1P5\r\n%\r\n");

  ui::test::ScriptedView view(dir.path());
  ui::Form1 form(view);
  WriteBytes(dir / "a.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  form.OpenFile(dir / "a.txt");
  Click(form);
  EXPECT_TRUE(view.Text2.starts_with(std::string(kBuiltInCommentJ) + "\n%"));
  form.OnWindowClosing();
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "ｺﾒﾝﾄ.txt"));
}

}  // namespace
}  // namespace habuki::test::bad_inputs
