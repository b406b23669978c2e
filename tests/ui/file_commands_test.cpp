#include <QDir>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>
#include <functional>
#include <memory>

#include "comment/comment_files.h"
#include "core/text/size_limits.h"
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
  EXPECT_TRUE(system.openSettings.empty());
  form.OnOpen();
  ASSERT_EQ(system.openSettings.size(), 1u);
  EXPECT_EQ(system.openSettings[0].fileName, file);  // and the next dialog offers it
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

// A file that cannot be loaded, whichever way it comes, is named with the reason, and the window
// keeps what it showed: the text, its result and the format.
TEST_F(WindowTest, FailedOpenSaysWhyAndKeepsEverything) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  const QString left = LeftPane(), right = RightPane();
  const FilterState before = form.state();
  habuki::test::WriteBytes(dir / "empty.txt", "");
  habuki::test::WriteBytes(dir / "large.txt", "");
  std::filesystem::resize_file(dir / "large.txt", kParamFileLimit + 1);  // sparse: no room taken
  const std::pair<const char*, const char*> files[] = {
      {"missing.txt", "ファイルを読めません: No such file or directory"},
      {"empty.txt", "ファイルが空です。"},
      {"large.txt", "ファイルが大きすぎます（上限は 256 MiB）。"}};
  const std::pair<const char*, std::function<void(const QString&)>> ways[] = {
      {"open",
       [&](const QString& file) {
         system.openAnswers.push_back(file);
         form.OnOpen();
       }},
      {"drop", [&](const QString& file) { form.OnDropOnLeftPane({file}); }},
      {"named at start", [&](const QString& file) { form.OpenFile(file); }}};
  for (const auto& [way, load] : ways) {
    for (const auto& [name, reason] : files) {
      const QString file = QString::fromStdString((dir / name).string());
      system.messages.clear();
      load(file);
      SCOPED_TRACE(std::string(way) + " " + name);
      ASSERT_EQ(system.messages.size(), 1u);
      EXPECT_EQ(system.messages[0].text, QString::fromUtf8("開けませんでした。\r\n\r\n") + file +
                                             "\r\n" + QString::fromUtf8(reason));
      EXPECT_EQ(system.messages[0].title, QString::fromUtf8("ハブキ丸"));
      EXPECT_EQ(LeftPane(), left);
      EXPECT_EQ(RightPane(), right);
      EXPECT_EQ(form.state().AllText, before.AllText);
      EXPECT_EQ(form.state().OutText, before.OutText);
      EXPECT_TRUE(controls.Option2->isChecked());
    }
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
// when the drag was accepted as it entered. The source proposes a move when it offers one, as
// a file manager does with Shift held.
struct Drag {
  bool entered;
  bool dropped;
  Qt::DropAction action;
};

Drag DragAndDrop(QWidget* pane, const QMimeData& data,
                 Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction) {
  const Qt::DropAction proposed = offered.testFlag(Qt::MoveAction)   ? Qt::MoveAction
                                  : offered.testFlag(Qt::CopyAction) ? Qt::CopyAction
                                                                     : Qt::LinkAction;
  QDragEnterEvent enter(QPoint(10, 10), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
  enter.setDropAction(proposed);
  QCoreApplication::sendEvent(pane, &enter);
  QDropEvent drop(QPointF(10, 10), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
  drop.setDropAction(proposed);
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

// A drag that does not offer a copy is refused as it enters: taken, it would be taken as what
// its source proposes, and a source that deletes after a move would lose the backup.
TEST_F(WindowTest, DropsThatDoNotOfferACopyAreRefused) {
  Open("a.txt", kGood16iBad30i);
  habuki::test::WriteBytes(dir / "dropped.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  const std::unique_ptr<QMimeData> file(Files({dir / "dropped.txt"}));
  const std::pair<Qt::DropActions, bool> drags[] = {{Qt::CopyAction, true},
                                                    {Qt::CopyAction | Qt::LinkAction, true},
                                                    {Qt::MoveAction, false},
                                                    {Qt::LinkAction, false},
                                                    {Qt::MoveAction | Qt::LinkAction, false}};
  for (const auto& [offered, taken] : drags) {
    const Drag drag = DragAndDrop(controls.Text1->viewport(), *file, offered);
    EXPECT_EQ(drag.entered, taken) << offered;
    EXPECT_EQ(drag.dropped, taken) << offered;
    if (taken) {
      EXPECT_EQ(drag.action, Qt::CopyAction) << offered;
    }
  }
  EXPECT_TRUE(Exists(dir / "dropped.txt"));
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
  EXPECT_TRUE(system.saveSettings.empty());
}

// Only the result on screen is saved: after another file is loaded, text is typed into an
// empty pane, or a run fails, the save says there is nothing to save and writes nothing.
TEST_F(WindowTest, SaveWithoutAResultOnScreenWritesNothing) {
  const auto thin = [this] { QTest::mouseClick(controls.Command1, Qt::LeftButton); };
  const std::pair<const char*, std::function<void()>> cases[] = {
      {"another file opened",
       [&] {
         thin();
         Open("b.txt", kGood16iBad30i);
       }},
      {"another file dropped",
       [&] {
         thin();
         habuki::test::WriteBytes(dir / "b.txt", kGood16iBad30i);
         form.OnDropOnLeftPane({QString::fromStdString((dir / "b.txt").string())});
       }},
      {"text typed into the empty pane", [&] { controls.Text2->setPlainText("N0001Q1P5"); }},
      {"the run failed", [&] {
         thin();
         controls.Option1->setChecked(true);
         thin();
       }}};
  for (const auto& [name, prepare] : cases) {
    Open("a.txt", kGood16iBad30i);
    prepare();
    system.messages.clear();
    system.saveAnswers = {QString::fromStdString((dir / "out.txt").string())};
    form.OnSave();
    SCOPED_TRACE(name);
    EXPECT_TRUE(system.saveSettings.empty());
    ASSERT_EQ(system.messages.size(), 1u);
    EXPECT_EQ(system.messages[0].text, QString::fromUtf8("保存する結果がありません。"));
    EXPECT_FALSE(Exists(dir / "out.txt"));
    EXPECT_TRUE(form.state().OutText.empty());
  }
}

TEST_F(WindowTest, SaveWritesTheResultNotTheEditsAndConfirms) {
  form.ToggleCommentJ();
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  controls.Text2->appendPlainText("typed by the user");
  system.saveAnswers.push_back(QString::fromStdString((dir / "out.txt").string()));
  form.OnSave();
  ASSERT_EQ(system.saveSettings.size(), 1u);
  EXPECT_EQ(system.saveSettings[0].flags, kOverwritePrompt);
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
  EXPECT_EQ(system.saveSettings.size(), 1u);
  EXPECT_TRUE(system.messages.empty());
  EXPECT_EQ(habuki::test::EntriesIn(dir.path()), 1u);
}

// Taking a loaded file's name would replace a backup with its thinned text, under that name or
// any other name of the same file: the save refuses every file loaded in the session, and its
// dialog offers none of them, only their folder.
TEST_F(WindowTest, SaveRefusesEveryLoadedBackupAndOffersNoName) {
  const QString first = Open("a.txt", kGood16iBad30i);
  habuki::test::WriteBytes(dir / "b.txt", kGood16iBad30i);
  const QString dropped = QString::fromStdString((dir / "b.txt").string());
  form.OnDropOnLeftPane({dropped});
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  std::filesystem::create_symlink(dir / "a.txt", dir / "link.txt");
  const QString targets[] = {first, dropped, QString::fromStdString((dir / "link.txt").string())};
  for (const QString& target : targets) {
    system.saveAnswers.push_back(target);
    form.OnSave();
  }
  ASSERT_EQ(system.messages.size(), std::size(targets));
  for (const auto& message : system.messages) {
    EXPECT_EQ(message.text, QString::fromUtf8("保存出来ませんでした。\r\n\r\n") +
                                QString::fromUtf8(kSaveOverOpenedBackup));
  }
  for (const DialogSettings& offered : system.saveSettings) {
    EXPECT_EQ(offered.folder, QString::fromStdString(dir.path().string()));
    EXPECT_EQ(offered.fileName, QString());
  }
  EXPECT_EQ(habuki::test::ReadBytes(dir / "a.txt"), kGood16iBad30i);
  EXPECT_EQ(habuki::test::ReadBytes(dir / "b.txt"), kGood16iBad30i);
}

// The file dialogs start in the shown file's folder, else in the user's home, whatever folder
// the toolkit remembers; the open dialog offers the shown file.
TEST_F(WindowTest, DialogsStartInTheShownFilesFolderElseHome) {
  form.OnOpen();
  std::filesystem::create_directory(dir / "sub");
  const QString file = Open("sub/a.txt", kGood16iBad30i);
  form.OnOpen();
  ASSERT_EQ(system.openSettings.size(), 3u);
  EXPECT_EQ(system.openSettings[0].folder, QDir::homePath());
  EXPECT_EQ(system.openSettings[0].fileName, QString());
  EXPECT_EQ(system.openSettings[2].folder, QString::fromStdString((dir / "sub").string()));
  EXPECT_EQ(system.openSettings[2].fileName, file);
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
