// What the Win32 view hands to Windows: the panes' text for the CP932 bytes Form1 gives them,
// and the common dialogs' flags.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_system.h"
#include "ui/win32/win32_dialogs.h"
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
                      // As the Qt window shows them: no CP932 character, one U+FFFD each.
                      Shown{"\x80\xA0\xFD\xFF\x85\x40\x81",
                            L"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
                      Shown{test::Utf8ToCp932("ﾊﾟﾗﾒｰﾀ値０\r\n"), L"ﾊﾟﾗﾒｰﾀ値０\r\n"}));

// The save dialog's options are the flags the window was made with, 0x1806.
TEST(Win32Dialogs, SaveOptionsAreTheCommonDialogsFlags) {
  EXPECT_EQ(DialogFlags(kSaveDialogOptions), DWORD{0x1806});
  EXPECT_EQ(DialogFlags({.overwritePrompt = true}), DWORD{OFN_OVERWRITEPROMPT});
}

}  // namespace
}  // namespace habuki::ui::win32
