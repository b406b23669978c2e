#include "ui/qt/qt_form1_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <iostream>

#include "comment/comment_folders.h"
#include "ui/qt/drop_pane.h"
#include "ui/qt/pane_text.h"
#include "ui/qt/qt_dialogs.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/qt_twips.h"
#include "ui/window_texts.h"

namespace habuki::ui {

namespace {

// Gives a control the name the window knows it by, so that it can be found by that name.
template <typename Control>
Control* Named(const char* name, Control* control) {
  control->setObjectName(QLatin1String(name));
  return control;
}

// Long lines wrap at the pane's edge, even without blanks; only a vertical scroll bar.
template <typename PaneWidget>
PaneWidget* MakePane(QWidget* parent) {
  auto* pane = new PaneWidget(parent);
  pane->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  pane->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  pane->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  pane->setTabChangesFocus(true);
  return pane;
}

// The label's caption is wider than its place in most Japanese fonts; rather than cut it off,
// it is drawn a little smaller.
void ShrinkToFit(QLabel& label) {
  QFont font = label.font();
  while (QFontMetricsF(font).horizontalAdvance(label.text()) > label.width() &&
         font.pointSizeF() > 6) {
    font.setPointSizeF(font.pointSizeF() - 0.25);
  }
  label.setFont(font);
}

std::vector<std::filesystem::path> PathsOf(const QStringList& files) {
  std::vector<std::filesystem::path> paths;
  for (const QString& file : files) paths.push_back(PathOf(file));
  return paths;
}

}  // namespace

QtForm1View::QtForm1View(WindowEnvironment environment, QWidget* parent)
    : QMainWindow(parent), environment_(std::move(environment)) {
  // The window was drawn for a 9-point Japanese interface font; larger default fonts cut off
  // the label and the option captions.
  QFont font = this->font();
  font.setFamilies({QStringLiteral("Noto Sans CJK JP"), font.family()});
  font.setPointSize(9);
  setFont(font);
  QIcon icon;
  icon.addFile(QStringLiteral(":/habuki/habuki-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/habuki/habuki-32.png"), QSize(32, 32));
  setWindowIcon(icon);
  CreateControls();
  CreateMenus();
  PlaceControls();
  form_.emplace(*this);
  ConnectCommands();
  Command1->setFocus();
}

void QtForm1View::CreateControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  Command1 = Named("Command1", new QPushButton(QtText(kFilterCaptionIdle), client));
  Text1 = Named("Text1", MakePane<DropPane>(client));
  Text2 = Named("Text2", MakePane<QPlainTextEdit>(client));
  Text2->setAcceptDrops(false);
  Label1 = Named("Label1", new QLabel(QtText(kLabelCaption), client));
  Frame1 = Named("Frame1", new QGroupBox(client));
  Option1 = Named("Option1", new QRadioButton(QtText(kOption1Caption), Frame1));
  Option2 = Named("Option2", new QRadioButton(QtText(kOption2Caption), Frame1));
  Option3 = Named("Option3", new QRadioButton(QtText(kOption3Caption), Frame1));
  setAcceptDrops(false);

  setTabOrder(Command1, Text1);
  setTabOrder(Text1, Text2);
  setTabOrder(Text2, Option1);
  setTabOrder(Option1, Option2);
  setTabOrder(Option2, Option3);
}

void QtForm1View::CreateMenus() {
  mnuFile = Named("mnuFile", menuBar()->addMenu(QtText(kMenuFile)));
  mnuOpen = Named("mnuOpen", mnuFile->addAction(QtText(kMenuOpen)));
  mnuHozon = Named("mnuHozon", mnuFile->addAction(QtText(kMenuSave)));
  mnuSp1 = Named("mnuSp1", mnuFile->addSeparator());
  mnuSyuuryou = Named("mnuSyuuryou", mnuFile->addAction(QtText(kMenuExit)));
  mnuSettei = Named("mnuSettei", menuBar()->addMenu(QtText(kMenuSettings)));
  mnuCommentJ = Named("mnuCommentJ", mnuSettei->addAction(QtText(kMenuCommentJ)));
  mnuCommentE = Named("mnuCommentE", mnuSettei->addAction(QtText(kMenuCommentE)));
  mnuOpen->setShortcut(QKeySequence::Open);
  mnuHozon->setShortcut(QKeySequence::Save);
  mnuSyuuryou->setShortcut(QKeySequence::Quit);
  mnuCommentJ->setCheckable(true);
  mnuCommentE->setCheckable(true);
}

// Fixed places, as the window was drawn; a resize moves nothing.
void QtForm1View::PlaceControls() {
  Command1->setGeometry(TwipsRect(*this, kCommand1Box));
  Text1->setGeometry(TwipsRect(*this, kText1Box));
  Text2->setGeometry(TwipsRect(*this, kText2Box));
  Label1->setGeometry(TwipsRect(*this, kLabel1Box));
  Frame1->setGeometry(TwipsRect(*this, kFrame1Box));
  Option1->setGeometry(TwipsRect(*this, kOption1Box));
  Option2->setGeometry(TwipsRect(*this, kOption2Box));
  Option3->setGeometry(TwipsRect(*this, kOption3Box));
  ShrinkToFit(*Label1);
  const QRect client = TwipsRect(*this, kClientArea);
  resize(client.width(), client.height() + menuBar()->sizeHint().height());
}

void QtForm1View::ConnectCommands() {
  Form1& form = *form_;
  Command1->installEventFilter(this);
  connect(Command1, &QPushButton::clicked, this, [&form] { form.OnFilterButtonClick(); });
  connect(Text1, &DropPane::filesDropped, this,
          [&form](const QStringList& files) { form.OnDropOnLeftPane(PathsOf(files)); });
  connect(mnuOpen, &QAction::triggered, this, [&form] { form.OnOpen(); });
  connect(mnuHozon, &QAction::triggered, this, [&form] { form.OnSave(); });
  connect(mnuSyuuryou, &QAction::triggered, this, [&form] { form.OnExit(); });
  connect(mnuCommentJ, &QAction::triggered, this, [&form] { form.ToggleCommentJ(); });
  connect(mnuCommentE, &QAction::triggered, this, [&form] { form.ToggleCommentE(); });
}

void QtForm1View::SetTitle(std::string_view title) { setWindowTitle(QtText(title)); }

QPlainTextEdit* QtForm1View::PaneNamed(Pane pane) const {
  return pane == Pane::Text1 ? Text1 : Text2;
}

void QtForm1View::SetPaneText(Pane pane, std::string_view cp932) {
  if (cp932.empty()) {
    PaneNamed(pane)->clear();
  } else {
    PaneNamed(pane)->setPlainText(PaneText(cp932));
  }
}

bool QtForm1View::PaneIsEmpty(Pane pane) const { return PaneNamed(pane)->document()->isEmpty(); }

void QtForm1View::SetButtonCaption(std::string_view caption) { Command1->setText(QtText(caption)); }

void QtForm1View::SetChecked(MenuItem item, bool checked) {
  (item == MenuItem::mnuCommentJ ? mnuCommentJ : mnuCommentE)->setChecked(checked);
}

void QtForm1View::SelectOption(FormatKind kind) {
  QRadioButton* option = kind == FormatKind::Fs30i   ? Option1
                         : kind == FormatKind::Fs16i ? Option2
                                                     : Option3;
  option->setChecked(true);
}

std::optional<FormatKind> QtForm1View::SelectedOption() const {
  if (Option1->isChecked()) return FormatKind::Fs30i;
  if (Option2->isChecked()) return FormatKind::Fs16i;
  if (Option3->isChecked()) return FormatKind::Pmc;
  return std::nullopt;
}

void QtForm1View::ShowBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

std::optional<std::filesystem::path> QtForm1View::ShowOpenDialog(DialogSettings& settings) {
  return ShowQtOpenDialog(this, settings);
}

std::optional<std::filesystem::path> QtForm1View::ShowSaveDialog(DialogSettings& settings) {
  return ShowQtSaveDialog(this, settings);
}

void QtForm1View::ShowMessage(std::string_view text, std::string_view title) {
  ShowQtMessage(this, text, title);
}

void QtForm1View::EndProgramNow() { QCoreApplication::exit(0); }

// A program started from a terminal or a desktop entry has standard error; a message box would
// hold up the closing.
void QtForm1View::TellClosingProblem(std::string_view text) {
  std::cerr << "habuki-gui: " << text << '\n';
}

void QtForm1View::closeEvent(QCloseEvent* event) {
  form_->OnWindowClosing();
  event->accept();
}

// A press of any mouse button shows the busy state, painted, before the click runs; Qt's pressed
// signal would miss the right and middle buttons and also fire for the keyboard. Enter clicks
// the button as Space does.
bool QtForm1View::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Command1 && event->type() == QEvent::MouseButtonPress) {
    form_->OnFilterButtonPress();
    Command1->repaint();
    Text2->repaint();
  } else if (watched == Command1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Command1->click();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace habuki::ui
