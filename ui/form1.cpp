#include "ui/form1.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "habuki/version.h"
#include "ui/drop_pane.h"
#include "ui/twips.h"
#include "ui/window_texts.h"

namespace habuki::ui {

namespace {

constexpr int kClientWidth = 6780;  // twips
constexpr int kClientHeight = 5535;

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// Gives a control the name the window knows it by, so that it can be found by that name.
template <typename Control>
Control* Named(const char* name, Control* control) {
  control->setObjectName(QLatin1String(name));
  return control;
}

// Long lines wrap at the pane's edge, even without blanks; only a vertical scroll bar.
template <typename Pane>
Pane* MakePane(QWidget* parent) {
  auto* pane = new Pane(parent);
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

}  // namespace

Form1::Form1(WindowSystem& windowSystem, QWidget* parent)
    : QMainWindow(parent), windowSystem_(windowSystem) {
  CDG.fileTypes = Text(kFileTypes);
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
  ConnectCommands();
  SetTitle();
  Command1->setFocus();
}

void Form1::CreateControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  Command1 = Named("Command1", new QPushButton(Text(kFilterCaptionIdle), client));
  Text1 = Named("Text1", MakePane<DropPane>(client));
  Text2 = Named("Text2", MakePane<QPlainTextEdit>(client));
  Text2->setAcceptDrops(false);
  Label1 = Named("Label1", new QLabel(Text(kLabelCaption), client));
  Frame1 = Named("Frame1", new QGroupBox(client));
  Option1 = Named("Option1", new QRadioButton(Text(kOption1Caption), Frame1));
  Option2 = Named("Option2", new QRadioButton(Text(kOption2Caption), Frame1));
  Option3 = Named("Option3", new QRadioButton(Text(kOption3Caption), Frame1));
  setAcceptDrops(false);

  setTabOrder(Command1, Text1);
  setTabOrder(Text1, Text2);
  setTabOrder(Text2, Option1);
  setTabOrder(Option1, Option2);
  setTabOrder(Option2, Option3);
}

void Form1::CreateMenus() {
  mnuFile = Named("mnuFile", menuBar()->addMenu(Text(kMenuFile)));
  mnuOpen = Named("mnuOpen", mnuFile->addAction(Text(kMenuOpen)));
  mnuHozon = Named("mnuHozon", mnuFile->addAction(Text(kMenuSave)));
  mnuSp1 = Named("mnuSp1", mnuFile->addSeparator());
  mnuSyuuryou = Named("mnuSyuuryou", mnuFile->addAction(Text(kMenuExit)));
  mnuSettei = Named("mnuSettei", menuBar()->addMenu(Text(kMenuSettings)));
  mnuCommentJ = Named("mnuCommentJ", mnuSettei->addAction(Text(kMenuCommentJ)));
  mnuCommentE = Named("mnuCommentE", mnuSettei->addAction(Text(kMenuCommentE)));
  mnuOpen->setShortcut(QKeySequence::Open);
  mnuHozon->setShortcut(QKeySequence::Save);
  mnuSyuuryou->setShortcut(QKeySequence::Quit);
  mnuCommentJ->setCheckable(true);
  mnuCommentE->setCheckable(true);
  ShowCommentChoice();
}

// Fixed places, as the window was drawn; a resize moves nothing.
void Form1::PlaceControls() {
  Command1->setGeometry(TwipsRect(*this, 3960, 4800, 2175, 615));
  Text1->setGeometry(TwipsRect(*this, 120, 480, 3375, 4140));
  Text2->setGeometry(TwipsRect(*this, 3600, 480, 3015, 4140));
  Label1->setGeometry(TwipsRect(*this, 240, 120, 6015, 255));
  Frame1->setGeometry(TwipsRect(*this, 240, 4680, 2775, 735));
  Option1->setGeometry(TwipsRect(*this, 120, 120, 1215, 255));
  Option2->setGeometry(TwipsRect(*this, 120, 360, 1095, 255));
  Option3->setGeometry(TwipsRect(*this, 1320, 120, 1335, 255));
  ShrinkToFit(*Label1);
  const QRect client = TwipsRect(*this, 0, 0, kClientWidth, kClientHeight);
  resize(client.width(), client.height() + menuBar()->sizeHint().height());
}

void Form1::ConnectCommands() {
  Command1->installEventFilter(this);
  connect(Command1, &QPushButton::clicked, this, &Form1::OnFilterButtonClick);
  connect(Text1, &DropPane::filesDropped, this, &Form1::OnDropOnLeftPane);
  connect(mnuOpen, &QAction::triggered, this, &Form1::OnOpen);
  connect(mnuHozon, &QAction::triggered, this, &Form1::OnSave);
  connect(mnuSyuuryou, &QAction::triggered, this, &Form1::OnExit);
  connect(mnuCommentJ, &QAction::triggered, this, &Form1::ToggleCommentJ);
  connect(mnuCommentE, &QAction::triggered, this, &Form1::ToggleCommentE);
}

void Form1::SetTitle() {
  setWindowTitle(
      Text(kTitleStart) +
      QStringLiteral("Ver%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
}

void Form1::ToggleCommentJ() {
  habuki::ToggleCommentJ(comments_);
  ShowCommentChoice();
}

void Form1::ToggleCommentE() {
  habuki::ToggleCommentE(comments_);
  ShowCommentChoice();
}

// The check marks are the comment choice; a click on an item does not check it by itself.
void Form1::ShowCommentChoice() {
  mnuCommentJ->setChecked(comments_.japanese);
  mnuCommentE->setChecked(comments_.english);
}

void Form1::closeEvent(QCloseEvent* event) {
  if (!endingNow_) OnWindowClosing();
  event->accept();
}

// A press of any mouse button shows the busy state before the click runs; Qt's pressed signal
// would miss the right and middle buttons and also fire for the keyboard. Enter clicks the
// button as Space does.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Command1 && event->type() == QEvent::MouseButtonPress) {
    OnFilterButtonPress();
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
