#pragma once

#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "tests/support/test_support.h"
#include "tests/ui/fake_window_system.h"
#include "tests/ui/form1_controls.h"
#include "ui/drop_pane.h"
#include "ui/form1.h"

namespace habuki::ui::test {

// A window on a scripted window system, its program folder a fresh temporary folder.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : system(dir.path()), form(system) {}

  // Writes a parameter file and opens it through the file menu.
  QString Open(std::string_view name, std::string_view bytes) {
    habuki::test::WriteBytes(dir / name, bytes);
    const QString path = QString::fromStdString((dir / name).string());
    system.openAnswers.push_back(path);
    form.OnOpen();
    return path;
  }

  QString LeftPane() const { return controls.Text1->toPlainText(); }
  QString RightPane() const { return controls.Text2->toPlainText(); }

  habuki::test::TempDir dir;
  FakeWindowSystem system;
  Form1 form;
  const Form1Controls controls{form};
};

// A 16i text that the 30i filter cannot read: read as 30i, its second record is of kind "M"
// with the value "5P1".
inline constexpr const char* kGood16iBad30i = "%\r\nN0001Q1P5\r\nN0002Q1AM5P1\r\n%\r\n";
inline constexpr const char* kThinned16i = "%\nN0001Q1P5\nN0002Q1AM5P1\n%";  // as the pane shows it

}  // namespace habuki::ui::test
