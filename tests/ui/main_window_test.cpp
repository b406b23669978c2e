#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "twips.h"
#include "window_fixture.h"

namespace habuki::ui::test {
namespace {

QStringList Texts(const QList<QAction*>& actions) {
  QStringList texts;
  for (const QAction* action : actions) texts << (action->isSeparator() ? "-" : action->text());
  return texts;
}

TEST_F(WindowTest, StartsWithItsTitleCaptionsAndNothingSelected) {
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("ハブキ丸 Ver3.0.1"));
  EXPECT_EQ(form.Command1->text(), QString::fromUtf8("ハブキ"));
  EXPECT_EQ(form.Label1->text(),
            QString::fromUtf8("FANUCのＣＮＣパラメータで、パラメータ値\"０\"のパラメータをハブキします。"));
  EXPECT_EQ(form.Option1->text(), "Fs-30i");
  EXPECT_EQ(form.Option2->text(), QString::fromUtf8("Fs-16i他"));
  EXPECT_EQ(form.Option3->text(), QString::fromUtf8("PMCﾊﾟﾗﾒｰﾀ"));
  EXPECT_EQ(form.Frame1->title(), "");
  for (const QRadioButton* option : {form.Option1, form.Option2, form.Option3}) {
    EXPECT_FALSE(option->isChecked());
    EXPECT_EQ(option->parentWidget(), form.Frame1);
  }
  EXPECT_TRUE(LeftPane().isEmpty());
  EXPECT_TRUE(RightPane().isEmpty());
  EXPECT_EQ(form.focusWidget(), form.Command1);
  EXPECT_FALSE(form.windowIcon().isNull());
  EXPECT_EQ(form.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}}));
}

TEST_F(WindowTest, LabelCaptionFitsItsPlace) {
  EXPECT_LE(QFontMetricsF(form.Label1->font()).horizontalAdvance(form.Label1->text()),
            form.Label1->width());
}

TEST_F(WindowTest, MenusInOrderWithTheJapaneseCommentChecked) {
  EXPECT_EQ(Texts(form.menuBar()->actions()),
            QStringList({QString::fromUtf8("ﾌｧｲﾙ"), QString::fromUtf8("設定")}));
  EXPECT_EQ(Texts(form.mnuFile->actions()),
            QStringList({QString::fromUtf8("開く"), QString::fromUtf8("保存"), "-",
                         QString::fromUtf8("終了")}));
  EXPECT_EQ(form.mnuFile->actions()[2], form.mnuSp1);
  EXPECT_EQ(Texts(form.mnuSettei->actions()),
            QStringList({QString::fromUtf8("先頭に日本語のｺﾒﾝﾄを付加する"),
                         QString::fromUtf8("先頭に英語のｺﾒﾝﾄを付加する")}));
  EXPECT_TRUE(form.mnuCommentJ->isChecked());
  EXPECT_FALSE(form.mnuCommentE->isChecked());
}

TEST_F(WindowTest, CommentItemsCheckAtMostOne) {
  form.mnuCommentE->trigger();
  EXPECT_FALSE(form.mnuCommentJ->isChecked());
  EXPECT_TRUE(form.mnuCommentE->isChecked());
  form.mnuCommentE->trigger();
  EXPECT_FALSE(form.mnuCommentJ->isChecked());
  EXPECT_FALSE(form.mnuCommentE->isChecked());
  form.mnuCommentJ->trigger();
  EXPECT_TRUE(form.mnuCommentJ->isChecked());
  EXPECT_FALSE(form.mnuCommentE->isChecked());
}

TEST_F(WindowTest, GeometryInTwipsStaysPutOnResize) {
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QRect button = TwipsRect(form, 3960, 4800, 2175, 615);
  EXPECT_EQ(form.Command1->geometry(), button);
  EXPECT_EQ(form.Option3->geometry(), TwipsRect(form, 1320, 120, 1335, 255));
  EXPECT_EQ(form.centralWidget()->size(), TwipsRect(form, 0, 0, 6780, 5535).size());
  if (form.logicalDpiX() == 96 && form.logicalDpiY() == 96) {
    EXPECT_EQ(form.centralWidget()->size(), QSize(452, 369));
    EXPECT_EQ(button, QRect(264, 320, 145, 41));
  }
  form.resize(900, 700);
  EXPECT_EQ(form.Command1->geometry(), button);
}

TEST_F(WindowTest, TabOrderFromTheButtonThroughPanesToOptions) {
  std::vector<QWidget*> order{form.Command1};
  for (QWidget* next = form.Command1->nextInFocusChain(); order.size() < 6 && next != form.Command1;
       next = next->nextInFocusChain()) {
    if (next->focusPolicy() & Qt::TabFocus) order.push_back(next);
  }
  EXPECT_EQ(order, (std::vector<QWidget*>{form.Command1, form.Text1, form.Text2, form.Option1,
                                          form.Option2, form.Option3}));
}

TEST_F(WindowTest, OnlyTheLeftPaneTakesDrops) {
  EXPECT_TRUE(form.Text1->acceptDrops());
  EXPECT_FALSE(form.Text2->acceptDrops());
  EXPECT_FALSE(form.acceptDrops());
}

}  // namespace
}  // namespace habuki::ui::test
