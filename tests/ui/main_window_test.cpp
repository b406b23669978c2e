#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "habuki/version.h"
#include "tests/ui/window_fixture.h"
#include "ui/twips.h"

namespace habuki::ui::test {
namespace {

QStringList Texts(const QList<QAction*>& actions) {
  QStringList texts;
  for (const QAction* action : actions) texts << (action->isSeparator() ? "-" : action->text());
  return texts;
}

TEST_F(WindowTest, StartsWithItsTitleCaptionsAndNothingSelected) {
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("ハブキ丸 Ver") + kVersionText);
  EXPECT_EQ(controls.Command1->text(), QString::fromUtf8("ハブキ"));
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
  EXPECT_TRUE(LeftPane().isEmpty());
  EXPECT_TRUE(RightPane().isEmpty());
  EXPECT_EQ(form.focusWidget(), controls.Command1);
  EXPECT_FALSE(form.windowIcon().isNull());
  EXPECT_EQ(form.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
}

TEST_F(WindowTest, LabelCaptionFitsItsPlace) {
  EXPECT_LE(QFontMetricsF(controls.Label1->font()).horizontalAdvance(controls.Label1->text()),
            controls.Label1->width());
}

TEST_F(WindowTest, MenusInOrderWithTheJapaneseCommentChecked) {
  EXPECT_EQ(Texts(form.menuBar()->actions()),
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

TEST_F(WindowTest, CommentItemsCheckAtMostOne) {
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

TEST_F(WindowTest, GeometryInTwipsStaysPutOnResize) {
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QRect button = TwipsRect(form, 3960, 4800, 2175, 615);
  EXPECT_EQ(controls.Command1->geometry(), button);
  EXPECT_EQ(controls.Option3->geometry(), TwipsRect(form, 1320, 120, 1335, 255));
  EXPECT_EQ(form.centralWidget()->size(), TwipsRect(form, 0, 0, 6780, 5535).size());
  if (form.logicalDpiX() == 96 && form.logicalDpiY() == 96) {
    EXPECT_EQ(form.centralWidget()->size(), QSize(452, 369));
    EXPECT_EQ(button, QRect(264, 320, 145, 41));
  }
  form.resize(900, 700);
  EXPECT_EQ(controls.Command1->geometry(), button);
}

TEST_F(WindowTest, TabOrderFromTheButtonThroughPanesToOptions) {
  std::vector<QWidget*> order{controls.Command1};
  for (QWidget* next = controls.Command1->nextInFocusChain();
       order.size() < 6 && next != controls.Command1; next = next->nextInFocusChain()) {
    if (next->focusPolicy() & Qt::TabFocus) order.push_back(next);
  }
  EXPECT_EQ(order, (std::vector<QWidget*>{controls.Command1, controls.Text1, controls.Text2,
                                          controls.Option1, controls.Option2, controls.Option3}));
}

TEST_F(WindowTest, OnlyTheLeftPaneTakesDrops) {
  EXPECT_TRUE(controls.Text1->acceptDrops());
  EXPECT_FALSE(controls.Text2->acceptDrops());
  EXPECT_FALSE(form.acceptDrops());
}

}  // namespace
}  // namespace habuki::ui::test
