#include <QPlainTextEdit>
#include <QPushButton>

#include "comment_files.h"
#include "form1.h"
#include "pane_text.h"
#include "run_filter.h"
#include "window_texts.h"

namespace habuki::ui {

void Form1::OnFilterButtonPress() {
  Command1->setText(QString::fromUtf8(kFilterCaptionBusy));
  Text2->clear();
  // The busy state is on screen before the click handler of the same press runs.
  Command1->repaint();
  Text2->repaint();
}

void Form1::OnFilterButtonClick() {
  if (comments_.japanese) LoadCommentJ(state_, windowSystem_.ProgramFolder());
  if (comments_.english) LoadCommentE(state_, windowSystem_.ProgramFolder());
  const std::optional<FormatKind> kind = SelectedFormat();
  FilterOutcome outcome;
  if (kind) outcome = RunFilter(state_, *kind, comments_.WithComment());
  if (outcome.produced) Text2->setPlainText(PaneText(state_.OutText));
  Command1->setText(QString::fromUtf8(kFilterCaptionIdle));
  if (outcome.error) {
    windowSystem_.ShowMessage(this, QString::fromUtf8(kFilterFailedMessage),
                              QString::fromUtf8(kFilterFailedTitle));
  }
}

}  // namespace habuki::ui
