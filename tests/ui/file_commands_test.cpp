#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include "comment_files.h"
#include "drop_pane.h"
#include "pane_text.h"
#include "window_fixture.h"

namespace habuki::ui::test {
namespace {

bool Exists(const std::filesystem::path& file) { return std::filesystem::exists(file); }

TEST_F(WindowTest, OpenShowsTheFileAndSelectsItsFormat) {
  Open("pmc.txt", "%\r\n(PMC=0I-F)\r\nN600000 P1\r\n%\r\n");
  EXPECT_EQ(LeftPane(), "%\n(PMC=0I-F)\nN600000 P1\n%\n");
  EXPECT_TRUE(form.Option3->isChecked());
  Open("30i.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  EXPECT_TRUE(form.Option1->isChecked());
  EXPECT_FALSE(form.Option3->isChecked());
  Open("16i.txt", kGood16iBad30i);
  EXPECT_TRUE(form.Option2->isChecked());
  EXPECT_EQ(form.CDG.fileName, QString::fromStdString((dir / "16i.txt").string()));
}

TEST_F(WindowTest, FileNamedAtStartOpensAsTheOpenCommandWould) {
  habuki::test::WriteBytes(dir / "start.txt", kGood16iBad30i);
  const QString file = QString::fromStdString((dir / "start.txt").string());
  form.OpenFile(file);
  EXPECT_EQ(LeftPane(), PaneText(form.state().AllText));
  EXPECT_TRUE(form.Option2->isChecked());
  EXPECT_EQ(form.CDG.fileName, file);  // and pre-fills the next dialog
  EXPECT_EQ(system.openDialogs, 0);
}

TEST_F(WindowTest, CancelledOpenLeavesThePanes) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(form.Command1, Qt::LeftButton);
  const QString left = LeftPane(), right = RightPane();
  system.openAnswers.push_back(std::nullopt);
  form.OnOpen();
  EXPECT_EQ(LeftPane(), left);
  EXPECT_EQ(RightPane(), right);
}

TEST_F(WindowTest, FailedOpenEmptiesBothPanesAndKeepsTheFormat) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(form.Command1, Qt::LeftButton);
  for (const char* name : {"missing.txt", "empty.txt"}) {
    if (std::string_view(name) == "empty.txt") habuki::test::WriteBytes(dir / name, "");
    system.openAnswers.push_back(QString::fromStdString((dir / name).string()));
    form.OnOpen();
    EXPECT_TRUE(LeftPane().isEmpty()) << name;
    EXPECT_TRUE(RightPane().isEmpty()) << name;
    EXPECT_TRUE(form.Option2->isChecked()) << name;
    EXPECT_TRUE(system.messages.empty()) << name;
  }
}

TEST_F(WindowTest, DropLoadsTheFirstFileOnly) {
  habuki::test::WriteBytes(dir / "first.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  habuki::test::WriteBytes(dir / "second.txt", kGood16iBad30i);
  form.setWindowTitle("changed");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString((dir / "first.txt").string())),
                QUrl::fromLocalFile(QString::fromStdString((dir / "second.txt").string()))});
  form.OnDropOnLeftPane(DroppedFiles(data));
  EXPECT_EQ(LeftPane(), "%\nN00001Q1L1P5\n%\n");
  EXPECT_TRUE(form.Option1->isChecked());
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("ハブキ丸 Ver3.0.1"));
}

TEST_F(WindowTest, DropOfSomethingElseEndsSilently) {
  Open("a.txt", kGood16iBad30i);
  QMimeData text;
  text.setText("N00001Q1P5");
  EXPECT_TRUE(DroppedFiles(text).isEmpty());
  form.OnDropOnLeftPane(DroppedFiles(text));
  EXPECT_TRUE(LeftPane().isEmpty());
  EXPECT_TRUE(form.Option2->isChecked());
  EXPECT_TRUE(system.messages.empty());
}

// Drag and drop as the window system delivers it: onto a pane's viewport.
bool DropOn(QWidget* pane, const QString& file) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(file)});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(pane, &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(pane, &drop);
  return drop.isAccepted();
}

TEST_F(WindowTest, FilesDroppedOnTheLeftPaneOpenAndOnTheRightPaneDoNot) {
  habuki::test::WriteBytes(dir / "dropped.txt", kGood16iBad30i);
  const QString file = QString::fromStdString((dir / "dropped.txt").string());
  EXPECT_FALSE(DropOn(form.Text2->viewport(), file));
  EXPECT_TRUE(LeftPane().isEmpty());
  EXPECT_TRUE(DropOn(form.Text1->viewport(), file));
  EXPECT_EQ(LeftPane(), PaneText(form.state().AllText));
  EXPECT_TRUE(form.Option2->isChecked());
}

TEST_F(WindowTest, SaveWithAnEmptyRightPaneShowsNoDialog) {
  form.OnSave();
  EXPECT_EQ(system.saveDialogs, 0);
}

TEST_F(WindowTest, SaveWritesTheResultNotTheEditsAndConfirms) {
  form.ToggleCommentJ();
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(form.Command1, Qt::LeftButton);
  form.Text2->appendPlainText("typed by the user");
  system.saveAnswers.push_back(QString::fromStdString((dir / "out.txt").string()));
  form.OnSave();
  EXPECT_EQ(system.saveFlags, std::vector<unsigned>{0x1806});
  EXPECT_EQ(habuki::test::ReadBytes(dir / "out.txt"), "%\nN0001Q1P5\r\n%\r\n");
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(system.messages[0].text, QString::fromUtf8("保存しました。"));
  EXPECT_EQ(system.messages[0].title, QString::fromUtf8("ハブキ丸"));
}

TEST_F(WindowTest, FailedSaveSaysWhyAndLeavesTheOldFile) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(form.Command1, Qt::LeftButton);
  system.saveAnswers.push_back(QString::fromStdString((dir / "no" / "out.txt").string()));
  system.saveAnswers.push_back(QString::fromStdString(dir.path().string()));
  form.OnSave();
  form.OnSave();
  ASSERT_EQ(system.messages.size(), 2u);
  EXPECT_EQ(system.messages[0].text,
            QString::fromUtf8("保存出来ませんでした。\r\n\r\nNo such file or directory"));
  EXPECT_EQ(system.messages[0].title, QString::fromUtf8("ハブキ丸"));
  EXPECT_EQ(system.messages[1].text,
            QString::fromUtf8("保存出来ませんでした。\r\n\r\nIs a directory"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path()));
}

TEST_F(WindowTest, ClosingWritesTheFallbackCommentOnlyWhenOneWasUsed) {
  Open("a.txt", kGood16iBad30i);
  form.close();
  EXPECT_FALSE(Exists(dir / "ｺﾒﾝﾄ.txt"));  // no comment loaded yet

  QTest::mouseClick(form.Command1, Qt::LeftButton);  // 日本語ｺﾒﾝﾄ.txt is missing
  form.close();
  EXPECT_EQ(habuki::test::ReadBytes(dir / "ｺﾒﾝﾄ.txt"), std::string(kBuiltInCommentJ) + "\r\n");
}

TEST_F(WindowTest, ExitEndsAtOnceWithoutTheCloseTimeWrite) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(form.Command1, Qt::LeftButton);
  ASSERT_TRUE(form.state().CommentMissing);
  form.mnuSyuuryou->trigger();
  EXPECT_EQ(system.endProgramCalls, 1);
  form.close();  // as the application's shutdown may close its windows
  EXPECT_FALSE(Exists(dir / "ｺﾒﾝﾄ.txt"));
}

}  // namespace
}  // namespace habuki::ui::test
