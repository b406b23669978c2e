// Bad inputs through the command line, which needs no window (see bad_inputs.h).
#include "tests/integration/bad_inputs.h"
#include "tests/support/habuki_runner.h"

namespace habuki::test::bad_inputs {
namespace {

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
  if (input.cliOutcome.value_or(input.outcome) == Outcome::Thinned) {
    input.check(habuki::test::ReadBytes(out));
  } else {
    EXPECT_FALSE(std::filesystem::exists(out));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, BadInputs, ::testing::ValuesIn(Table()), NameOf);

}  // namespace
}  // namespace habuki::test::bad_inputs
