// Bad inputs through the window's commands (on a scripted window system), and the cases where
// both programs are held to the same answer (see bad_inputs.h). The window must not lose what
// it had loaded and thinned before.
#include "tests/integration/bad_inputs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"
#include "tests/ui/fake_window_system.h"
#include "tests/ui/form1_controls.h"
#include "ui/drop_pane.h"
#include "ui/form1.h"

namespace habuki::test::bad_inputs {
namespace {

class BadInputs : public ::testing::TestWithParam<BadInput> {
 protected:
  TempDir dir;
};

TEST_P(BadInputs, WindowShowsTheMessageOrNothingAndKeepsTheLastResult) {
  const BadInput& input = GetParam();
  ui::test::FakeWindowSystem system(dir.path());
  ui::Form1 form(system);
  const ui::test::Form1Controls controls(form);
  form.ToggleCommentJ();
  WriteBytes(dir / "good.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  form.OpenFile(QString::fromStdString((dir / "good.txt").string()));
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  const Cp932Text previous = form.state().OutText;

  const QString shown = controls.Text2->toPlainText();
  system.openAnswers.push_back(QString::fromStdString(input.make(dir).string()));
  form.OnOpen();
  if (input.outcome == Outcome::CannotLoad) {
    // The window says so and keeps the text, the format and the result it showed.
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_TRUE(system.messages[0].text.startsWith(QString::fromUtf8("開けませんでした。")));
    EXPECT_EQ(controls.Text1->toPlainText(), QString("%\nN00001Q1L1P5\n%\n"));
    EXPECT_TRUE(controls.Option1->isChecked());
    EXPECT_EQ(controls.Text2->toPlainText(), shown);
    EXPECT_EQ(form.state().OutText, previous);  // a save still writes the result shown
    return;
  }
  EXPECT_FALSE(controls.Text1->toPlainText().isEmpty());
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(controls.Command1->text(), QString::fromUtf8("ハブキ"));
  if (input.outcome == Outcome::Thinned) {
    // Values lost without being zero are told of after the result, as on the command line.
    ASSERT_EQ(system.messages.size(), input.cliMessage.empty() ? 0u : 1u);
    if (!input.cliMessage.empty()) {
      EXPECT_TRUE(system.messages[0].text.startsWith(QString::fromUtf8("値が０ではないのに")));
    }
    EXPECT_FALSE(controls.Text2->toPlainText().isEmpty());
    // Both programs give the same bytes.
    input.check(std::string(form.state().OutText.Bytes()) + "\r\n");
  } else {
    EXPECT_EQ(system.messages.size(), 1u);
    EXPECT_TRUE(controls.Text2->toPlainText().isEmpty());
    EXPECT_TRUE(form.state().OutText.empty());  // no result on screen, none for a save
  }
}

INSTANTIATE_TEST_SUITE_P(Table, BadInputs, ::testing::ValuesIn(Table()), NameOf);

// A line before the "%" line: the window's guess, which the user sees and may change, takes the
// text for PMC and says that records were dropped; the command line guesses from the "%" line
// and keeps both records.
TEST(BadInputs, ALineBeforeThePercentLineIsGuessedByEachProgramsRule) {
  TempDir dir;
  WriteBytes(dir / "input.txt", "BACKUP 100%\r\n%\r\nN00001Q1L1P5\r\nN00002Q1P7\r\n%\r\n");
  const test::HabukiRun run = test::Habuki{}.Run({"-c", "none", (dir / "input.txt").string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("N00001Q1L1P5\r\nN00002Q1P7\r\n%"), std::string::npos) << run.out;

  ui::test::FakeWindowSystem system(dir.path());
  ui::Form1 form(system);
  const ui::test::Form1Controls controls(form);
  form.OpenFile(QString::fromStdString((dir / "input.txt").string()));
  EXPECT_TRUE(controls.Option3->isChecked());  // PMC
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_TRUE(system.messages[0].text.startsWith(QString::fromUtf8("値が０ではないのに")));
  EXPECT_TRUE(form.state().OutText.Bytes().ends_with("N00002Q1P7\r\n%"));
}

const std::string kOneRecord = "%\r\nN00001Q1L1P5\r\n%\r\n";

// Outputs that cannot be written: the command line says so with status 3, the window with its
// message and the reason; neither leaves a temporary file behind.
TEST(BadOutputs, EachProgramSaysItCouldNotWrite) {
  TempDir dir;
  WriteBytes(dir / "a.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  for (const auto& [target, reason] :
       {std::pair{dir / "missing" / "out.txt", "No such file or directory"},
        std::pair{dir.path(), "Is a directory"},
        std::pair{std::filesystem::path("/dev/full"), "No space left on device"}}) {
    const test::HabukiRun run =
        test::Habuki{"", false, dir.path()}.Run({"-o", target.string(), (dir / "a.txt").string()});
    EXPECT_EQ(run.status, 3) << target;
    EXPECT_NE(run.err.find(std::string("cannot write: ") + reason), std::string::npos) << run.err;

    ui::test::FakeWindowSystem system(dir.path());
    ui::Form1 form(system);
    const ui::test::Form1Controls controls(form);
    form.OpenFile(QString::fromStdString((dir / "a.txt").string()));
    QTest::mouseClick(controls.Command1, Qt::LeftButton);
    system.saveAnswers.push_back(QString::fromStdString(target.string()));
    form.OnSave();
    ASSERT_EQ(system.messages.size(), 1u) << target;
    EXPECT_EQ(system.messages[0].text,
              QString::fromUtf8("保存出来ませんでした。\r\n\r\n") + QString::fromUtf8(reason));
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

  ui::test::FakeWindowSystem system(dir.path());
  ui::Form1 form(system);
  const ui::test::Form1Controls controls(form);
  WriteBytes(dir / "a.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  form.OpenFile(QString::fromStdString((dir / "a.txt").string()));
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_TRUE(controls.Text2->toPlainText().startsWith(
      QString::fromUtf8("パラメータ値０のパラメータは省いてあります。\n%")));
  form.close();
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "ｺﾒﾝﾄ.txt"));
}

}  // namespace
}  // namespace habuki::test::bad_inputs
