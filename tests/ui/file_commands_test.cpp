#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>
#include <memory>

#include "comment/comment_files.h"
#include "habuki/version.h"
#include "tests/ui/window_fixture.h"
#include "ui/drop_pane.h"
#include "ui/pane_text.h"
#include "ui/window_texts.h"

namespace habuki::ui::test {
namespace {

bool Exists(const std::filesystem::path& file) { return std::filesystem::exists(file); }

TEST_F(WindowTest, OpenShowsTheFileAndSelectsItsFormat) {
  Open("pmc.txt", "%\r\n(PMC=0I-F)\r\nN600000 P1\r\n%\r\n");
  EXPECT_EQ(LeftPane(), "%\n(PMC=0I-F)\nN600000 P1\n%\n");
  EXPECT_TRUE(controls.Option3->isChecked());
  Open("30i.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  EXPECT_TRUE(controls.Option1->isChecked());
  EXPECT_FALSE(controls.Option3->isChecked());
  Open("16i.txt", kGood16iBad30i);
  EXPECT_TRUE(controls.Option2->isChecked());
  EXPECT_EQ(form.DialogSettingsCDG().fileName, QString::fromStdString((dir / "16i.txt").string()));
}

TEST_F(WindowTest, FileNamedAtStartOpensAsTheOpenCommandWould) {
  habuki::test::WriteBytes(dir / "start.txt", kGood16iBad30i);
  const QString file = QString::fromStdString((dir / "start.txt").string());
  form.OpenFile(file);
  EXPECT_EQ(LeftPane(), PaneText(form.state().AllText));
  EXPECT_TRUE(controls.Option2->isChecked());
  EXPECT_EQ(form.DialogSettingsCDG().fileName, file);  // and pre-fills the next dialog
  EXPECT_EQ(system.openDialogs, 0);
}

TEST_F(WindowTest, CancelledOpenLeavesThePanes) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  const QString left = LeftPane(), right = RightPane();
  system.openAnswers.push_back(std::nullopt);
  form.OnOpen();
  EXPECT_EQ(LeftPane(), left);
  EXPECT_EQ(RightPane(), right);
}

TEST_F(WindowTest, FailedOpenEmptiesBothPanesAndKeepsTheFormat) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  for (const char* name : {"missing.txt", "empty.txt"}) {
    if (std::string_view(name) == "empty.txt") habuki::test::WriteBytes(dir / name, "");
    system.openAnswers.push_back(QString::fromStdString((dir / name).string()));
    form.OnOpen();
    EXPECT_TRUE(LeftPane().isEmpty()) << name;
    EXPECT_TRUE(RightPane().isEmpty()) << name;
    EXPECT_TRUE(controls.Option2->isChecked()) << name;
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
  EXPECT_TRUE(controls.Option1->isChecked());
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("ハブキ丸 Ver") + kVersionText);
}

// Drag and drop as the window system delivers it, onto a pane's viewport: the drop comes only
// when the drag was accepted as it entered. The source offers a move, as a file manager does
// with Shift held.
struct Drag {
  bool entered;
  bool dropped;
  Qt::DropAction action;
};

Drag DragAndDrop(QWidget* pane, const QMimeData& data) {
  const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(QPoint(10, 10), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
  enter.setDropAction(Qt::MoveAction);
  QCoreApplication::sendEvent(pane, &enter);
  QDropEvent drop(QPointF(10, 10), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
  drop.setDropAction(Qt::MoveAction);
  if (enter.isAccepted()) QCoreApplication::sendEvent(pane, &drop);
  return {enter.isAccepted(), drop.isAccepted(), drop.dropAction()};
}

QMimeData* Files(const std::vector<std::filesystem::path>& files) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  for (const auto& file : files) urls << QUrl::fromLocalFile(QString::fromStdString(file.string()));
  data->setUrls(urls);
  return data;
}

TEST_F(WindowTest, FilesDroppedOnTheLeftPaneOpenAsACopyAndOnTheRightPaneDoNot) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  const QString result = RightPane();
  habuki::test::WriteBytes(dir / "dropped.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  const std::unique_ptr<QMimeData> file(Files({dir / "dropped.txt"}));
  EXPECT_FALSE(DragAndDrop(controls.Text2->viewport(), *file).entered);
  EXPECT_EQ(RightPane(), result);

  const Drag drag = DragAndDrop(controls.Text1->viewport(), *file);
  EXPECT_TRUE(drag.dropped);
  EXPECT_EQ(drag.action, Qt::CopyAction);  // a move would have the source delete the file
  EXPECT_EQ(LeftPane(), "%\nN00001Q1L1P5\n%\n");
  EXPECT_TRUE(RightPane().isEmpty());
  EXPECT_TRUE(controls.Option1->isChecked());
}

// Dragged text is refused as it enters: the panes keep what they show, and the source, told
// nothing was taken, keeps its text.
TEST_F(WindowTest, DraggedTextIsRefusedAndClearsNothing) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  const QString result = RightPane();
  QMimeData text;
  text.setText("N00001Q1P5");
  const Drag drag = DragAndDrop(controls.Text1->viewport(), text);
  EXPECT_FALSE(drag.entered);
  EXPECT_FALSE(drag.dropped);
  EXPECT_EQ(RightPane(), result);
  EXPECT_EQ(LeftPane(), PaneText(form.state().AllText));
}

TEST_F(WindowTest, SaveWithAnEmptyRightPaneShowsNoDialog) {
  form.OnSave();
  EXPECT_EQ(system.saveDialogs, 0);
}

TEST_F(WindowTest, SaveWritesTheResultNotTheEditsAndConfirms) {
  form.ToggleCommentJ();
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  controls.Text2->appendPlainText("typed by the user");
  system.saveAnswers.push_back(QString::fromStdString((dir / "out.txt").string()));
  form.OnSave();
  EXPECT_EQ(system.saveFlags, std::vector<unsigned>{0x1806});
  EXPECT_EQ(habuki::test::ReadBytes(dir / "out.txt"), "%\nN0001Q1P5\r\nN0002Q1AM5P1\r\n%\r\n");
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(system.messages[0].text, QString::fromUtf8("保存しました。"));
  EXPECT_EQ(system.messages[0].title, QString::fromUtf8("ハブキ丸"));
}

TEST_F(WindowTest, FailedSaveSaysWhyAndLeavesTheOldFile) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
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

TEST_F(WindowTest, CancelledSaveShowsAndWritesNothing) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  system.saveAnswers.push_back(std::nullopt);
  form.OnSave();
  EXPECT_EQ(system.saveDialogs, 1);
  EXPECT_TRUE(system.messages.empty());
  EXPECT_EQ(habuki::test::EntriesIn(dir.path()), 1u);
}

// The save dialog offers the opened file's name; taking it would replace the backup with its
// thinned text, under that name or any other name of the same file.
TEST_F(WindowTest, SaveRefusesTheOpenedBackup) {
  const QString opened = Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  std::filesystem::create_symlink(dir / "a.txt", dir / "link.txt");
  for (const QString& target : {opened, QString::fromStdString((dir / "link.txt").string())}) {
    system.saveAnswers.push_back(target);
    form.OnSave();
  }
  ASSERT_EQ(system.messages.size(), 2u);
  for (const auto& message : system.messages) {
    EXPECT_EQ(message.text, QString::fromUtf8("保存出来ませんでした。\r\n\r\n") +
                                QString::fromUtf8(kSaveOverOpenedBackup));
  }
  EXPECT_EQ(habuki::test::ReadBytes(dir / "a.txt"), kGood16iBad30i);
}

TEST_F(WindowTest, ClosingWritesTheFallbackCommentOnlyWhenOneWasUsed) {
  Open("a.txt", kGood16iBad30i);
  form.close();
  EXPECT_FALSE(Exists(dir / "ｺﾒﾝﾄ.txt"));  // no comment loaded yet

  QTest::mouseClick(controls.Command1, Qt::LeftButton);  // 日本語ｺﾒﾝﾄ.txt is missing
  form.close();
  EXPECT_EQ(habuki::test::ReadBytes(dir / "ｺﾒﾝﾄ.txt"), std::string(kBuiltInCommentJ) + "\r\n");
}

TEST_F(WindowTest, ClosingSaysWhyTheCommentFileCouldNotBeWritten) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  habuki::test::WriteBytes(dir / "file", "");
  system.configFolder = dir / "file" / "habuki";
  testing::internal::CaptureStderr();
  form.close();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("ｺﾒﾝﾄ.txt: cannot write: Not a directory"),
            std::string::npos);
}

TEST_F(WindowTest, ExitEndsAtOnceWithoutTheCloseTimeWrite) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  ASSERT_TRUE(form.state().CommentMissing);
  controls.mnuSyuuryou->trigger();
  EXPECT_EQ(system.endProgramCalls, 1);
  form.close();  // as the application's shutdown may close its windows
  EXPECT_FALSE(Exists(dir / "ｺﾒﾝﾄ.txt"));
}

}  // namespace
}  // namespace habuki::ui::test
