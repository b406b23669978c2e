#include "core/io/output_plan.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <ostream>

#include "tests/support/test_support.h"

namespace habuki {
namespace {

constexpr int kStandardOutput = -2;  // in a row: the descriptor standard output is open on

struct PlanCase {
  const char* name;
  std::vector<std::string> inputs;  // "-" is standard input
  Destination destination;
  const char* standardInput;   // the file standard input is open on, or ""
  const char* standardOutput;  // the same for standard output
  bool clash;
  std::vector<std::optional<Refusal>> refusals;
  std::optional<int> descriptor{};  // through which the first result is written
};

// A case is shown by its name, which its test's name already spells, not as its bytes.
void PrintTo(const PlanCase& plan, std::ostream* out) { *out << '"' << plan.name << '"'; }

const std::vector<PlanCase> kCases = {
    {"two inputs of one name", {"m1/P.TXT", "m2/P.TXT"}, ToFolder{"out", ""}, "", "", true, {}},
    {"an input where another's result goes",
     {"a/x.txt", "out/x.txt"},
     ToFolder{"out", ""},
     "",
     "",
     true,
     {}},
    {"an input in the output folder",
     {"out/x.txt"},
     ToFolder{"out", ""},
     "",
     "",
     false,
     {Refusal::TargetIsAnInput}},
    {"a target hard-linked to another input",
     {"a/x.txt", "b/y.txt"},
     ToFolder{"linked", ""},
     "",
     "",
     false,
     {Refusal::TargetIsAnInput, std::nullopt}},
    {"a symbolic link to the input",
     {"a/x.txt"},
     ToFile{"link-to-x"},
     "",
     "",
     false,
     {Refusal::TargetIsAnInput}},
    {"standard input's file",
     {"-"},
     ToFile{"in.txt"},
     "in.txt",
     "",
     false,
     {Refusal::TargetIsAnInput}},
    {"standard output's file is an input",
     {"in.txt", "a/x.txt"},
     ToStandardOutput{},
     "",
     "in.txt",
     false,
     {Refusal::OutputIsTheInput, std::nullopt}},
    {"results of distinct names",
     {"a/x.txt", "b/y.txt"},
     ToFolder{"out", ".csv"},
     "",
     "",
     false,
     {std::nullopt, std::nullopt}},
    {"/dev/stdout on a file",
     {"a/x.txt"},
     ToFile{"/dev/stdout"},
     "",
     "report.txt",
     false,
     {std::nullopt},
     kStandardOutput},
    {"the file standard output has open",
     {"a/x.txt"},
     ToFile{"report.txt"},
     "",
     "report.txt",
     false,
     {std::nullopt},
     kStandardOutput},
    {"a dangling link another result makes live",
     {"a/x.txt", "b/y.txt"},
     ToFolder{"links", ""},
     "",
     "",
     true,
     {}},
    {"two dangling links to one new file",
     {"m/w.txt", "m/z.txt"},
     ToFolder{"links", ""},
     "",
     "",
     true,
     {}},
    {"a link that leads round in a loop",
     {"a/loop"},
     ToFolder{"links", ""},
     "",
     "",
     false,
     {std::nullopt}},
    {"/dev/fd/N", {"a/x.txt"}, ToFile{"/dev/fd/5"}, "", "", false, {std::nullopt}, 5},
    {"/proc/self/fd/N", {"a/x.txt"}, ToFile{"/proc/self/fd/7"}, "", "", false, {std::nullopt}, 7},
};

class OutputPlanTest : public testing::TestWithParam<PlanCase> {
 protected:
  OutputPlanTest() {
    for (const char* folder : {"a", "b", "m1", "m2", "out", "linked", "links"}) {
      std::filesystem::create_directory(dir / folder);
    }
    for (const char* file :
         {"a/x.txt", "b/y.txt", "m1/P.TXT", "m2/P.TXT", "out/x.txt", "in.txt", "report.txt"}) {
      test::WriteBytes(dir / file, file);
    }
    std::filesystem::create_hard_link(dir / "b/y.txt", dir / "linked/x.txt");
    std::filesystem::create_symlink(dir / "a/x.txt", dir / "link-to-x");
    for (const auto& [link, target] : {std::pair{"y.txt", "x.txt"}, std::pair{"w.txt", "new.txt"},
                                       std::pair{"z.txt", "new.txt"}, std::pair{"loop", "loop"}}) {
      std::filesystem::create_symlink(target, dir / "links" / link);
    }
  }

  test::TempDir dir;
};

int OpenOrNone(const char* file, int flags) {
  return *file == '\0' ? ::open("/dev/null", flags) : ::open(file, flags | O_CLOEXEC);
}

TEST_P(OutputPlanTest, RefusesWhatWouldReplaceAnInputAndWritesThroughDescriptors) {
  const PlanCase& row = GetParam();
  const test::InFolder inDir(dir.path());
  const StandardStreams streams{OpenOrNone(row.standardInput, O_RDONLY),
                                OpenOrNone(row.standardOutput, O_WRONLY)};
  std::vector<PlannedInput> inputs;
  for (const std::string& input : row.inputs) inputs.push_back(InputNamed(input, streams));
  const OutputPlan plan = PlanOutputs(inputs, row.destination, streams);
  EXPECT_EQ(plan.clash.has_value(), row.clash);
  if (plan.clash) {
    EXPECT_EQ(plan.clash->first, row.inputs[0]);
    EXPECT_EQ(plan.clash->second, row.inputs[1]);
  }
  for (std::size_t i = 0; i < row.refusals.size(); ++i) {
    EXPECT_EQ(plan.outputs[i].refusal, row.refusals[i]) << row.inputs[i];
  }
  const std::optional<int> descriptor =
      row.descriptor == kStandardOutput ? streams.output : row.descriptor;
  EXPECT_EQ(plan.outputs[0].descriptor, descriptor);
  ::close(streams.input);
  ::close(streams.output);
}

INSTANTIATE_TEST_SUITE_P(Cases, OutputPlanTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<PlanCase>& info) {
                           std::string name;
                           for (const char c : std::string(info.param.name)) {
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

// { echo A; habuki -o /dev/stdout x.txt; } > report.txt keeps "A": the result is written where
// standard output stands, not over the file it is open on.
TEST(WriteOutput, ThroughADescriptorKeepsWhatWasWrittenBefore) {
  test::TempDir dir;
  const int report = ::open((dir / "report.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_EQ(::write(report, "A\n", 2), 2);
  const StandardStreams streams{STDIN_FILENO, report};
  for (int run = 0; run < 2; ++run) {
    const OutputPlan plan = PlanOutputs({{"x.txt", std::nullopt}}, ToFile{"/dev/stdout"}, streams);
    const std::string_view result[] = {"result", "\n"};
    ASSERT_FALSE(WriteOutput(plan.outputs[0], result, streams));
  }
  ::close(report);
  EXPECT_EQ(test::ReadBytes(dir / "report.txt"), "A\nresult\nresult\n");
}

// Every name that leads to a descriptor the program holds, through /proc or /dev/fd or a link
// to them, is written through it at its position: what the file held before stays.
TEST(WriteOutput, EveryNameOfAHeldDescriptorWritesThroughIt) {
  test::TempDir dir;
  const int held = ::open((dir / "held.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_EQ(::write(held, "A\n", 2), 2);
  const std::string fd = std::to_string(held);
  const std::string process = "/proc/" + std::to_string(::getpid());
  const std::string thread = std::to_string(::gettid());
  std::filesystem::create_symlink("/dev/fd/" + fd, dir / "link-to-fd");
  std::filesystem::create_symlink("link-to-fd", dir / "link-to-link");
  std::string expected = "A\n";
  for (const std::string& name :
       {"/dev/fd/" + fd, "/proc/self/fd/" + fd, "/proc/thread-self/fd/" + fd, process + "/fd/" + fd,
        process + "/task/" + thread + "/fd/" + fd, "/proc/" + thread + "/fd/" + fd,
        (dir / "link-to-fd").string(), (dir / "link-to-link").string()}) {
    const OutputPlan plan = PlanOutputs({{"x.txt", std::nullopt}}, ToFile{name}, {});
    EXPECT_EQ(plan.outputs[0].descriptor, held) << name;
    const std::string_view result[] = {name, "\n"};
    EXPECT_FALSE(WriteOutput(plan.outputs[0], result, {}));
    expected += name + "\n";
  }
  ::close(held);
  EXPECT_EQ(test::ReadBytes(dir / "held.txt"), expected);
}

}  // namespace
}  // namespace habuki
