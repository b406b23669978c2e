// Every kind of bad input a user can hand habuki, through both programs: the command line and
// the window's commands (on a scripted window system). Each must end in a clear error, the
// specified message or silence, never a crash, a partial output file, or the loss of what the
// window had loaded and thinned before.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "bench/param_generator.h"
#include "tests/support/fake_window_system.h"
#include "tests/support/form1_controls.h"
#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"
#include "ui/drop_pane.h"
#include "ui/form1.h"

namespace habuki {
namespace {

using habuki::test::TempDir;
using habuki::test::WriteBytes;

enum class Outcome { Thinned, FilterFails, CannotLoad };

struct BadInput {
  std::string name;
  std::function<std::filesystem::path(const TempDir&)> make;  // writes the input, gives its path
  Outcome outcome;
  int cliStatus;
  std::string cliMessage;  // part of what the command line says on standard error
  std::function<void(const std::string& result)> check{};  // for inputs that are thinned
};

// The bytes are made only when the test runs: each test runs in a process of its own.
std::function<std::filesystem::path(const TempDir&)> File(std::function<std::string()> bytes) {
  return [bytes = std::move(bytes)](const TempDir& dir) {
    WriteBytes(dir / "input.txt", bytes());
    return dir / "input.txt";
  };
}

std::function<std::filesystem::path(const TempDir&)> File(std::string bytes) {
  return File([bytes = std::move(bytes)] { return bytes; });
}

std::string Entries(int count) { return "%\r\n" + test::EntryRecord(count, 'L', "P1") + "%\r\n"; }

std::string RandomBytes(std::size_t size) {
  std::string bytes(size, '\0');
  unsigned state = 12345;
  for (char& byte : bytes) byte = static_cast<char>((state = state * 1103515245 + 12345) >> 16);
  return bytes;
}

auto Contains(std::string part) {
  return [part = std::move(part)](const std::string& result) {
    EXPECT_NE(result.find(part), std::string::npos) << part;
  };
}

// A record whose head holds a pair, bytes that are no CP932, NUL, 0x1A and a lone lead byte.
const std::string kOdd(
    "N\x85\x40\xFD\x00\x1A\x81"
    "01P5\r\n",
    13);

std::vector<BadInput> Table() {
  return {
      {"empty file", File(""), Outcome::CannotLoad, 3, "file is empty"},
      {"a directory", [](const TempDir& dir) { return dir.path(); }, Outcome::CannotLoad, 3,
       "cannot read: Is a directory"},
      {"a missing file", [](const TempDir& dir) { return dir / "missing.txt"; },
       Outcome::CannotLoad, 3, "cannot read: No such file or directory"},
      {"random binary bytes", File(RandomBytes(4096)), Outcome::Thinned, 0,
       "dropped because format pmc has no rule for their kind",
       [](const std::string& result) { EXPECT_EQ(result.substr(result.size() - 3), "%\r\n"); }},
      {"NUL bytes", File(std::string(100, '\0')), Outcome::FilterFails, 1, "no record"},
      {"invalid CP932 in a kept record", File("%\r\n" + kOdd + "N00002Q1L1P0\r\n%\r\n"),
       Outcome::Thinned, 0, "",
       [](const std::string& result) { EXPECT_EQ(result, "%\n" + kOdd + "%\r\n"); }},
      {"LF line ends", File("%\nN00001Q1L1P5\nN00002Q1P0\n%\n"), Outcome::Thinned, 0, "",
       [](const std::string& result) { EXPECT_EQ(result, "%\nN00001Q1L1P5\n%\r\n"); }},
      {"CR line ends", File("%\rN00001Q1L1P5\rN00002Q1P0\r%\r"), Outcome::Thinned, 0, "",
       [](const std::string& result) { EXPECT_EQ(result, "%\nN00001Q1L1P5\r\n%\r\n"); }},
      {"no N", File("%\r\nthis is no parameter file\r\n%\r\n"), Outcome::FilterFails, 1,
       ":1: no record"},
      {"no %", File("N00001Q1L1P5\r\nN00002Q1P7\r\n"), Outcome::Thinned, 0, "",
       Contains("N00002Q1P7\r\n%")},
      {"text after the closing %", File("%\r\nN00001Q1L1P5\r\n%\r\nNOTE 1\r\n"), Outcome::Thinned,
       0,
       "1 record(s) dropped because they follow the closing \"%\", not because they are zero; "
       "first at line 4 (NOTE 1)",
       [](const std::string& result) { EXPECT_EQ(result, "%\nN00001Q1L1P5\r\n%\r\n"); }},
      {"a % inside a record", File("%\r\nN00001Q1L1P5%\r\nN00002Q1P7\r\n%\r\n"), Outcome::Thinned,
       0, "1 record(s) dropped because they follow the closing \"%\"",
       [](const std::string& result) { EXPECT_EQ(result, "%\nN00001Q1L1P5\n%\r\n"); }},
      {"a value that is no number", File("%\r\nN00001Q1L1P5\r\nN00002Q1P1O\r\n%\r\n"),
       Outcome::FilterFails, 1, ":3: value empty or not a number at character 27 (N00002Q1P)"},
      {"a value of 10,000 digits",
       File("%\r\nN00001Q1P" + std::string(9999, '0') + "1\r\nN00002Q1L1P" +
            std::string(10000, '0') + "\r\n%\r\n"),
       Outcome::Thinned, 0, "", Contains(std::string(9999, '0') + "1\r\n%")},
      {"999 entries in one record", File([] { return Entries(999); }), Outcome::Thinned, 0, "",
       Contains("L999P1\r\n%")},
      {"1,000 entries in one record", File([] { return Entries(1000); }), Outcome::Thinned, 0, "",
       Contains("L1000P1\r\n%")},
      {"1,001 entries in one record", File([] { return Entries(1001); }), Outcome::FilterFails, 1,
       ":2: entry limit"},
      {"99,999 records", File([] { return test::Records(99999, "L1P1"); }), Outcome::Thinned, 0, "",
       Contains("N1099998L1P1\r\n%")},
      {"100,000 records", File([] { return test::Records(100000, "L1P1"); }), Outcome::FilterFails,
       1, ":100001: record limit"},
      {"a 50 MB file", File([] { return bench::GenerateAdversarial30i(50 << 20); }),
       Outcome::Thinned, 0, "", [](const std::string& result) { EXPECT_GT(result.size(), 1000u); }},
  };
}

void PrintTo(const BadInput& input, std::ostream* out) { *out << input.name; }

class BadInputs : public ::testing::TestWithParam<BadInput> {
 protected:
  TempDir dir;
};

TEST_P(BadInputs, CommandLineSaysWhatAndWritesNothingPartial) {
  const BadInput& input = GetParam();
  const std::filesystem::path file = input.make(dir);
  const std::filesystem::path out = dir / "out.txt";
  const test::HabukiRun run =
      test::Habuki{"", false, dir.path()}.Run({"-c", "none", "-o", out.string(), file.string()});
  EXPECT_EQ(run.status, input.cliStatus) << run.err;
  EXPECT_NE(run.err.find(input.cliMessage), std::string::npos) << run.err;
  if (input.cliMessage.empty()) {
    EXPECT_EQ(run.err, "");
  }
  if (input.outcome == Outcome::Thinned) {
    input.check(habuki::test::ReadBytes(out));
  } else {
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

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

INSTANTIATE_TEST_SUITE_P(Table, BadInputs, ::testing::ValuesIn(Table()),
                         [](const ::testing::TestParamInfo<BadInput>& info) {
                           std::string name;
                           for (const char c : info.param.name) name += std::isalnum(c) ? c : '_';
                           return name;
                         });

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

// An input file that exists but cannot be read: only without root's privileges.
TEST(BadInputs, UnreadableFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempDir dir;
  WriteBytes(dir / "locked.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  std::filesystem::permissions(dir / "locked.txt", std::filesystem::perms::none);
  const test::HabukiRun run =
      test::Habuki{"", false, dir.path()}.Run({(dir / "locked.txt").string()});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("cannot read: Permission denied"), std::string::npos);
}

}  // namespace
}  // namespace habuki
