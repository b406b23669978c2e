#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "form1.h"
#include "pane_text.h"
#include "qt_window_system.h"
#include "test_support.h"

namespace habuki::ui {
namespace {

TEST(QtNameFilters, KeepTheFileTypesInQtsFormInBothCases) {
  EXPECT_EQ(QtNameFilters(QString::fromUtf8(
                "ﾊﾟﾗﾒｰﾀﾌｧｲﾙ(*.PRM;*.PMC;*.TXT;*.DAT)|*.PRM;*.PMC;*.TXT;*.DAT|全てのﾌｧｲﾙ(*.*)|*.*")),
            QStringList({QString::fromUtf8("ﾊﾟﾗﾒｰﾀﾌｧｲﾙ(*.PRM;*.PMC;*.TXT;*.DAT) (*.PRM *.prm *.PMC "
                                           "*.pmc *.TXT *.txt *.DAT *.dat)"),
                         QString::fromUtf8("全てのﾌｧｲﾙ(*.*) (*.*)")}));
}

TEST(PaneText, ShowsCp932AsTextWithOneKindOfLineBreak) {
  const Cp932Text text = Cp932Text::FromBytes("N1\x83\x4E\xFD\r\nN2\nN3\r\r\n");
  EXPECT_EQ(PaneText(text), QString::fromUtf8("N1ク\uFFFD\nN2\nN3\n\n"));
}

// With the real window system the exit command ends the event loop; Qt may close the window
// on the way out, but the comment file is written only when the user closes the window.
TEST(QtWindowSystem, ExitDoesNotWriteTheCommentFile) {
  habuki::test::TempDir dir;
  QtWindowSystem system(dir.path());
  Form1 form(system);
  habuki::test::WriteBytes(dir / "a.txt", "%\r\nN0001Q1P5\r\n%\r\n");
  form.OnDropOnLeftPane({QString::fromStdString((dir / "a.txt").string())});
  QTest::mouseClick(form.Command1, Qt::LeftButton);
  ASSERT_TRUE(form.state().CommentMissing);
  form.show();
  QTimer::singleShot(0, &form, [&] { form.mnuSyuuryou->trigger(); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "ｺﾒﾝﾄ.txt"));
  form.close();
  EXPECT_FALSE(std::filesystem::exists(dir / "ｺﾒﾝﾄ.txt"));
}

}  // namespace
}  // namespace habuki::ui
