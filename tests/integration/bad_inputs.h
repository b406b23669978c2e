#pragma once

// Every kind of bad input a user can hand habuki, with what each program must make of it: a
// clear error, the specified message or silence, never a crash or a partial output file. The
// command line's half runs in every build (bad_inputs_cli_test.cpp), the window's where the
// window is built (bad_inputs_test.cpp).
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench/param_generator.h"
#include "tests/support/test_support.h"

namespace habuki::test::bad_inputs {

enum class Outcome { Thinned, FilterFails, CannotLoad };

struct BadInput {
  std::string name;
  std::function<std::filesystem::path(const TempDir&)> make;  // writes the input, gives its path
  Outcome outcome;
  int cliStatus;
  std::string cliMessage;  // part of what the command line says on standard error
  std::function<void(const std::string& result)> check{};  // for inputs that are thinned
  // What the command line makes of it where that is not what the window does: it refuses a text
  // without a record head of the format it reads, which the window, showing its guess, thins.
  std::optional<Outcome> cliOutcome{};
};

// The bytes are made only when the test runs: each test runs in a process of its own.
inline std::function<std::filesystem::path(const TempDir&)> File(
    std::function<std::string()> bytes) {
  return [bytes = std::move(bytes)](const TempDir& dir) {
    WriteBytes(dir / "input.txt", bytes());
    return dir / "input.txt";
  };
}

inline std::function<std::filesystem::path(const TempDir&)> File(std::string bytes) {
  return File([bytes = std::move(bytes)] { return bytes; });
}

inline std::string Entries(int count) {
  return "%\r\n" + test::EntryRecord(count, 'L', "P1") + "%\r\n";
}

inline std::string RandomBytes(std::size_t size) {
  std::string bytes(size, '\0');
  unsigned state = 12345;
  for (char& byte : bytes) byte = static_cast<char>((state = state * 1103515245 + 12345) >> 16);
  return bytes;
}

inline auto Contains(std::string part) {
  return [part = std::move(part)](const std::string& result) {
    EXPECT_NE(result.find(part), std::string::npos) << part;
  };
}

// A record whose head holds a pair, bytes that are no CP932, NUL, 0x1A and a lone lead byte.
inline const std::string kOdd(
    "N\x85\x40\xFD\x00\x1A\x81"
    "01P5\r\n",
    13);

inline std::vector<BadInput> Table() {
  return {
      {"empty file", File(""), Outcome::CannotLoad, 3, "file is empty"},
      {"a directory", [](const TempDir& dir) { return dir.path(); }, Outcome::CannotLoad, 3,
       "cannot read: Is a directory"},
      {"a missing file", [](const TempDir& dir) { return dir / "missing.txt"; },
       Outcome::CannotLoad, 3, "missing.txt: cannot read: "},  // then the system's reason
      {"random binary bytes", File(RandomBytes(4096)), Outcome::Thinned, 1,
       "not a parameter file: it holds no record head of any format",
       [](const std::string& result) { EXPECT_EQ(result.substr(result.size() - 3), "%\r\n"); },
       Outcome::FilterFails},
      {"NUL bytes", File(std::string(100, '\0')), Outcome::FilterFails, 1,
       "not a parameter file: it holds no record head of any format (30i N01005Q1: \"N\", five "
       "digits, \"Q\"; 16i N1005Q1: \"N\", four digits, \"Q\"; pmc N600002 P10: \"N\", six "
       "digits, a blank or \"P\"); it looks like binary data, such as an image, an archive or a "
       "workbook\n"},
      {"invalid CP932 in a kept record", File("%\r\n" + kOdd + "N00002Q1L1P0\r\n%\r\n"),
       Outcome::Thinned, 0, "",
       [](const std::string& result) { EXPECT_EQ(result, "%\n" + kOdd + "%\r\n"); }},
      {"LF line ends", File("%\nN00001Q1L1P5\nN00002Q1P0\n%\n"), Outcome::Thinned, 0, "",
       [](const std::string& result) { EXPECT_EQ(result, "%\nN00001Q1L1P5\n%\r\n"); }},
      {"CR line ends", File("%\rN00001Q1L1P5\rN00002Q1P0\r%\r"), Outcome::Thinned, 0, "",
       [](const std::string& result) { EXPECT_EQ(result, "%\nN00001Q1L1P5\r\n%\r\n"); }},
      {"no N", File("%\r\nthis is no parameter file\r\n%\r\n"), Outcome::FilterFails, 1,
       "input.txt: not a parameter file: it holds no record head of any format"},
      {"no %", File("N00001Q1L1P5\r\nN00002Q1P7\r\n"), Outcome::Thinned, 0, "",
       Contains("N00002Q1P7\r\n%")},
      {"text after the closing %", File("%\r\nN00001Q1L1P5\r\n%\r\nNOTE 1\r\n"), Outcome::Thinned,
       1,
       ":4:1: 1 record(s) dropped because they follow the closing \"%\", not because they are "
       "zero; the first: NOTE 1",
       [](const std::string& result) { EXPECT_EQ(result, "%\nN00001Q1L1P5\r\n%\r\n"); }},
      {"a % inside a record", File("%\r\nN00001Q1L1P5%\r\nN00002Q1P7\r\n%\r\n"), Outcome::Thinned,
       1, "1 record(s) dropped because they follow the closing \"%\"",
       [](const std::string& result) { EXPECT_EQ(result, "%\nN00001Q1L1P5\n%\r\n"); }},
      {"a value that is no number", File("%\r\nN00001Q1L1P5\r\nN00002Q1P1O\r\n%\r\n"),
       Outcome::FilterFails, 1, ":3:10: value empty or not a number: 1O"},
      {"a value of 10,000 digits",
       File("%\r\nN00001Q1P" + std::string(9999, '0') + "1\r\nN00002Q1L1P" +
            std::string(10000, '0') + "\r\n%\r\n"),
       Outcome::Thinned, 0, "", Contains(std::string(9999, '0') + "1\r\n%")},
      {"999 entries in one record", File([] { return Entries(999); }), Outcome::Thinned, 0, "",
       Contains("L999P1\r\n%")},
      {"1,000 entries in one record", File([] { return Entries(1000); }), Outcome::Thinned, 0, "",
       Contains("L1000P1\r\n%")},
      {"1,001 entries in one record", File([] { return Entries(1001); }), Outcome::FilterFails, 1,
       ":2:5902: entry limit: more than 1000 entries in one record: L1001P1"},
      {"99,999 records", File([] { return test::Records(99999, "L1P1"); }), Outcome::Thinned, 0, "",
       Contains("N99998Q1L1P1\r\n%")},
      {"100,000 records", File([] { return test::Records(100000, "L1P1"); }), Outcome::FilterFails,
       1, ":100001:1: record limit"},
      {"a 50 MB file", File([] { return bench::GenerateAdversarial30i(50 << 20); }),
       Outcome::Thinned, 0, "", [](const std::string& result) { EXPECT_GT(result.size(), 1000u); }},
  };
}

inline void PrintTo(const BadInput& input, std::ostream* out) { *out << input.name; }

// Test names made of the inputs' names.
inline std::string NameOf(const ::testing::TestParamInfo<BadInput>& info) {
  std::string name;
  for (const char c : info.param.name) name += std::isalnum(c) ? c : '_';
  return name;
}

}  // namespace habuki::test::bad_inputs
