#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "comment/comment_files.h"
#include "tests/ui/window_fixture.h"

namespace habuki::ui::test {
namespace {

const QString kIdle = QString::fromUtf8("ハブキ");
const QString kBusy = QString::fromUtf8("削除中");

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

TEST_F(WindowTest, MousePressShowsBusyAndTheClickShowsTheResult) {
  form.ToggleCommentJ();  // no comment line
  Open("a.txt", kGood16iBad30i);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  controls.Text2->setPlainText("old");
  PaintWatcher watcher(controls.Command1);

  QTest::mousePress(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(controls.Command1->text(), kBusy);
  EXPECT_TRUE(RightPane().isEmpty());
  EXPECT_TRUE(watcher.captions.contains(kBusy));  // painted before the click handler runs
  QTest::mouseRelease(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(controls.Command1->text(), kIdle);
  EXPECT_EQ(RightPane(), kThinned16i);
  EXPECT_TRUE(system.messages.empty());
}

// Loading and thinning show the wait cursor while the panes fill, and give it back after,
// whether they worked or not.
TEST_F(WindowTest, WaitCursorWhileTheWindowWorks) {
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
  EXPECT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, OtherMouseButtonsOnlyShowBusy) {
  Open("a.txt", kGood16iBad30i);
  QTest::mouseClick(controls.Command1, Qt::RightButton);
  EXPECT_EQ(controls.Command1->text(), kBusy);
  EXPECT_TRUE(RightPane().isEmpty());
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(controls.Command1->text(), kIdle);
  EXPECT_FALSE(RightPane().isEmpty());
}

TEST_F(WindowTest, FailureShowsTheOneMessageAndKeepsTheLastResult) {
  form.ToggleCommentJ();
  Open("a.txt", kGood16iBad30i);
  QTest::keyClick(controls.Command1, Qt::Key_Space);  // keyboard: no busy step
  ASSERT_EQ(RightPane(), kThinned16i);
  const Cp932Text result = form.state().OutText;

  controls.Option1->setChecked(true);
  QTest::keyClick(controls.Command1, Qt::Key_Return);
  EXPECT_EQ(controls.Command1->text(), kIdle);
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_EQ(system.messages[0].text, QString::fromUtf8("ハブキ出来ません。\r\n\r\nｍ(｡≧Д≦｡)ｍ"));
  EXPECT_EQ(system.messages[0].title, QString::fromUtf8("エラー"));
  EXPECT_EQ(RightPane(), kThinned16i);      // the pane keeps the previous result
  EXPECT_EQ(form.state().OutText, result);  // and so does what a save would write
}

TEST_F(WindowTest, MouseClickOnATextWithoutRecordsLeavesThePaneEmpty) {
  Open("a.txt", "no parameters here\r\n");
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(system.messages.size(), 1u);
  EXPECT_TRUE(RightPane().isEmpty());
  EXPECT_EQ(controls.Command1->text(), kIdle);
}

TEST_F(WindowTest, NothingLoadedOrNoFormatRestoresTheCaptionSilently) {
  controls.Option1->setChecked(true);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(controls.Command1->text(), kIdle);
  EXPECT_TRUE(RightPane().isEmpty());

  Form1 fresh(system);  // no option selected yet
  const Form1Controls freshControls(fresh);
  QTest::mouseClick(freshControls.Command1, Qt::LeftButton);
  EXPECT_EQ(freshControls.Command1->text(), kIdle);
  EXPECT_TRUE(system.messages.empty());
}

TEST_F(WindowTest, CommentLineIsReadAtEveryClick) {
  Open("a.txt", kGood16iBad30i);
  form.ToggleCommentE();
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(RightPane(),
            "Parameters of the parameter value 0 have been omitted.\n" + QString(kThinned16i));
  habuki::test::WriteBytes(dir / "英語ｺﾒﾝﾄ.txt", "Zero values left out\r\n");
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(RightPane(), "Zero values left out\n" + QString(kThinned16i));
  QTest::mouseClick(controls.Command1, Qt::LeftButton);  // twice gives the same pane
  EXPECT_EQ(RightPane(), "Zero values left out\n" + QString(kThinned16i));

  form.ToggleCommentJ();  // the Japanese file is missing: the built-in sentence
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_TRUE(
      RightPane().startsWith(QString::fromUtf8("パラメータ値０のパラメータは省いてあります。\n%")));
}

// After the result, the window tells of values that were left out though they are not zero,
// each kind with its count and cause; records of value 0 after the closing "%" are no loss.
TEST_F(WindowTest, LossMessageCountsOnlyValuesThatAreNotZero) {
  const QString start = QString::fromUtf8("値が０ではないのに省いたものがあります。\r\n");
  const QString afterEnd = QString::fromUtf8(
      "\r\n終わりの「%」より後のレコード: %1 件\r\n（終わりの「%」より後ろは結果に入りません。）");
  const QString unhandled = QString::fromUtf8(
      "\r\n形式に規則のない種類のレコード: %1 件\r\n（形式の選択が違うかもしれません。）");
  const std::pair<const char*, QString> texts[] = {
      {"%\r\nN0001Q1P5\r\n%\r\nN0002Q1P0\r\nN0003Q1P000\r\nN0004Q1A1P0A2P0\r\n", QString()},
      {"%\r\nN0001Q1P5\r\n%\r\nN0002Q1P0\r\nN0003Q1P7\r\nN0004Q1A1P0A2P3\r\n",
       start + afterEnd.arg(2)},
      {"%\r\nN0001Q1P5\r\nN0002Q1X5\r\n%\r\nN0003Q1P0\r\nN0004Q1Z5\r\n",
       start + unhandled.arg(1) + afterEnd.arg(1)},
      // A double-byte character before them (ク, whose second byte is an "N"); behind a further
      // "%" the records count unread.
      {"%\r\nN0001Q1P5\r\n%\r\n\x83\x4E\r\nN0002Q1P0\r\n%\r\nN0003Q1P0\r\n",
       start + afterEnd.arg(1)}};
  for (const auto& [text, message] : texts) {
    Open("a.txt", text);
    controls.Option2->setChecked(true);
    system.messages.clear();
    QTest::mouseClick(controls.Command1, Qt::LeftButton);
    ASSERT_FALSE(RightPane().isEmpty()) << text;
    ASSERT_EQ(system.messages.size(), message.isEmpty() ? 0u : 1u) << text;
    if (!message.isEmpty()) {
      EXPECT_EQ(system.messages[0].text, message) << text;
    }
  }
}

// The window thins what it loaded, though another program rewrites the file meanwhile, even
// shorter than it was.
TEST_F(WindowTest, ThinsWhatWasLoadedWhenTheFileIsRewritten) {
  form.ToggleCommentJ();
  const std::string big = "%\r\n" + habuki::test::EntryRecord(900, 'A', "P5") + "%\r\n";
  Open("a.txt", big);
  habuki::test::WriteBytes(dir / "a.txt", "%\r\n");
  controls.Option1->setChecked(true);
  QTest::mouseClick(controls.Command1, Qt::LeftButton);
  EXPECT_EQ(form.state().OutText.Bytes(), "%\n" + big.substr(3, big.size() - 6) + "%");
}

}  // namespace
}  // namespace habuki::ui::test
