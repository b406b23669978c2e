#pragma once

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/qt/qt_form1_view.h"

namespace habuki::ui::test {

// The controls and menu items of Form1's Qt view, found by the names the window gives them.
struct Form1Controls {
  explicit Form1Controls(const QtForm1View& form)
      : Command1(Find<QPushButton>(form, "Command1")),
        Text1(Find<QPlainTextEdit>(form, "Text1")),
        Text2(Find<QPlainTextEdit>(form, "Text2")),
        Label1(Find<QLabel>(form, "Label1")),
        Frame1(Find<QGroupBox>(form, "Frame1")),
        Option1(Find<QRadioButton>(form, "Option1")),
        Option2(Find<QRadioButton>(form, "Option2")),
        Option3(Find<QRadioButton>(form, "Option3")),
        mnuFile(Find<QMenu>(form, "mnuFile")),
        mnuOpen(Find<QAction>(form, "mnuOpen")),
        mnuHozon(Find<QAction>(form, "mnuHozon")),
        mnuSp1(Find<QAction>(form, "mnuSp1")),
        mnuSyuuryou(Find<QAction>(form, "mnuSyuuryou")),
        mnuSettei(Find<QMenu>(form, "mnuSettei")),
        mnuCommentJ(Find<QAction>(form, "mnuCommentJ")),
        mnuCommentE(Find<QAction>(form, "mnuCommentE")) {}

  QPushButton* Command1;
  QPlainTextEdit* Text1;
  QPlainTextEdit* Text2;
  QLabel* Label1;
  QGroupBox* Frame1;
  QRadioButton* Option1;
  QRadioButton* Option2;
  QRadioButton* Option3;
  QMenu* mnuFile;
  QAction* mnuOpen;
  QAction* mnuHozon;
  QAction* mnuSp1;
  QAction* mnuSyuuryou;
  QMenu* mnuSettei;
  QAction* mnuCommentJ;
  QAction* mnuCommentE;

 private:
  // Fails the test at once when the window has no such control.
  template <typename Control>
  static Control* Find(const QtForm1View& form, const char* name) {
    auto* control = form.findChild<Control*>(QLatin1String(name));
    if (control == nullptr) throw std::logic_error(std::string("Form1 has no ") + name);
    return control;
  }
};

}  // namespace habuki::ui::test
