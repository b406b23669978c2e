// Rows labelled with what the backups and the user name: the axis an entry stands for, from
// parameter 1020, and the user's names of parameters, from a names file.
#include <gtest/gtest.h>

#include "tests/support/habuki_runner.h"
#include "tests/support/test_support.h"

namespace habuki {
namespace {

using test::Habuki;

// Axes X and Y; a stroke limit of each. z.txt calls its first axis Z and has a larger limit.
constexpr const char* kXy = "%\r\nN01020Q1A1P88A2P89\r\nN01320Q1A1P100A2P50\r\n%\r\n";
constexpr const char* kZy = "%\r\nN01020Q1A1P90A2P89\r\nN01320Q1A1P200A2P50\r\n%\r\n";
constexpr const char* kNames = "# names of our own\r\n1320, Stroke +\r\n";

class Labels : public ::testing::Test {
 protected:
  Labels() {
    test::WriteBytes(dir_ / "xy.txt", kXy);
    test::WriteBytes(dir_ / "zy.txt", kZy);
    test::WriteBytes(dir_ / "names.csv", kNames);
  }
  test::TempDir dir_;
  test::InFolder in_{dir_.path()};
};

TEST_F(Labels, AxisAndNameInEveryForm) {
  const struct {
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {{"--to", "csv", "xy.txt"},
       "number,qualifier,entry,marker,value,line,axis\r\n01020,Q1,A1,P,88,2,X\r\n"
       "01020,Q1,A2,P,89,2,Y\r\n01320,Q1,A1,P,100,3,X\r\n01320,Q1,A2,P,50,3,Y\r\n"},
      {{"--to", "csv", "--names", "names.csv", "--only", "1320", "xy.txt"},
       "number,qualifier,entry,marker,value,line,axis,name\r\n01320,Q1,A1,P,100,3,X,Stroke +\r\n"
       "01320,Q1,A2,P,50,3,Y,Stroke +\r\n"},
      {{"--to", "json", "--names", "names.csv", "--only", "1320-1320", "xy.txt"},
       "{\"file\": \"xy.txt\", \"format\": \"30i\", \"header lines\": [], \"parameters\": [\n"
       "  {\"number\": \"01320\", \"qualifier\": \"Q1\", \"entry\": \"A1\", \"marker\": \"P\", "
       "\"value\": \"100\", \"line\": 3, \"axis\": \"X\", \"name\": \"Stroke +\"},\n"
       "  {\"number\": \"01320\", \"qualifier\": \"Q1\", \"entry\": \"A2\", \"marker\": \"P\", "
       "\"value\": \"50\", \"line\": 3, \"axis\": \"Y\", \"name\": \"Stroke +\"}\n]}\n"},
      // Files that name an axis differently show each file's name.
      {{"diff", "--names", "names.csv", "xy.txt", "zy.txt"},
       "N01020Q1 A1 (X/Z): 88 -> 90\nN01320Q1 A1 (X/Z) [Stroke +]: 100 -> 200\n"
       "2 changed, 0 added, 0 removed, 0 set to 0\n"},
      {{"diff", "--to", "csv", "--only", "1320", "xy.txt", "zy.txt"},
       "number,qualifier,entry,old,new,change,bits,axis\r\n01320,Q1,A1,100,200,changed,,X/Z\r\n"},
      {{"diff", "--names", "names.csv", "--only", "1320", "xy.txt", "xy.txt", "zy.txt"},
       "number  qualifier  entry  axis   name      xy.txt  xy.txt  zy.txt\n"
       "01320   Q1         A1     X/X/Z  Stroke +  100     100     200\n"
       "1 row(s) differ among 3 files\n"},
      {{"diff", "--to", "json", "--only", "1320", "xy.txt", "xy.txt", "zy.txt"},
       "\"entry\": \"A1\", \"axis\": \"X/X/Z\", \"values\""},
  };
  for (auto [args, out] : cases) {
    const test::HabukiRun result = Habuki{}.Run(args);
    EXPECT_LE(result.status, 1) << args.back() << result.err;
    EXPECT_NE(result.out.find(out), std::string::npos) << args[1] << "\n" << result.out;
  }
}

// names.csv of the configuration folder is read without --names, CP932 as well as UTF-8; a
// bad line names the file and the line, and nothing is written.
TEST_F(Labels, NamesFileFoundAndChecked) {
  std::filesystem::create_directories(dir_ / "config");
  test::WriteBytes(dir_ / "config" / "names.csv", "1320,\x83X\x83g\x83\x8D\x81[\x83N\r\n");
  Habuki configured;
  configured.configFolder = dir_ / "config";
  EXPECT_NE(configured.Run({"--to", "csv", "xy.txt"}).out.find("01320,Q1,A1,P,100,3,X,ストローク"),
            std::string::npos);
  test::WriteBytes(dir_ / "bad.csv", "1320,ok\r\n1320 no comma\r\n");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--to", "csv", "--names", "bad.csv", "xy.txt"},
        {"diff", "--names", "bad.csv", "xy.txt", "zy.txt"}}) {
    const test::HabukiRun result = Habuki{}.Run(args);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("bad.csv:2: "), std::string::npos) << result.err;
  }
  const test::HabukiRun missing = Habuki{}.Run({"--to", "csv", "--names", "none.csv", "xy.txt"});
  EXPECT_EQ(missing.status, 3);
  EXPECT_NE(missing.err.find("none.csv: cannot read"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace habuki
