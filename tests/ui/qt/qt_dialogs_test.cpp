#include "ui/qt/qt_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/support/test_support.h"
#include "ui/qt/pane_text.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/qt_translations.h"

namespace habuki::ui {
namespace {

TEST(QtNameFilters, KeepTheFileTypesInQtsFormInBothCases) {
  EXPECT_EQ(QtNameFilters(QString::fromUtf8(
                "ﾊﾟﾗﾒｰﾀﾌｧｲﾙ(*.PRM;*.PMC;*.TXT;*.DAT)|*.PRM;*.PMC;*.TXT;*.DAT|全てのﾌｧｲﾙ(*.*)|*.*")),
            QStringList({QString::fromUtf8("ﾊﾟﾗﾒｰﾀﾌｧｲﾙ(*.PRM;*.PMC;*.TXT;*.DAT) (*.PRM *.prm *.PMC "
                                           "*.pmc *.TXT *.txt *.DAT *.dat)"),
                         QString::fromUtf8("全てのﾌｧｲﾙ(*.*) (*.*)")}));
}

TEST(QtTranslations, QtsOwnTextsFollowTheLanguage) {
  QTranslator japanese;
  ASSERT_TRUE(LoadQtTranslations(japanese, QLocale(QLocale::Japanese, QLocale::Japan)));
  EXPECT_NE(japanese.translate("QFileDialog", "Look in:"), QString());
  QTranslator none;
  EXPECT_FALSE(LoadQtTranslations(none, QLocale(QLocale::Zulu)));  // Qt has no Zulu texts
}

TEST(PaneText, ShowsCp932AsTextWithOneKindOfLineBreak) {
  EXPECT_EQ(PaneText("N1\x83\x4E\xFD\r\nN2\nN3\r\r\n"),
            QString::fromUtf8("N1ク\uFFFD\nN2\nN3\n\n"));
  EXPECT_EQ(PaneText("%\rN1\r\n\r\nN2\n\r"), QString("%\nN1\n\nN2\n\n"));
}

// The real save dialog, answered by a timer as a person would: it offers the file name of the
// settings, shows each file type's description once, and taking an existing file asks first. The
// first question is answered No, which leaves the dialog open; the second Yes.
TEST(QtDialogs, SaveDialogAsksBeforeReplacingAFile) {
  habuki::test::TempDir dir;
  habuki::test::WriteBytes(dir / "old.txt", "old");
  DialogSettings settings{
      "Text(*.TXT)|*.TXT", {}, dir / "old.txt", DialogOptions{.overwritePrompt = true}};
  QStringList questions;
  QString shownTypes;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      questions << box->text();
      box->button(questions.size() == 1 ? QMessageBox::No : QMessageBox::Yes)->click();
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      shownTypes = types != nullptr ? types->itemText(0) : QString();
      // Queued: the question runs an event loop of its own, in which this timer must fire again.
      QMetaObject::invokeMethod(dialog, questions.size() < 2 ? "accept" : "reject",
                                Qt::QueuedConnection);
    }
  });
  answer.start(20);
  const std::optional<std::filesystem::path> chosen = ShowQtSaveDialog(nullptr, settings);
  EXPECT_EQ(questions.size(), 2);
  EXPECT_EQ(shownTypes, "Text(*.TXT)");  // the description once, without Qt's own pattern list
  EXPECT_EQ(chosen, settings.fileName);
  EXPECT_EQ(habuki::test::ReadBytes(dir / "old.txt"), "old");  // choosing writes nothing yet
}

// Both dialogs start in the folder the window gives, not where Qt would (the folder it last
// showed, else the current one): a folder such as /proc hangs it on files that never end.
TEST(QtDialogs, DialogsStartInTheFolderGiven) {
  habuki::test::TempDir given, current;
  const habuki::test::InFolder in(current.path());
  DialogSettings settings{"Text(*.TXT)|*.TXT", given.path(), {}, 0};
  QStringList started;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      started << dialog->directory().absolutePath();
      dialog->reject();
    }
  });
  answer.start(20);
  EXPECT_EQ(ShowQtOpenDialog(nullptr, settings), std::nullopt);
  EXPECT_EQ(ShowQtSaveDialog(nullptr, settings), std::nullopt);
  EXPECT_EQ(started, QStringList({QtPath(given.path()), QtPath(given.path())}));
}

}  // namespace
}  // namespace habuki::ui
