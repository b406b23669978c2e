#include "core/table/parameter_names.h"

#include <gtest/gtest.h>

namespace habuki {
namespace {

using Lookups = std::vector<std::pair<std::string, std::optional<std::string>>>;

TEST(ParameterNames, NamesOfGoodFiles) {
  const struct {
    const char* name;
    std::string bytes;
    Lookups lookups;  // a number and the name it finds
  } cases[] = {
      {"LF",
       "1020,Axis name\n1005,Axis setting\n",
       {{"1020", "Axis name"}, {"1005", "Axis setting"}}},
      {"CR LF, no break at the end",
       "1020,Axis name\r\n1005,Axis setting",
       {{"1020", "Axis name"}, {"1005", "Axis setting"}}},
      {"byte order mark",
       "\xEF\xBB\xBF"
       "1020,Axis name\n",
       {{"1020", "Axis name"}}},
      {"comments and blank lines",
       "# number,name\r\n\r\n  \t\r\n  # 1005,x\n1020,Axis\n",
       {{"1020", "Axis"}, {"1005", std::nullopt}}},
      {"blanks trimmed, commas kept",
       " 1020 ,\t Name, of the axis  \r\n",
       {{"1020", "Name, of the axis"}}},
      {"quoted as a spreadsheet quotes",
       "1020,\"Name, \"\"program\"\"\"\n1021,\"half\" quoted\n1022,\"\"\"\n1023,\"a\"b\"",
       {{"1020", "Name, \"program\""},
        {"1021", "\"half\" quoted"},
        {"1022", "\"\"\""},
        {"1023", "\"a\"b\""}}},
      {"leading zeros",
       "01020,Axis\n0,Zero\n",
       {{"1020", "Axis"},
        {"001020", "Axis"},
        {"00000", "Zero"},
        {"", std::nullopt},
        {"1020x", std::nullopt},
        {"10200", std::nullopt}}},
      {"UTF-8", "1020,\xE8\xBB\xB8\xE5\x90\x8D\n", {{"1020", "\xE8\xBB\xB8\xE5\x90\x8D"}}},
      {"CP932",
       "1020,\x8E\xE5\x8E\xB2\r\n1021,\xB1\r\n",
       {{"1020", "\xE4\xB8\xBB\xE8\xBB\xB8"}, {"1021", "\xEF\xBD\xB1"}}},
  };
  for (const auto& [name, bytes, lookups] : cases) {
    const ParameterNamesReading reading = ParseParameterNames(bytes);
    EXPECT_TRUE(reading.errors.empty()) << name;
    for (const auto& [number, found] : lookups) {
      EXPECT_EQ(reading.names.NameOf(number), found) << name << ": " << number;
    }
  }
}

// Every bad line is told, by its line number, and a file with one names nothing.
TEST(ParameterNames, EveryBadLineOfAFile) {
  const std::string bytes =
      "# number,name\r\n"
      "1020 Axis name\r\n"
      ",Name\r\n"
      "1O20,Name\r\n"
      "1234567890,Name\r\n"
      "1021,  \r\n"
      "1022,\"\"\r\n"
      "01005,Setting\r\n"
      "\x1B[2J,Name\r\n"
      "1005,Setting again\r\n";
  const std::vector<std::string> expected = {
      "line 2: no comma between the number and the name",
      "line 3: no number before the comma",
      "line 4: \"1O20\" is no number of 1 to 9 digits",
      "line 5: \"1234567890\" is no number of 1 to 9 digits",
      "line 6: no name after the comma",
      "line 7: no name after the comma",
      "line 9: \"\\x1B[2J\" is no number of 1 to 9 digits",
      "line 10: parameter 1005 is named on line 8 already",
  };
  const ParameterNamesReading reading = ParseParameterNames(bytes);
  std::vector<std::string> messages;
  for (const NamesFileError& error : reading.errors) messages.push_back(error.Message());
  EXPECT_EQ(messages, expected);
  EXPECT_EQ(reading.names.size(), 0u);
  EXPECT_EQ(reading.names.NameOf("1005"), std::nullopt);
}

}  // namespace
}  // namespace habuki
