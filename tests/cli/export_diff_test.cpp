// habuki --to csv|json and habuki diff, run in-process as a user runs them.
#include <gtest/gtest.h>

#include "bench/param_generator.h"
#include "report/parameter_export.h"
#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::Habuki;
using Result = test::HabukiRun;

// A 30i backup.
const std::string kBackup =
    "%\r\nN00001Q1A1P00000010A2P0\r\nN00002Q1P0\r\nN00003Q1X1,\"2\"\r\nN00004Q1M2.5\r\n"
    "N00005Q1L1P0\r\n%\r\n";

TEST(Export, CsvHoldsTheNonZeroRowsQuotedWhereNeeded) {
  const Result csv = Habuki{kBackup}.Run({"--to", "csv"});
  EXPECT_EQ(csv.status, 0);
  EXPECT_EQ(csv.out,
            "number,qualifier,entry,marker,value,line,axis\r\n"
            "00001,Q1,A1,P,00000010,2,\r\n"
            "00003,Q1,,,\"X1,\"\"2\"\"\",4,\r\n"
            "00004,Q1,,M,2.5,5,\r\n");
  // A record of a kind without a rule is a row, and told of.
  EXPECT_EQ(csv.err,
            "habuki: standard input:4:1: 1 record(s) read as text because format 30i has no rule "
            "for their kind; the first: N00003Q1X1,\"2\"\n");
  const Result all = Habuki{kBackup}.Run({"--to", "csv", "--all"});
  EXPECT_NE(all.out.find("00001,Q1,A2,P,0,2,\r\n00002,Q1,,P,0,3,\r\n"), std::string::npos);
  EXPECT_NE(all.out.find("00005,Q1,L1,P,0,6,\r\n"), std::string::npos);
}

TEST(Export, JsonKeepsValuesAsStringsAndLinesAsNumbers) {
  const Result json = Habuki{"%\r\nN00001Q1L1P00000010\r\n%\r\n"}.Run({"--to", "json"});
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.out,
            "{\"file\": \"-\", \"format\": \"30i\", \"header lines\": [], \"parameters\": [\n"
            "  {\"number\": \"00001\", \"qualifier\": \"Q1\", \"entry\": \"L1\", \"marker\": "
            "\"P\", \"value\": \"00000010\", \"line\": 2, \"axis\": null}\n]}\n");
  // The header lines, the PMC header, stand in the table too.
  const Result pmc = Habuki{"%\r\n(PMC=0I-F)\r\n(X)\r\nN600000 P1\r\n%\r\n"}.Run({"--to", "json"});
  EXPECT_NE(pmc.out.find("\"header lines\": [\"(PMC=0I-F)\", \"(X)\"], "), std::string::npos)
      << pmc.out;
}

TEST(Export, OutputFolderAddsTheTablesEnding) {
  test::TempDir in, out;
  test::WriteBytes(in / "m1.txt", kBackup);
  const Result result =
      Habuki{}.Run({"--to", "json", "--output-dir", out.path().string(), (in / "m1.txt").string()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(test::ReadBytes(out / "m1.txt.json").substr(0, 9), "{\"file\": ");
  EXPECT_EQ(test::EntriesIn(out.path()), 1u);
}

// Several inputs make one document, on standard output or with -o: CSV with a first column
// `file`, JSON with a "files" array; a file that cannot be read leaves the document whole, and
// -o keeps its file when no input could be read, or when it names an input.
TEST(Export, SeveralInputsMakeOneDocument) {
  test::TempDir dir;
  test::WriteBytes(dir / "a.txt", "%\r\nN00001Q1L1P7\r\n%\r\n");
  test::WriteBytes(dir / "b.txt", "%\r\nN00002Q1L1P0\r\nN00003Q1P8\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  const std::string row = "\"qualifier\": \"Q1\", \"entry\": ";
  const struct {
    std::string to, out;
  } cases[] = {
      {"csv",
       "file,number,qualifier,entry,marker,value,line,axis\r\na.txt,00001,Q1,L1,P,7,2,\r\n"
       "b.txt,00003,Q1,,P,8,3,\r\n"},
      {"json",
       "{\"files\": [\n{\"file\": \"a.txt\", \"format\": \"30i\", \"header lines\": [], "
       "\"parameters\": [\n  "
       "{\"number\": \"00001\", " +
           row +
           "\"L1\", \"marker\": \"P\", \"value\": \"7\", "
           "\"line\": 2, \"axis\": null}\n]},\n{\"file\": \"b.txt\", \"format\": \"30i\", \"header "
           "lines\": [], "
           "\"parameters\": [\n  "
           "{\"number\": \"00003\", " +
           row +
           "\"\", \"marker\": \"P\", \"value\": \"8\", "
           "\"line\": 3, \"axis\": null}\n]}\n]}\n"},
  };
  for (const auto& [to, out] : cases) {
    const Result result = Habuki{}.Run({"--to", to, "a.txt", "missing.txt", "b.txt"});
    EXPECT_EQ(result.status, 3) << to;
    EXPECT_EQ(result.out, out) << to;
    const Result toFile = Habuki{}.Run({"--to", to, "-o", "doc", "a.txt", "missing.txt", "b.txt"});
    EXPECT_EQ(toFile.status, 3) << to;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(test::ReadBytes(dir / "doc"), out) << to;
  }
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"missing.txt", "missing.txt"}, {"a.txt", "doc"}}) {
    std::vector<std::string> run = {"--to", "csv", "-o", "doc"};
    run.insert(run.end(), args.begin(), args.end());
    EXPECT_EQ(Habuki{}.Run(run).status, 3) << args[0];
    EXPECT_EQ(test::ReadBytes(dir / "doc"), cases[1].out) << args[0];
  }
}

// --stats of a table counts the rows written, and diff's JSON carries the counts.
TEST(ExportAndDiff, StatsAndCounts) {
  const struct {
    std::vector<std::string> args;
    std::string out, err;
  } cases[] = {
      {{"--to", "csv", "--all", "--stats"},
       "",
       "format 30i, 5 records read, 6 rows written, 1 records read as text for an unhandled "
       "kind, 0 after the closing % (0 holding a value), 0 entries without a value marker\n"},
      {{"--to", "json", "--stats"}, "", "3 rows written (the values of 0 left out), "},
      {{"diff", "--to", "json", "-", "new.txt"},
       "\"counts\": {\"changed\": 1, \"added\": 0, \"removed\": 1, \"set to 0\": 1, "
       "\"header lines\": 0, \"left out\": 0}}\n",
       ""},
  };
  test::TempDir dir;
  test::WriteBytes(dir / "new.txt", "%\r\nN00001Q1A1P11A2P0\r\nN00004Q1M0\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  for (const auto& [args, out, err] : cases) {
    const Result result = Habuki{kBackup}.Run(args);
    EXPECT_NE(result.out.find(out), std::string::npos) << result.out;
    EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
  }
}

// --bom puts the UTF-8 byte order mark before any CSV, a table's or a comparison's, and
// changes nothing else; it is for CSV alone.
TEST(ExportAndDiff, ByteOrderMarkLeadsEveryCsv) {
  test::TempDir dir;
  test::WriteBytes(dir / "a.txt", kBackup);
  test::WriteBytes(dir / "b.txt", "%\r\nN00001Q1L1P00000110\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--to", "csv", "a.txt"},
        {"--to", "csv", "a.txt", "b.txt"},
        {"diff", "--to", "csv", "a.txt", "b.txt"},
        {"diff", "--to", "csv", "a.txt", "b.txt", "a.txt"}}) {
    const Result plain = Habuki{}.Run(args);
    std::vector<std::string> marked = args;
    marked.insert(marked.end() - (args[0] == "diff" ? 2 : 1), "--bom");
    const Result result = Habuki{}.Run(marked);
    EXPECT_EQ(result.status, plain.status) << args.back();
    EXPECT_EQ(result.out, "\xEF\xBB\xBF" + plain.out) << args.back();
  }
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--bom", "--to", "json", "a.txt"},
        {"--bom", "a.txt"},
        {"diff", "--bom", "a.txt", "b.txt"}}) {
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, 2) << args[1];
    EXPECT_NE(result.err.find("--bom is for --to csv"), std::string::npos) << result.err;
  }
}

// A table of every value, larger than the pieces it is written in, comes whole; a text that
// fails after them writes nothing, and leaves a file that was there as it was.
TEST(Export, LargeTablesAreWrittenWholeOrNotAtAll) {
  test::TempDir dir;
  std::string text = bench::GenerateShaped30i(80000);
  test::WriteBytes(dir / "large.txt", text);
  text.insert(text.rfind('%'), "N99999Q1P1?\n");
  test::WriteBytes(dir / "failing.txt", text);
  test::WriteBytes(dir / "old.csv", "old");
  const test::InFolder inDir(dir.path());
  const Result large = Habuki{}.Run({"--to", "csv", "--all", "--stats", "large.txt"});
  ASSERT_GT(large.out.size(), 2 * kTableChunk);
  const std::string rows = std::to_string(std::count(large.out.begin(), large.out.end(), '\n') - 1);
  EXPECT_NE(large.err.find(", " + rows + " rows written"), std::string::npos) << large.err;
  EXPECT_TRUE(large.out.ends_with(",80001,\r\n")) << large.out.substr(large.out.size() - 40);
  for (const char* to : {"csv", "json"}) {
    EXPECT_EQ(Habuki{}.Run({"--to", to, "--all", "failing.txt"}).out, "") << to;
    EXPECT_EQ(Habuki{}.Run({"--to", to, "--all", "-o", "old.csv", "failing.txt"}).status, 1);
    EXPECT_EQ(test::ReadBytes(dir / "old.csv"), "old");
  }
}

// diff ends as diff does: 0 alike, 1 different, 2 usage, 3 a file that cannot be read or that
// breaks its format.
TEST(Diff, ExitStatuses) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt", kBackup);
  test::WriteBytes(dir / "new.txt",
                   "%\r\nN00001Q1A1P10\r\nN00003Q1X1,\"2\"\r\nN00004Q1M3\r\nN00009Q1L1P0\r\n%\r\n");
  test::WriteBytes(dir / "pmc.txt", "%\r\n(PMC)\r\nN600000 P1\r\n%\r\n");
  test::WriteBytes(dir / "broken.txt", "%\r\nN00001Q1P1 2\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out;
  } cases[] = {
      {{"diff", "old.txt", "old.txt"}, 0, "0 changed, 0 added, 0 removed, 0 set to 0\n"},
      {{"diff", "old.txt", "new.txt"},
       1,
       "N00004Q1: 2.5 -> 3\n1 changed, 0 added, 0 removed, 0 set to 0\n"},
      {{"diff", "-q", "old.txt", "new.txt"}, 1, ""},
      {{"diff", "old.txt", "pmc.txt"}, 2, ""},
      {{"diff", "old.txt"}, 2, ""},
      {{"diff", "old.txt", "missing.txt"}, 3, ""},
      {{"diff", "old.txt", "broken.txt"}, 3, ""},
  };
  for (const auto& [args, status, out] : cases) {
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, status) << args.back() << result.err;
    EXPECT_EQ(result.out, out) << args.back();
  }
  // A CNC backup and a PMC backup are never compared; -f does not make one the other.
  EXPECT_EQ(Habuki{}.Run({"diff", "-f", "30i,pmc", "old.txt", "pmc.txt"}).status, 2);
  EXPECT_EQ(Habuki{}.Run({"diff", "-f", "pmc", "old.txt", "pmc.txt"}).status, 3);
}

TEST(Diff, CsvAndJsonGiveTheSameRows) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt", "%\r\nN00001Q1A1P5A2P7\r\nN00009Q1L1P0\r\n%\r\n");
  test::WriteBytes(dir / "new.txt", "%\r\nN00001Q1A1P6A3P1\r\nN00009Q1L1P0\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  EXPECT_EQ(Habuki{}.Run({"diff", "old.txt", "new.txt"}).out,
            "N00001Q1 A1: 5 -> 6\nN00001Q1 A2: 7 -> -\nN00001Q1 A3: - -> 1\n"
            "1 changed, 1 added, 1 removed, 0 set to 0\n");
  EXPECT_EQ(Habuki{}.Run({"diff", "--to", "csv", "old.txt", "new.txt"}).out,
            "number,qualifier,entry,old,new,change,bits,axis\r\n00001,Q1,A1,5,6,changed,,\r\n"
            "00001,Q1,A2,7,,removed,,\r\n00001,Q1,A3,,1,added,,\r\n");
  const std::string json = Habuki{}.Run({"diff", "--to", "json", "old.txt", "new.txt"}).out;
  EXPECT_NE(
      json.find("{\"number\": \"00001\", \"qualifier\": \"Q1\", \"entry\": \"A2\", \"old\": "
                "\"7\", \"new\": null, \"change\": \"removed\", \"bits\": null, \"axis\": null}"),
      std::string::npos)
      << json;
}

// Where both sides are exactly 8 binary digits, the bits that changed are named as the control
// numbers them; a side that is absent or no such pattern names none.
TEST(Diff, NamesTheBitsThatChanged) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt",
                   "%\r\nN01005Q1A1P00000011A2P00000001A3P0000011A4P000000011A5P00000012"
                   "A6P00000100A7P00000101A8P00000011\r\n%\r\n");
  test::WriteBytes(dir / "new.txt",
                   "%\r\nN01005Q1A1P00000111A2P10000000A3P00000111A4P00000111A5P00000011"
                   "A6P00000000A8P00000011\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  const struct {
    std::string to, out;
  } cases[] = {
      {"text",
       "N01005Q1 A1: 00000011 -> 00000111 (#2 0->1)\n"
       "N01005Q1 A2: 00000001 -> 10000000 (#7 0->1, #0 1->0)\n"
       "N01005Q1 A3: 0000011 -> 00000111\nN01005Q1 A4: 000000011 -> 00000111\n"
       "N01005Q1 A5: 00000012 -> 00000011\nN01005Q1 A6: 00000100 -> 00000000 (#2 1->0)\n"
       "N01005Q1 A7: 00000101 -> -\n5 changed, 0 added, 1 removed, 1 set to 0\n"},
      {"csv",
       "number,qualifier,entry,old,new,change,bits,axis\r\n"
       "01005,Q1,A1,00000011,00000111,changed,#2 0->1,\r\n"
       "01005,Q1,A2,00000001,10000000,changed,\"#7 0->1, #0 1->0\",\r\n"
       "01005,Q1,A3,0000011,00000111,changed,,\r\n01005,Q1,A4,000000011,00000111,changed,,\r\n"
       "01005,Q1,A5,00000012,00000011,changed,,\r\n"
       "01005,Q1,A6,00000100,00000000,set to 0,#2 1->0,\r\n"
       "01005,Q1,A7,00000101,,removed,,\r\n"},
  };
  for (const auto& [to, out] : cases) {
    EXPECT_EQ(Habuki{}.Run({"diff", "--to", to, "old.txt", "new.txt"}).out, out) << to;
  }
  const std::string json = Habuki{}.Run({"diff", "--to", "json", "old.txt", "new.txt"}).out;
  for (const char* row :
       {"\"change\": \"changed\", \"bits\": \"#7 0->1, #0 1->0\", \"axis\": null}",
        "\"A5\", \"old\": \"00000012\", \"new\": \"00000011\", \"change\": "
        "\"changed\", \"bits\": null, \"axis\": null}"}) {
    EXPECT_NE(json.find(row), std::string::npos) << row << "\n" << json;
  }
}

// Export and diff tell on standard error what they did not read as thinning reads it, and diff
// does not call files alike while part of them was left out.
TEST(ExportAndDiff, TellWhatTheyLeaveOut) {
  test::TempDir dir;
  const std::string good = "%\r\nN00001Q1A1P00000010A2P0\r\nN00005Q1L1P0\r\n%\r\n";
  test::WriteBytes(dir / "good.txt", good);
  test::WriteBytes(dir / "doubled.txt", good + "N00001Q1A1P7\r\n%\r\n");
  test::WriteBytes(dir / "unmarked.txt", "%\r\nN00001Q1L1P5\r\nN00002Q1A1P5A2\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  const std::string afterEnd =
      "doubled.txt:5:1: 1 record(s) left out because they follow the closing \"%\"; the first: "
      "N00001Q1A1P7\n";
  const std::string unmarked =
      "unmarked.txt:3:1: 1 entry(ies) left out because no value marker follows them; the first "
      "in the record: N00002Q1A1P5A2\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err, summary;
  } cases[] = {
      {{"--to", "csv", "doubled.txt"}, 1, afterEnd, ""},
      {{"--to", "xlsx", "-o", "doubled.xlsx", "unmarked.txt"}, 1, unmarked, ""},
      {{"diff", "good.txt", "doubled.txt"},
       1,
       afterEnd,
       "0 changed, 0 added, 0 removed, 0 set to 0; left out: 1 record(s) of doubled.txt after the "
       "closing "
       "\"%\"\n"},
      {{"diff", "unmarked.txt", "good.txt"},
       1,
       unmarked,
       "set to 0; left out: 1 entry(ies) of unmarked.txt without a value marker\n"},
  };
  for (const auto& [args, status, err, summary] : cases) {
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, status) << args.back();
    EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
    EXPECT_TRUE(result.out.ends_with(summary)) << result.out;
  }
}

// A parameter that stands twice is named with its lines by tables, diff and thinning's --stats;
// diff pairs its records in order, and does not call backups alike where that pairing is
// ambiguous.
TEST(ExportAndDiff, TellOfParametersThatStandTwice) {
  test::TempDir dir;
  test::WriteBytes(dir / "twice.txt", "%\r\nN01000Q1P5\r\nN01000Q1P0\r\n%\r\n");
  test::WriteBytes(dir / "once.txt", "%\r\nN01000Q1P5\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  const std::string told = "twice.txt:2:1: N01000Q1 stands 2 times, on lines 2, 3\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"--to", "csv", "twice.txt"}, 0, told},
      {{"--stats", "twice.txt"}, 0, told},
      {{"twice.txt"}, 0, ""},
      {{"diff", "twice.txt", "twice.txt"}, 0, told},
      {{"diff", "once.txt", "twice.txt"},
       1,
       "N01000Q1 stands 2 times in twice.txt and once or not at all in once.txt: its values are "
       "paired in the order they stand, which may not be the pairs meant\n"},
      {{"diff", "once.txt", "once.txt", "twice.txt"}, 1, "stands 2 times in twice.txt"},
  };
  for (const auto& [args, status, err] : cases) {
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, status) << args[0] << ' ' << args[1];
    EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
    EXPECT_EQ(result.err.empty(), err.empty()) << result.err;
  }
}

// 0 and a missing value are equal, but each shows as what it is: "0" or "-", "0" or null.
TEST(Diff, ShowsZeroAsZeroAndMissingAsDash) {
  test::TempDir dir;
  test::WriteBytes(dir / "old.txt", "%\r\nN00020Q1P17\r\nN00021Q1L1P5\r\n%\r\n");
  test::WriteBytes(dir / "removed.txt", "%\r\nN00021Q1L1P5\r\n%\r\n");
  test::WriteBytes(dir / "zeroed.txt", "%\r\nN00020Q1P0\r\nN00021Q1L1P5\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  const struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"old.txt", "removed.txt"},
       "N00020Q1: 17 -> -\n0 changed, 0 added, 1 removed, 0 set to 0\n"},
      {{"old.txt", "zeroed.txt"}, "N00020Q1: 17 -> 0\n0 changed, 0 added, 0 removed, 1 set to 0\n"},
      {{"zeroed.txt", "old.txt"}, "N00020Q1: 0 -> 17\n1 changed, 0 added, 0 removed, 0 set to 0\n"},
      {{"removed.txt", "zeroed.txt"}, "0 changed, 0 added, 0 removed, 0 set to 0\n"},
      {{"--to", "json", "old.txt", "removed.txt"},
       "\"new\": null, \"change\": \"removed\", \"bits\": null, \"axis\": null}"},
      {{"--to", "json", "old.txt", "zeroed.txt"},
       "\"new\": \"0\", \"change\": \"set to 0\", \"bits\": null, \"axis\": null}"},
  };
  for (auto [args, out] : cases) {
    args.insert(args.begin(), "diff");
    const Result result = Habuki{}.Run(args);
    EXPECT_NE(result.out.find(out), std::string::npos) << result.out;
  }
}

// A 16i backup against a 30i one: each file's format given, numbers matched as numbers.
TEST(Diff, FormatPerFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "16i.txt", "%\r\nN0020Q1P17\r\nN1005Q1A1P10A2P0\r\n%\r\n");
  test::WriteBytes(dir / "30i.txt",
                   "%\r\nN00020Q1P17\r\nN01005Q1A1P10A2P5\r\nN00021Q1L1P0\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  } cases[] = {
      {{"diff", "16i.txt", "30i.txt"},
       2,
       "",
       "16i.txt looks like format 16i and 30i.txt like 30i; give the format of both with -f, or "
       "of each with -f OLD,NEW (here -f 16i,30i)\n"},
      {{"diff", "-f", "16i,30i", "16i.txt", "30i.txt"},
       1,
       "N1005Q1 A2: 0 -> 5\n1 changed, 0 added, 0 removed, 0 set to 0\n",
       ""},
      {{"diff", "-f", "16i,auto", "16i.txt", "30i.txt"}, 1, "N1005Q1 A2: 0 -> 5\n", ""},
      {{"diff", "-f", "16i,30i", "--to", "json", "16i.txt", "30i.txt"},
       1,
       "\"format\": \"16i,30i\"",
       ""},
      {{"diff", "-f", "16i,x", "16i.txt", "30i.txt"}, 2, "", "unknown format x in 16i,x"},
  };
  for (const auto& [args, status, out, err] : cases) {
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, status) << args[2];
    EXPECT_NE(result.out.find(out), std::string::npos) << result.out;
    EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
  }
}

// What differs looks different: bytes that are no CP932 and control characters escaped, the PMC
// header compared; reading both sides from standard input is a usage error.
TEST(Diff, ShowsWhatDiffers) {
  test::TempDir dir;
  const std::string pmc = "%\r\n(PMC=0I-F,MSID=1)\r\nN600000 P1\r\n%\r\n";
  test::WriteBytes(dir / "a.txt",
                   "%\r\nN00001Q1X\xFD\xFE\r\nN00002Q1X\x1B[2J\r\nN00003Q1L1P1\r\n%");
  test::WriteBytes(dir / "b.txt", "%\r\nN00001Q1X\xFE\xFD\r\nN00002Q1X\r\nN00003Q1L1P1\r\n%");
  test::WriteBytes(dir / "head.txt", "%\r\nN0000\x80Q1X\r\nN00003Q1L1P1\r\n%");
  test::WriteBytes(dir / "msid1.txt", pmc);
  test::WriteBytes(dir / "msid2.txt", "%\r\n(PMC=0I-F,MSID=2)\r\nN600000 P1\r\n%\r\n");
  test::WriteBytes(dir / "thinned.txt", "Comment\n%\n\n(PMC=0I-F,MSID=1)\r\nN600000 P1\r\n%\r\n");
  const test::InFolder inDir(dir.path());
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, err;
  } cases[] = {
      {{"a.txt", "b.txt"},
       1,
       "N00001Q1: X\\xFD\\xFE -> X\\xFE\\xFD\nN00002Q1: X\\x1B[2J -> X\n2 changed",
       ""},
      {{"a.txt", "head.txt"},
       1,
       "",
       "head.txt:2:1: 1 record(s) read as text because format 30i "
       "has no rule for their kind; the first: N0000\\x80Q1X\n"},
      {{"msid1.txt", "msid2.txt"},
       1,
       "header: (PMC=0I-F,MSID=1) -> (PMC=0I-F,MSID=2)\n0 changed, 0 added, 0 removed, 0 set to 0, "
       "1 header line(s) differ\n",
       ""},
      {{"--to", "csv", "msid1.txt", "msid2.txt"},
       1,
       ",,,\"(PMC=0I-F,MSID=1)\",\"(PMC=0I-F,MSID=2)\",header",
       ""},
      {{"msid1.txt", "thinned.txt"}, 0, "0 changed, 0 added, 0 removed, 0 set to 0\n", ""},
      {{"-", "-"}, 2, "", "diff reads standard input for one side only"},
  };
  for (auto [args, status, out, err] : cases) {
    args.insert(args.begin(), "diff");
    const Result result = Habuki{pmc}.Run(args);
    EXPECT_EQ(result.status, status) << args.back() << result.err;
    EXPECT_NE(result.out.find(out), std::string::npos) << result.out;
    EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
  }
}

// A real backup against its own thinned text, and against a copy with one value changed.
TEST(Diff, RealBackupAgainstItsThinnedSelfAndOneChange) {
  test::TempDir dir;
  const std::string backup = test::ReadBytes(test::DataFile("machining-center-30i.txt"));
  test::WriteBytes(dir / "backup.txt", backup);
  const test::InFolder inDir(dir.path());
  ASSERT_EQ(Habuki{}.Run({"-o", "thinned.txt", "backup.txt"}).status, 0);
  EXPECT_EQ(Habuki{}.Run({"diff", "-f", "30i", "backup.txt", "thinned.txt"}).status, 0);

  std::string changed = backup;
  const std::size_t value = changed.find("P00000000", changed.find("\nN01"));
  ASSERT_NE(value, std::string::npos);
  changed[value + 8] = '4';
  test::WriteBytes(dir / "changed.txt", changed);
  const Result result = Habuki{}.Run({"diff", "backup.txt", "changed.txt"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 2) << result.out;
  EXPECT_NE(result.out.find(": 00000000 -> 00000004\n1 changed, 0 added, 0 removed, 0 set to 0\n"),
            std::string::npos)
      << result.out;
}

}  // namespace
}  // namespace habuki
