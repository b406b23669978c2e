#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

#include "tests/support/test_support.h"
#include "tests/ui/scripted_view.h"
#include "ui/form1.h"

namespace habuki::ui::test {

// Form1 on a scripted view, its comment and configuration folder a fresh temporary folder.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : view(dir.path()), form(view) {}

  // Writes a parameter file and opens it through the file menu.
  std::filesystem::path Open(std::string_view name, std::string_view bytes) {
    habuki::test::WriteBytes(dir / name, bytes);
    view.openAnswers.push_back(dir / name);
    form.OnOpen();
    return dir / name;
  }

  // Command1 clicked with the mouse: the press, then the click. A click from the keyboard is
  // the click alone.
  void MouseClick() {
    form.OnFilterButtonPress();
    form.OnFilterButtonClick();
  }

  habuki::test::TempDir dir;
  ScriptedView view;
  Form1 form;
};

// A 16i text that the 30i filter cannot read: read as 30i, its second record is of kind "M"
// with the value "5P1".
inline constexpr const char* kGood16iBad30i = "%\r\nN0001Q1P5\r\nN0002Q1AM5P1\r\n%\r\n";
inline constexpr const char* kThinned16i = "%\nN0001Q1P5\r\nN0002Q1AM5P1\r\n%";

}  // namespace habuki::ui::test
