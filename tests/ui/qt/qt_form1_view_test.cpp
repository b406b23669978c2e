// Form1's Qt view: its controls and menus as the window was drawn, and that every click, press,
// drop and close reaches Form1's commands and what they set is on screen. What the commands do
// is tested on the scripted view (tests/ui).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "comment/comment_files.h"
#include "habuki/version.h"
#include "tests/support/test_support.h"
#include "tests/ui/qt/form1_controls.h"
#include "tests/ui/qt/scripted_qt_view.h"
#include "ui/qt/pane_text.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/qt_twips.h"

namespace habuki::ui::test {
namespace {

// A 16i text that the 30i filter cannot read, and its result as the right pane shows it.
constexpr const char* kGood16iBad30i = "%\r\nN0001Q1P5\r\nN0002Q1AM5P1\r\n%\r\n";
const QString kThinned16i = QStringLiteral("%\nN0001Q1P5\nN0002Q1AM5P1\n%");
const QString kIdle = QString::fromUtf8("ハブキ");
const QString kBusy = QString::fromUtf8("削除中");

// The Qt view on a scripted dialog and message script, its folder a fresh temporary folder.
class QtWindowTest : public ::testing::Test {
 protected:
  QtWindowTest() : window(dir.path()) {}

  // Writes a parameter file and opens it through the file menu.
  void Open(std::string_view name, std::string_view bytes) {
    habuki::test::WriteBytes(dir / name, bytes);
    window.openAnswers.push_back(dir / name);
    controls.mnuOpen->trigger();
  }

  QString LeftPane() const { return controls.Text1->toPlainText(); }
  QString RightPane() const { return controls.Text2->toPlainText(); }

  habuki::test::TempDir dir;
  ScriptedQtView window;
  const Form1Controls controls{window};
};

QStringList Texts(const QList<QAction*>& actions) {
  QStringList texts;
  for (const QAction* action : actions) texts << (action->isSeparator() ? "-" : action->text());
  return texts;
}

TEST_F(QtWindowTest, StartsWithItsTitleCaptionsAndNothingSelected) {
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("ハブキ丸 Ver") + kVersionText);
  EXPECT_EQ(controls.Command1->text(), kIdle);
  EXPECT_EQ(controls.Label1->text(),
            QString::fromUtf8(
                "FANUCのＣＮＣパラメータで、パラメータ値\"０\"のパラメータをハブキします。"));
  EXPECT_EQ(controls.Option1->text(), "Fs-30i");
  EXPECT_EQ(controls.Option2->text(), QString::fromUtf8("Fs-16i他"));
  EXPECT_EQ(controls.Option3->text(), QString::fromUtf8("PMCﾊﾟﾗﾒｰﾀ"));
  EXPECT_EQ(controls.Frame1->title(), "");
  for (const QRadioButton* option : {controls.Option1, controls.Option2, controls.Option3}) {
    EXPECT_FALSE(option->isChecked());
    EXPECT_EQ(option->parentWidget(), controls.Frame1);
  }
  EXPECT_EQ(window.SelectedOption(), std::nullopt);
  EXPECT_TRUE(LeftPane().isEmpty());
  EXPECT_TRUE(RightPane().isEmpty());
  EXPECT_EQ(window.focusWidget(), controls.Command1);
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_EQ(window.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
}

TEST_F(QtWindowTest, LabelCaptionFitsItsPlace) {
  EXPECT_LE(QFontMetricsF(controls.Label1->font()).horizontalAdvance(controls.Label1->text()),
            controls.Label1->width());
}

TEST_F(QtWindowTest, MenusInOrderWithTheJapaneseCommentChecked) {
  EXPECT_EQ(Texts(window.menuBar()->actions()),
            QStringList({QString::fromUtf8("ﾌｧｲﾙ"), QString::fromUtf8("設定")}));
  EXPECT_EQ(Texts(controls.mnuFile->actions()),
            QStringList({QString::fromUtf8("開く"), QString::fromUtf8("保存"), "-",
                         QString::fromUtf8("終了")}));
  EXPECT_EQ(controls.mnuFile->actions()[2], controls.mnuSp1);
  EXPECT_EQ(Texts(controls.mnuSettei->actions()),
            QStringList({QString::fromUtf8("先頭に日本語のｺﾒﾝﾄを付加する"),
                         QString::fromUtf8("先頭に英語のｺﾒﾝﾄを付加する")}));
  EXPECT_TRUE(controls.mnuCommentJ->isChecked());
  EXPECT_FALSE(controls.mnuCommentE->isChecked());
  // The desktop's own shortcuts, with the captions unchanged.
  EXPECT_EQ(controls.mnuOpen->shortcut(), QKeySequence(QKeySequence::Open));
  EXPECT_EQ(controls.mnuHozon->shortcut(), QKeySequence(QKeySequence::Save));
  EXPECT_EQ(controls.mnuSyuuryou->shortcut(), QKeySequence(QKeySequence::Quit));
}

TEST_F(QtWindowTest, CommentItemsCheckAtMostOne) {
  controls.mnuCommentE->trigger();
  EXPECT_FALSE(controls.mnuCommentJ->isChecked());
  EXPECT_TRUE(controls.mnuCommentE->isChecked());
  controls.mnuCommentE->trigger();
  EXPECT_FALSE(controls.mnuCommentJ->isChecked());
  EXPECT_FALSE(controls.mnuCommentE->isChecked());
  controls.mnuCommentJ->trigger();
  EXPECT_TRUE(controls.mnuCommentJ->isChecked());
  EXPECT_FALSE(controls.mnuCommentE->isChecked());
}

TEST_F(QtWindowTest, GeometryInTwipsStaysPutOnResize) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QRect button = TwipsRect(window, {3960, 4800, 2175, 615});
  EXPECT_EQ(controls.Command1->geometry(), button);
  EXPECT_EQ(controls.Option3->geometry(), TwipsRect(window, {1320, 120, 1335, 255}));
  EXPECT_EQ(window.centralWidget()->size(), TwipsRect(window, {0, 0, 6780, 5535}).size());
  if (window.logicalDpiX() == 96 && window.logicalDpiY() == 96) {
    EXPECT_EQ(window.centralWidget()->size(), QSize(452, 369));
    EXPECT_EQ(button, QRect(264, 320, 145, 41));
  }
  window.resize(900, 700);
  EXPECT_EQ(controls.Command1->geometry(), button);
}

TEST_F(QtWindowTest, TabOrderFromTheButtonThroughPanesToOptions) {
  std::vector<QWidget*> order{controls.Command1};
  for (QWidget* next = controls.Command1->nextInFocusChain();
       order.size() < 6 && next != controls.Command1; next = next->nextInFocusChain()) {
    if (next->focusPolicy() & Qt::TabFocus) order.push_back(next);
  }
  EXPECT_EQ(order, (std::vector<QWidget*>{controls.Command1, controls.Text1, controls.Text2,
                                          controls.Option1, controls.Option2, controls.Option3}));
}

TEST_F(QtWindowTest, OnlyTheLeftPaneTakesDrops) {
  EXPECT_TRUE(controls.Text1->acceptDrops());
  EXPECT_FALSE(controls.Text2->acceptDrops());
  EXPECT_FALSE(window.acceptDrops());
}

// The menu items and the button reach Form1's commands, and the panes, the options and the
// messages show what the commands set: the text decoded from CP932 with one kind of line break.
TEST_F(QtWindowTest, MenusAndTheButtonRunTheCommandsOnScreen) {
  controls.mnuCommentE->trigger();
  Open("a.txt", "%\r\nN00001Q1L1P5\r\nN00002Q1\x83\x4EP0\r\n%\r\n");
  ASSERT_EQ(window.openSettings.size(), 1u);
  EXPECT_EQ(LeftPane(), QString::fromUtf8("%\nN00001Q1L1P5\nN00002Q1クP0\n%\n"));
  EXPECT_TRUE(controls.Option1->isChecked());
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(RightPane(), PaneText(window.form().state().OutText.Bytes()));
  EXPECT_TRUE(RightPane().startsWith("Parameters of the parameter value 0 have been omitted.\n%"));
  window.saveAnswers.push_back(dir / "out.txt");
  controls.mnuHozon->trigger();
  ASSERT_EQ(window.saveSettings.size(), 1u);
  EXPECT_EQ(habuki::test::ReadBytes(dir / "out.txt"),
            std::string(window.form().state().OutText.Bytes()) + "\r\n");
  ASSERT_FALSE(window.messages.empty());
  EXPECT_EQ(window.messages.back().text, "保存しました。");
}

// What the user types into the right pane is never saved, but a pane left empty has nothing to
// save.
TEST_F(QtWindowTest, EditsInTheRightPaneDecideOnlyWhetherItIsEmpty) {
  Open("a.txt", kGood16iBad30i);
  controls.Text2->setPlainText("typed");
  controls.mnuHozon->trigger();
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  controls.Text2->clear();
  controls.mnuHozon->trigger();
  ASSERT_EQ(window.messages.size(), 2u);
  EXPECT_EQ(window.messages[0].text, "保存する結果がありません。");
  EXPECT_EQ(window.messages[1].text, "保存する結果がありません。");
  controls.Text2->setPlainText("typed");
  window.saveAnswers.push_back(dir / "out.txt");
  controls.mnuHozon->trigger();
  EXPECT_EQ(habuki::test::ReadBytes(dir / "out.txt"),
            std::string(kBuiltInCommentJ) + "\n%\nN0001Q1P5\r\nN0002Q1AM5P1\r\n%\r\n");
  EXPECT_EQ(window.saveSettings.size(), 1u);
}

// Records the button's caption whenever it is painted.
class PaintWatcher : public QObject {
 public:
  explicit PaintWatcher(QPushButton* button) : button_(button) { button->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) captions << button_->text();
    return false;
  }
  QStringList captions;

 private:
  QPushButton* button_;
};

TEST_F(QtWindowTest, MousePressShowsBusyAndTheClickShowsTheResult) {
  controls.mnuCommentJ->trigger();  // no comment line
  Open("a.txt", kGood16iBad30i);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  controls.Text2->setPlainText("old");
  PaintWatcher watcher(controls.Command1);

  QTest::mousePress(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(controls.Command1->text(), kBusy);
  EXPECT_TRUE(RightPane().isEmpty());
  EXPECT_TRUE(watcher.captions.contains(kBusy));  // painted before the click handler runs
  QTest::mouseRelease(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(controls.Command1->text(), kIdle);
  EXPECT_EQ(RightPane(), kThinned16i);
  EXPECT_TRUE(window.messages.empty());
}

// Loading and thinning show the wait cursor while the panes fill, and give it back after,
// whether they worked or not.
TEST_F(QtWindowTest, WaitCursorWhileTheWindowWorks) {
  std::vector<Qt::CursorShape> shapes;  // the cursor whenever a pane's text changes
  const auto note = [&shapes] {
    const QCursor* cursor = QApplication::overrideCursor();
    shapes.push_back(cursor != nullptr ? cursor->shape() : Qt::ArrowCursor);
  };
  QObject::connect(controls.Text1, &QPlainTextEdit::textChanged, note);
  QObject::connect(controls.Text2, &QPlainTextEdit::textChanged, note);

  Open("a.txt", kGood16iBad30i);
  ASSERT_FALSE(shapes.empty());
  EXPECT_EQ(shapes.back(), Qt::WaitCursor);  // the file shown in the left pane
  shapes.clear();
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  ASSERT_FALSE(shapes.empty());
  EXPECT_EQ(shapes.back(), Qt::WaitCursor);  // the result shown in the right pane
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  controls.Option1->setChecked(true);  // fails as 30i
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(QtWindowTest, OtherMouseButtonsOnlyShowBusy) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::RightButton);
  EXPECT_EQ(controls.Command1->text(), kBusy);
  EXPECT_TRUE(RightPane().isEmpty());
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(controls.Command1->text(), kIdle);
  EXPECT_FALSE(RightPane().isEmpty());
}

// Space and Enter click the button without the press: a failure keeps the last result shown.
TEST_F(QtWindowTest, KeysClickWithoutThePressAndAFailureKeepsTheLastResult) {
  controls.mnuCommentJ->trigger();
  Open("a.txt", kGood16iBad30i);
  QTest::keyClick(controls.Command1, Qt::Key_Space);
  ASSERT_EQ(RightPane(), kThinned16i);

  controls.Option1->setChecked(true);
  QTest::keyClick(controls.Command1, Qt::Key_Return);
  EXPECT_EQ(controls.Command1->text(), kIdle);
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0].text, "ハブキ出来ません。\r\n\r\nｍ(｡≧Д≦｡)ｍ");
  EXPECT_EQ(window.messages[0].title, "エラー");
  EXPECT_EQ(RightPane(), kThinned16i);
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

std::unique_ptr<QMimeData> Files(const std::vector<std::filesystem::path>& files) {
  auto data = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  for (const auto& file : files) urls << QUrl::fromLocalFile(QtPath(file));
  data->setUrls(urls);
  return data;
}

TEST_F(QtWindowTest, FilesDroppedOnTheLeftPaneOpenAsACopyAndOnTheRightPaneDoNot) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  const QString result = RightPane();
  habuki::test::WriteBytes(dir / "dropped.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  const auto files = Files({dir / "dropped.txt", dir / "a.txt"});
  EXPECT_FALSE(DragAndDrop(controls.Text2->viewport(), *files).entered);
  EXPECT_EQ(RightPane(), result);

  window.setWindowTitle("changed");
  const Drag drag = DragAndDrop(controls.Text1->viewport(), *files);
  EXPECT_TRUE(drag.dropped);
  EXPECT_EQ(drag.action, Qt::CopyAction);         // a move would have the source delete the file
  EXPECT_EQ(LeftPane(), "%\nN00001Q1L1P5\n%\n");  // the first file only
  EXPECT_TRUE(RightPane().isEmpty());
  EXPECT_TRUE(controls.Option1->isChecked());
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("ハブキ丸 Ver") + kVersionText);
}

// A drag that does not offer a copy is refused as it enters: taken, it would be taken as what
// its source proposes, and a source that deletes after a move would lose the backup.
TEST_F(QtWindowTest, DropsThatDoNotOfferACopyAreRefused) {
  Open("a.txt", kGood16iBad30i);
  habuki::test::WriteBytes(dir / "dropped.txt", "%\r\nN00001Q1L1P5\r\n%\r\n");
  const auto file = Files({dir / "dropped.txt"});
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
  EXPECT_TRUE(std::filesystem::exists(dir / "dropped.txt"));
}

// Dragged text is refused as it enters: the panes keep what they show, and the source, told
// nothing was taken, keeps its text.
TEST_F(QtWindowTest, DraggedTextIsRefusedAndClearsNothing) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  const QString result = RightPane();
  QMimeData text;
  text.setText("N00001Q1P5");
  const Drag drag = DragAndDrop(controls.Text1->viewport(), text);
  EXPECT_FALSE(drag.entered);
  EXPECT_FALSE(drag.dropped);
  EXPECT_EQ(RightPane(), result);
  EXPECT_EQ(LeftPane(), PaneText(kGood16iBad30i));
}

TEST_F(QtWindowTest, ClosingTheWindowWritesTheFallbackComment) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);  // 日本語ｺﾒﾝﾄ.txt is missing
  window.close();
  EXPECT_EQ(habuki::test::ReadBytes(dir / "ｺﾒﾝﾄ.txt"), std::string(kBuiltInCommentJ) + "\r\n");
}

// With the real dialogs and messages the exit command ends the event loop; Qt may close the window
// on the way out, but the comment file is written only when the user closes the window.
TEST(QtForm1View, ExitDoesNotWriteTheCommentFile) {
  habuki::test::TempDir dir;
  QtForm1View form({dir.path(), dir.path(), dir / "home"});
  const Form1Controls controls(form);
  habuki::test::WriteBytes(dir / "a.txt", "%\r\nN0001Q1P5\r\n%\r\n");
  form.form().OpenFile(dir / "a.txt");
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  ASSERT_TRUE(form.form().state().CommentMissing);
  form.show();
  QTimer::singleShot(0, &form, [&] { controls.mnuSyuuryou->trigger(); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "ｺﾒﾝﾄ.txt"));
  form.close();
  EXPECT_FALSE(std::filesystem::exists(dir / "ｺﾒﾝﾄ.txt"));
}

}  // namespace
}  // namespace habuki::ui::test
