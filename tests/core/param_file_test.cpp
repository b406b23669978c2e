#include "core/io/param_file.h"

#include <gtest/gtest.h>

#include <thread>

#include "core/filter/detect_format.h"
#include "core/io/file_writing.h"
#include "core/io/system_calls.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const FilterState& state) { return {state.LineList.begin(), state.LineList.end()}; }

struct Loaded {
  LoadResult result;
  FilterState state;
};

Loaded LoadBytes(std::string_view bytes) {
  test::TempDir dir;
  test::WriteBytes(dir / "p.txt", bytes);
  Loaded loaded{{LoadStatus::Empty, {}, {}, {}}, {}};
  loaded.result = LoadParamFile(loaded.state, dir / "p.txt");
  return loaded;
}

TEST(LoadParamFile, CrAndCrLfEndLinesAndLoneLfStaysInside) {
  const Loaded crlf = LoadBytes("%\r\nN1\r\n%\r\n");
  EXPECT_EQ(LinesOf(crlf.state), (Lines{"%", "N1", "%"}));
  EXPECT_EQ(crlf.state.AllText.Bytes(), "%\r\nN1\r\n%\r\n");

  const Loaded cr = LoadBytes("%\rN1\r\r%");
  EXPECT_EQ(LinesOf(cr.state), (Lines{"%", "N1", "", "%"}));
  EXPECT_EQ(cr.state.AllText.Bytes(), "%\r\nN1\r\n\r\n%\r\n");

  const Loaded crAtEnd = LoadBytes("%\r\nN1\r\n%\r");
  EXPECT_EQ(LinesOf(crAtEnd.state), (Lines{"%", "N1", "%"}));
  EXPECT_EQ(crAtEnd.state.AllText.Bytes(), "%\r\nN1\r\n%\r\n");

  const Loaded lf = LoadBytes("%\nN1\n%\n");
  EXPECT_EQ(LinesOf(lf.state), (Lines{"%\nN1\n%\n"}));
  EXPECT_EQ(lf.state.AllText.Bytes(), "%\nN1\n%\n\r\n");
}

// A file of lone CRs doubles as each becomes CR LF, in the room it was read with or in memory
// grown for it: from a file, from a pipe (whose size nothing tells) and from bytes.
TEST(LoadParamFile, CrOnlyTextDoublesInFullWhereverItComesFrom) {
  const std::string crs(220 * 1024, '\r');
  std::string crLfs;
  for (std::size_t i = 0; i < crs.size(); ++i) crLfs += "\r\n";
  test::TempDir dir;
  test::WriteBytes(dir / "cr.txt", crs);
  FilterState fromFile, fromPipe, fromBytes;
  EXPECT_TRUE(LoadParamFile(fromFile, dir / "cr.txt"));
  int ends[2];
  ASSERT_TRUE(test::MakePipe(ends));
  std::thread writer([&] {
    EXPECT_FALSE(WriteToDescriptor(ends[1], crs));
    CloseDescriptor(ends[1]);
  });
  EXPECT_TRUE(LoadParamDescriptor(fromPipe, ends[0]));
  writer.join();
  CloseDescriptor(ends[0]);
  EXPECT_TRUE(LoadParamBytes(fromBytes, crs));
  for (const FilterState* state : {&fromFile, &fromPipe, &fromBytes}) {
    EXPECT_TRUE(state->AllText.Bytes() == crLfs);
    EXPECT_EQ(state->LineList.size(), crs.size());
  }
}

TEST(LoadParamFile, LastLineWithoutBreakIsKept) {
  const Loaded loaded = LoadBytes("%\r\nN0001Q1P5");
  EXPECT_TRUE(loaded.result);
  EXPECT_EQ(LinesOf(loaded.state), (Lines{"%", "N0001Q1P5"}));
  EXPECT_EQ(loaded.state.AllText.Bytes(), "%\r\nN0001Q1P5\r\n");
}

TEST(LoadParamFile, BytesAreKeptAsRead) {
  const std::string odd("\x00\x1A\xFF\x83\x4E\x81\r\n", 8);
  const Loaded loaded = LoadBytes(odd);
  EXPECT_EQ(loaded.state.AllText.Bytes(), odd);
}

TEST(LoadParamFile, EmptyOrUnreadableFileClearsThePreviousText) {
  test::TempDir dir;
  test::WriteBytes(dir / "long.txt", "%\r\nN1\r\nN2\r\n%\r\n");
  test::WriteBytes(dir / "short.txt", "%\r\n");
  test::WriteBytes(dir / "empty.txt", "");
  FilterState state;
  state.OutText = Cp932Text::FromBytes("kept");

  ASSERT_TRUE(LoadParamFile(state, dir / "long.txt"));
  ASSERT_TRUE(LoadParamFile(state, dir / "short.txt"));
  EXPECT_EQ(LinesOf(state), (Lines{"%"}));

  EXPECT_EQ(LoadParamFile(state, dir / "empty.txt").status, LoadStatus::Empty);
  EXPECT_TRUE(state.AllText.empty());

  ASSERT_TRUE(LoadParamFile(state, dir / "long.txt"));
  const LoadResult missing = LoadParamFile(state, dir / "missing.txt");
  EXPECT_EQ(missing.status, LoadStatus::CannotRead);
  EXPECT_EQ(missing.error, std::errc::no_such_file_or_directory);
  EXPECT_TRUE(state.AllText.empty());
  EXPECT_TRUE(state.LineList.empty());

  EXPECT_EQ(LoadParamFile(state, dir.path()).error, std::errc::is_a_directory);
  EXPECT_EQ(state.OutText.Bytes(), "kept");  // a load never touches the result
}

FormatKind Guess(std::string_view text) { return DetectFormat(Cp932Text::FromBytes(text)); }

TEST(DetectFormat, FirstNAfterPositionFiveMeansPmc) {
  EXPECT_EQ(Guess("%\r\nN0001Q1P5\r\n"), FormatKind::Fs16i);      // "N" at 4
  EXPECT_EQ(Guess("%\r\nN0001Q1L1P5\r\n"), FormatKind::Fs30i);    // and an "L"
  EXPECT_EQ(Guess("%\r\nxN0001Q1L1P5\r\n"), FormatKind::Fs30i);   // "N" at 5
  EXPECT_EQ(Guess("%\r\n\r\nN0001Q1L1P5\r\n"), FormatKind::Pmc);  // empty line: "N" at 6
  EXPECT_EQ(Guess("\r\nN0001Q1P5\r\n"), FormatKind::Fs16i);       // "N" at 3
  EXPECT_EQ(Guess("%\r\n(PMC=0I-F)\r\nN600000 P0\r\n"), FormatKind::Pmc);
  EXPECT_EQ(Guess("%\r\nNO HEADER\r\nN600000 P0\r\n"), FormatKind::Fs16i);
  EXPECT_EQ(Guess("no records at all, but an L"), FormatKind::Fs30i);
  EXPECT_EQ(Guess("nothing"), FormatKind::Fs16i);
}

TEST(DetectFormat, RealBackupsAndExamples) {
  FilterState state;
  for (const auto& [file, kind] : test::KnownBackups()) {
    ASSERT_TRUE(LoadParamFile(state, file)) << file;
    EXPECT_EQ(DetectFormat(state.AllText), kind) << file;
  }
}

}  // namespace
}  // namespace habuki
