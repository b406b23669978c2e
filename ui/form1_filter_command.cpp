#include <QPlainTextEdit>
#include <QPushButton>
#include <new>

#include "comment/comment_files.h"
#include "core/filter/run_filter.h"
#include "ui/busy_cursor.h"
#include "ui/form1.h"
#include "ui/loss_message.h"
#include "ui/pane_text.h"
#include "ui/window_texts.h"

namespace habuki::ui {

void Form1::OnFilterButtonPress() {
  Command1->setText(QString::fromUtf8(kFilterCaptionBusy));
  // The result leaves the screen, and with it what a save would write, until a run brings one.
  Text2->clear();
  state_.OutText = {};
  // The busy state is on screen before the click handler of the same press runs.
  Command1->repaint();
  Text2->repaint();
}

void Form1::OnFilterButtonClick() {
  std::optional<BusyCursor> busy(std::in_place);  // taken back before any message shows
  if (comments_.japanese) LoadCommentJ(state_, windowSystem_.CommentFolders());
  if (comments_.english) LoadCommentE(state_, windowSystem_.CommentFolders());
  const std::optional<FormatKind> kind = SelectedFormat();
  FilterOutcome outcome;
  QString loss;
  try {
    if (kind) outcome = RunFilter(state_, *kind, comments_.WithComment());
    if (outcome.produced) {
      Text2->setPlainText(PaneText(state_.OutText));
      loss = LossMessage(state_, *kind, outcome.stats);
    }
  } catch (const std::bad_alloc&) {
    outcome = {false, FilterError{}, {}};  // a text too large to thin fails as any other
  }
  busy.reset();
  Command1->setText(QString::fromUtf8(kFilterCaptionIdle));
  if (outcome.error) {
    windowSystem_.ShowMessage(this, QString::fromUtf8(kFilterFailedMessage),
                              QString::fromUtf8(kFilterFailedTitle));
  } else if (!loss.isEmpty()) {
    windowSystem_.ShowMessage(this, loss, QString::fromUtf8(kMessageTitle));
  }
}

}  // namespace habuki::ui
