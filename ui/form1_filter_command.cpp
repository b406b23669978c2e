#include <new>
#include <optional>
#include <string>

#include "comment/comment_files.h"
#include "core/filter/run_filter.h"
#include "ui/busy_view.h"
#include "ui/form1.h"
#include "ui/loss_message.h"
#include "ui/window_texts.h"

namespace habuki::ui {

// The view has the busy state on screen before the click handler of the same press runs.
void Form1::OnFilterButtonPress() {
  view_.SetButtonCaption(kFilterCaptionBusy);
  // The result leaves the screen, and with it what a save would write, until a run brings one.
  view_.SetPaneText(Pane::Text2, {});
  state_.OutText = {};
}

void Form1::OnFilterButtonClick() {
  std::optional<BusyView> busy(std::in_place, view_);  // taken back before any message shows
  if (comments_.japanese) LoadCommentJ(state_, view_.Environment().CommentFolders());
  if (comments_.english) LoadCommentE(state_, view_.Environment().CommentFolders());
  const std::optional<FormatKind> kind = view_.SelectedOption();
  FilterOutcome outcome;
  std::string loss;
  try {
    if (kind) outcome = RunFilter(state_, *kind, comments_.WithComment());
    if (outcome.produced) {
      view_.SetPaneText(Pane::Text2, state_.OutText.Bytes());
      loss = LossMessage(outcome.stats);
    }
  } catch (const std::bad_alloc&) {
    outcome = {false, FilterError{}, {}};  // a text too large to thin or show fails as any other
  }
  busy.reset();
  view_.SetButtonCaption(kFilterCaptionIdle);
  if (outcome.error) {
    view_.ShowMessage(kFilterFailedMessage, kFilterFailedTitle);
  } else if (!loss.empty()) {
    view_.ShowMessage(loss, kMessageTitle);
  }
}

}  // namespace habuki::ui
