// What the Win32 window's text panes show for the CP932 bytes Form1 gives them.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_system.h"
#include "ui/win32/win32_text.h"

namespace habuki::ui::win32 {
namespace {

struct Shown {
  std::string cp932;
  std::wstring shown;
};

class PaneTextTest : public ::testing::TestWithParam<Shown> {};

TEST_P(PaneTextTest, ShowsEveryCharacterWithCrLfLineBreaks) {
  EXPECT_EQ(PaneText(GetParam().cp932), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    LineBreaksAndCharacters, PaneTextTest,
    ::testing::Values(Shown{"", L""}, Shown{"N1\r\nN2\r\n", L"N1\r\nN2\r\n"},
                      Shown{"N1\nN2", L"N1\r\nN2"}, Shown{"N1\rN2\r", L"N1\r\nN2\r\n"},
                      Shown{"\n\r\r\n\r", L"\r\n\r\n\r\n\r\n"},
                      Shown{std::string("a\0b", 3), L"a\u2400b"},
                      Shown{test::Utf8ToCp932("ﾊﾟﾗﾒｰﾀ値０\r\n"), L"ﾊﾟﾗﾒｰﾀ値０\r\n"}));

}  // namespace
}  // namespace habuki::ui::win32
