#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <sstream>

#include "core/filter/detect_format.h"
#include "core/filter/run_filter.h"
#include "core/io/param_file.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

// The real backups keep one record a line, so a plain reading of their lines serves as an
// independent account of what the filter must keep.
std::vector<std::string> SplitAtLf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line, '\n');) lines.push_back(line);
  return lines;
}

bool HasNonZeroDigit(const std::string& value) {
  return value.find_first_of("123456789") != std::string::npos;
}

// The entries of a multi-entry line, or the line's single value as one "entry".
std::vector<std::string> NonZeroParts(const std::string& line) {
  static const std::regex entry("[ALST][0-9]+[PM][-+0-9. ]*");
  std::vector<std::string> parts;
  const std::string body = line.substr(8);
  if (body[0] == 'P' || body[0] == 'M') {
    if (HasNonZeroDigit(body.substr(1))) parts.push_back(body);
    return parts;
  }
  for (std::sregex_iterator it(body.begin(), body.end(), entry), end; it != end; ++it) {
    if (HasNonZeroDigit(it->str().substr(it->str().find_first_of("PM") + 1))) {
      parts.push_back(it->str());
    }
  }
  return parts;
}

std::string Thinned(const std::string& bytes) {
  FilterState state;
  EXPECT_TRUE(LoadParamBytes(state, bytes));
  const FilterOutcome outcome = RunFilter(state, DetectFormat(state.AllText), false);
  EXPECT_TRUE(outcome.produced);
  EXPECT_FALSE(outcome.stats.firstUnhandled);
  EXPECT_FALSE(outcome.stats.firstUnmarked);
  return std::string(state.OutText.Bytes());
}

TEST(RealBackup, ThirtyIKeepsExactlyTheNonZeroValuesOfEveryRecord) {
  const std::string input = test::ReadBytes(test::DataFile("machining-center-30i.txt"));
  const std::string out = Thinned(input);
  EXPECT_EQ(out.size() + 2, 18839u);
  ASSERT_EQ(out.substr(0, 2), "%\n");
  ASSERT_EQ(out.back(), '%');

  std::map<std::string, std::string> kept;  // head -> output line
  for (const std::string& line : SplitAtLf(out.substr(2, out.size() - 3))) {
    ASSERT_TRUE(kept.emplace(line.substr(0, 8), line).second) << "twice: " << line;
  }
  std::size_t records = 0;
  for (const std::string& line : SplitAtLf(input)) {
    if (line.empty() || line[0] != 'N') continue;
    ++records;
    const std::vector<std::string> parts = NonZeroParts(line);
    const auto found = kept.find(line.substr(0, 8));
    if (parts.empty()) {
      EXPECT_EQ(found, kept.end()) << "kept although zero: " << line;
      continue;
    }
    ASSERT_NE(found, kept.end()) << "lost: " << line;
    std::string expected = line.substr(0, 8);
    for (const std::string& part : parts) expected += part;
    EXPECT_EQ(found->second, expected);
    kept.erase(found);
  }
  EXPECT_EQ(records, 9124u);
  EXPECT_TRUE(kept.empty()) << "invented: " << kept.begin()->second;
}

TEST(RealBackup, PmcKeepsItsHeaderAndTheNonZeroRecords) {
  const std::string input = test::ReadBytes(test::DataFile("machining-center-pmc.txt"));
  const std::string out = Thinned(input);
  EXPECT_EQ(out.size() + 2, 1571u);
  std::string expected = "%\n(PMC=0I-F,MSID=1)\n";
  for (const std::string& line : SplitAtLf(input)) {
    if (line.size() > 9 && line[0] == 'N' && HasNonZeroDigit(line.substr(9))) {
      expected += line + "\n";
    }
  }
  EXPECT_EQ(out, expected + "%");
}

std::string WithCrLf(const std::string& text) {
  return std::regex_replace(text, std::regex("\n"), "\r\n");
}

TEST(RealBackup, CrLfCopyGivesTheSameRecordsWithItsOwnLineEnds) {
  for (const char* name : {"machining-center-30i.txt", "machining-center-pmc.txt"}) {
    const std::string input = test::ReadBytes(test::DataFile(name));
    const std::string lf = Thinned(input);
    const std::string crlf = Thinned(WithCrLf(input));
    EXPECT_EQ(std::regex_replace(crlf, std::regex("\r\n"), "\n"),
              name[17] == 'p' ? "%\n\n" + lf.substr(2) : lf)  // the PMC preamble starts at LF
        << name;
  }
}

TEST(RealBackup, TruncatedCopyKeepsEveryRecordUpToTheCut) {
  const std::string input = test::ReadBytes(test::DataFile("machining-center-30i.txt"));
  const std::string full = Thinned(input);
  const std::size_t cut = input.find("\nN05000") + 1;
  std::string expected = "%\n";
  for (const std::string& line : SplitAtLf(full.substr(2, full.size() - 3))) {
    if (line < "N05000") expected += line + "\n";
  }
  EXPECT_EQ(Thinned(input.substr(0, cut)), expected + "%");
}

}  // namespace
}  // namespace habuki
