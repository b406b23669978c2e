// Backups as they arrive from editors, card readers and transfer programs are read as the
// backups they are, and what is no backup is refused, in thinning, tables and diff.
#include <gtest/gtest.h>

#include <functional>

#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::Habuki;
using Result = test::HabukiRun;

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// What an editor, a card reader or a transfer program may do to a backup (whose lines end in
// LF and which opens with "%" LF).
const std::pair<std::string_view, std::function<std::string(const std::string&)>> kDisturbances[] =
    {
        {"a byte order mark", [](const std::string& b) { return "\xEF\xBB\xBF" + b; }},
        {"a blank before the %", [](const std::string& b) { return " " + b; }},
        {"a blank after the %", [](const std::string& b) { return "% " + b.substr(1); }},
        {"no opening %", [](const std::string& b) { return b.substr(2); }},
        {"a note after the %",
         [](const std::string& b) { return "%\n(MC-3 2024/05)" + b.substr(1); }},
        {"empty lines first", [](const std::string& b) { return "\n\n" + b; }},
        {"CR CR LF", [](const std::string& b) { return Replaced(b, "\n", "\r\r\n"); }},
        {"CR LF", [](const std::string& b) { return Replaced(b, "\n", "\r\n"); }},
        {"CR", [](const std::string& b) { return Replaced(b, "\n", "\r"); }},
        {"Ctrl-Z at the end", [](const std::string& b) { return b + "\r\n\x1A"; }},
        {"NULs at the end", [](const std::string& b) { return b + std::string(512, '\0'); }},
};

TEST(FormatGuess, DisturbedRealBackupsReadAsWithTheirFormat) {
  test::TempDir dir;
  const test::InFolder inDir(dir.path());
  for (const auto& [file, format] : {std::pair{"machining-center-30i.txt", "30i"},
                                     std::pair{"machining-center-pmc.txt", "pmc"}}) {
    const std::string backup = test::ReadBytes(test::DataFile(file));
    test::WriteBytes("clean.txt", backup);
    const Result clean = Habuki{}.Run({"-c", "none", "--stats", "clean.txt"});
    const std::string keptCount = clean.err.substr(clean.err.find(" records read, "));
    for (const auto& [name, disturb] : kDisturbances) {
      test::WriteBytes("d.txt", disturb(backup));
      for (const std::vector<std::string>& args :
           {std::vector<std::string>{"-c", "none", "--stats"}, {"--to", "csv"}}) {
        std::vector<std::string> given = args;
        given.insert(given.end(), {"-f", format, "d.txt"});
        std::vector<std::string> guessed = args;
        guessed.push_back("d.txt");
        const Result byGuess = Habuki{}.Run(guessed);
        EXPECT_EQ(byGuess.status, 0) << file << ", " << name << ": " << byGuess.err;
        EXPECT_EQ(byGuess.out, Habuki{}.Run(given).out) << file << ", " << name;
        EXPECT_GT(byGuess.out.size(), 1000u) << file << ", " << name;
        if (args[0] == "-c") {
          EXPECT_TRUE(byGuess.err.ends_with(keptCount)) << byGuess.err;
        }
      }
      // The same values: only the note, a header line, is a difference.
      const Result diff = Habuki{}.Run({"diff", "clean.txt", "d.txt"});
      const bool note = name == std::string_view("a note after the %");
      EXPECT_EQ(diff.status, note ? 1 : 0) << file << ", " << name << ": " << diff.err;
      EXPECT_NE(diff.out.find(note ? "header line(s) differ"
                                   : "0 changed, 0 added, 0 removed, 0 "
                                     "set to 0\n"),
                std::string::npos)
          << file << ", " << name << ": " << diff.out;
    }
  }
}

// Texts that are no backup are refused with what they look like, status 1, nothing written; in
// diff, as a file that cannot be read, status 3.
TEST(FormatGuess, WhatIsNoBackupIsRefused) {
  test::TempDir dir;
  const test::InFolder inDir(dir.path());
  test::WriteBytes("backup.txt", "%\r\nN01005Q1A1P10\r\nN01006Q1P0\r\n%\r\n");
  Habuki{}.Run({"--to", "csv", "-o", "table.csv", "backup.txt"});
  Habuki{}.Run({"--to", "json", "-o", "table.json", "backup.txt"});
  Habuki{}.Run({"--to", "xlsx", "-o", "table.xlsx", "backup.txt"});
  test::WriteBytes("image.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10", 20));
  test::WriteBytes("program.nc", "%\r\nO0001\r\nN10 G01 X10.\r\nN20 M30\r\n%\r\n");
  test::WriteBytes("notes.txt", "%\r\nNOTE: MC-3 was backed up on 2024/05/01\r\n%\r\n");
  const std::pair<std::string, std::string> cases[] = {
      {"image.png", "binary data"},
      {"table.xlsx", "binary data"},
      {"program.nc", "a program with sequence numbers, as line 3: N10 G01 X10."},
      {"table.csv", "a table, as line 1: number,qualifier,entry,marker,value,line"},
      {"table.json", "a JSON document"},
      {"notes.txt", "text without a record"},
  };
  for (const auto& [file, looks] : cases) {
    for (const std::string to : {"thinned", "csv"}) {
      const Result result = Habuki{}.Run({"--to", to, "-o", "out", file});
      EXPECT_EQ(result.status, 1) << file;
      EXPECT_NE(result.err.find(file + ": not a parameter file: it holds no record head of any "
                                       "format"),
                std::string::npos)
          << result.err;
      EXPECT_NE(result.err.find("; it looks like " + looks), std::string::npos) << result.err;
      EXPECT_FALSE(std::filesystem::exists("out")) << file;
    }
    EXPECT_EQ(Habuki{}.Run({"diff", "backup.txt", file}).status, 3) << file;
  }
}

// Heads of two formats in one text need -f; -f of a format whose heads the text lacks says what
// it holds; a CNC backup is never compared with a PMC one.
TEST(FormatGuess, MixedOrWrongFormatsAreTold) {
  test::TempDir dir;
  const test::InFolder inDir(dir.path());
  const std::string cnc = "%\r\nN01005Q1A1P10\r\n%\r\n", pmc = "%\r\nN600002 P10\r\n%\r\n";
  test::WriteBytes("both.txt", cnc + pmc);
  test::WriteBytes("cnc.txt", cnc);
  test::WriteBytes("pmc.txt", pmc);
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"both.txt"},
       2,
       "both.txt: it holds record heads of several formats: 30i, 1 of them, the first at line 2: "
       "N01005Q1A1P10; pmc, 1 of them, the first at line 5: N600002 P10; give the format with "
       "-f\n"},
      {{"-f", "30i", "both.txt"}, 1, "1 record(s) dropped because they follow the closing"},
      {{"-f", "16i", "cnc.txt"},
       1,
       "cnc.txt: not a parameter file of format 16i: it holds no 16i record head (N1005Q1: \"N\", "
       "four digits, \"Q\"); it holds record heads of 30i, 1 of them, the first at line 2: "
       "N01005Q1A1P10; give -f 30i, or no -f\n"},
      {{"diff", "cnc.txt", "pmc.txt"},
       2,
       "pmc.txt holds PMC parameters and cnc.txt CNC parameters (30i): they are different "
       "parameters, so they are not compared\n"},
      {{"diff", "-f", "30i,pmc", "cnc.txt", "pmc.txt"}, 2, "so they are not compared\n"},
  };
  for (const auto& [args, status, err] : cases) {
    const Result result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, status) << args.back() << ": " << result.err;
    EXPECT_NE(result.err.find(err), std::string::npos) << result.err;
  }
}

}  // namespace
}  // namespace habuki
