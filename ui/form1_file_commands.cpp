#include <new>
#include <optional>
#include <string>

#include "comment/comment_files.h"
#include "core/filter/detect_format.h"
#include "core/io/output_plan.h"
#include "core/io/param_file.h"
#include "core/io/path_text.h"
#include "core/text/display_text.h"
#include "core/text/size_limits.h"
#include "ui/busy_view.h"
#include "ui/form1.h"
#include "ui/window_texts.h"

namespace habuki::ui {

namespace {

// Why a file could not be loaded, as the window tells it.
std::string LoadFailureReason(const LoadResult& loaded) {
  switch (loaded.status) {
    case LoadStatus::Empty:
      return kOpenFileEmpty;
    case LoadStatus::TooLarge:
      return WithArg(kOpenFileTooLarge, kParamFileLimitText);
    default:
      return WithArg(kOpenCannotRead, loaded.error.message());
  }
}

}  // namespace

void Form1::OnOpen() {
  AimDialog(true);
  const std::optional<std::filesystem::path> file = view_.ShowOpenDialog(CDG);
  if (!file) return;  // a cancelled dialog leaves both panes as they were
  OpenFile(*file);
}

void Form1::OnDropOnLeftPane(const std::vector<std::filesystem::path>& files) {
  SetTitle();
  if (!files.empty()) OpenFile(files.front());
}

// Loads the file and shows it with its format selected, with no result yet: the result of
// another text must not stay where a save would take it for this one's. The file is loaded
// beside the window's text, so that a file that cannot be loaded leaves the panes, the text and
// the result as they were, and the user hears which file and why. The window keeps the text
// while the user works in its own memory, so another program may rewrite the file meanwhile.
void Form1::OpenFile(const std::filesystem::path& file) {
  std::optional<BusyView> busy(std::in_place, view_);  // taken back before any message shows
  FilterState loaded;
  LoadResult result{LoadStatus::CannotRead, {}, std::nullopt, std::nullopt};
  try {
    result = LoadParamFile(loaded, file);
  } catch (const std::bad_alloc&) {
    result.status = LoadStatus::CannotRead;
    result.error = std::make_error_code(std::errc::not_enough_memory);
  }
  if (!result) {
    busy.reset();
    view_.ShowMessage(
        kOpenFailedMessage + EscapeControls(Utf8Of(file)) + "\r\n" + LoadFailureReason(result),
        kMessageTitle);
    return;
  }
  state_.LineList = std::move(loaded.LineList);
  state_.AllText = std::move(loaded.AllText);
  state_.OutText = {};
  RememberLoaded({Utf8Of(file), result.identity});
  view_.SetPaneText(Pane::Text2, {});
  try {
    view_.SetPaneText(Pane::Text1, state_.AllText.Bytes());
  } catch (const std::bad_alloc&) {
    view_.SetPaneText(Pane::Text1,
                      {});  // a text too large to show is thinned and saved all the same
  }
  view_.SelectOption(DetectFormat(state_.AllText));
}

// The file shown goes last; a file loaded again is kept once.
void Form1::RememberLoaded(PlannedInput file) {
  std::erase_if(loadedFiles_, [&file](const PlannedInput& earlier) {
    return earlier.identity ? earlier.identity == file.identity : earlier.name == file.name;
  });
  loadedFiles_.push_back(std::move(file));
}

// Both dialogs start in the folder of the file shown, else in the user's home: never where the
// toolkit was last, which may be a folder whose files hang it (/proc). The open dialog offers
// the file shown; the save dialog offers no name, since every name this session could offer is
// a backup that must stay.
void Form1::AimDialog(bool offerShownFile) {
  const std::filesystem::path shown =
      loadedFiles_.empty() ? std::filesystem::path() : PathFromUtf8(loadedFiles_.back().name);
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(shown, error);
  CDG.folder = shown.empty() || error ? view_.Environment().homeFolder : absolute.parent_path();
  CDG.fileName = offerShownFile ? shown : std::filesystem::path();
}

// Saves the result on screen, never what was typed into the pane, and says whether it worked:
// a silent failure would let the user walk away without a result. The output plan keeps the
// result off every backup loaded in this session.
void Form1::OnSave() {
  if (state_.OutText.empty() || view_.PaneIsEmpty(Pane::Text2) || loadedFiles_.empty()) {
    view_.ShowMessage(kNothingToSave, kMessageTitle);
    return;
  }
  CDG.options = kSaveDialogOptions;
  AimDialog(false);
  const std::optional<std::filesystem::path> file = view_.ShowSaveDialog(CDG);
  if (!file) return;
  const StandardStreams streams;
  const OutputPlan plan = PlanOutputs(loadedFiles_, ToFile{*file}, streams);
  ShowSaveOutcome(*file, plan.outputs.back(), streams);  // the shown file's; each is refused alike
}

// A failure names the file, as opening one does, then why.
void Form1::ShowSaveOutcome(const std::filesystem::path& file, const PlannedOutput& output,
                            const StandardStreams& streams) {
  std::string failure;
  if (output.refusal) {
    failure = kSaveOverOpenedBackup;
  } else if (const std::error_code error = SaveResult(output, streams)) {
    failure = error.message();
  }
  if (failure.empty()) {
    view_.ShowMessage(kSavedMessage, kMessageTitle);
  } else {
    view_.ShowMessage(kSaveFailedMessage + EscapeControls(Utf8Of(file)) + "\r\n" + failure,
                      kMessageTitle);
  }
}

std::error_code Form1::SaveResult(const PlannedOutput& output, const StandardStreams& streams) {
  try {
    const std::string_view parts[] = {state_.OutText.Bytes(), "\r\n"};
    return WriteOutput(output, parts, streams);
  } catch (const std::bad_alloc&) {
    return std::make_error_code(std::errc::not_enough_memory);
  }
}

void Form1::OnExit() {
  endingNow_ = true;
  view_.EndProgramNow();
}

// A failed write of the comment file must not keep the program from ending, but the user should
// hear why the file is not there.
void Form1::OnWindowClosing() {
  if (endingNow_) return;
  const std::filesystem::path folder = view_.Environment().configFolder;
  std::error_code error = std::make_error_code(std::errc::no_such_file_or_directory);
  if (!folder.empty()) error = WriteCommentFileAtClose(state_, folder);
  if (error && state_.CommentMissing) {
    view_.TellClosingProblem(EscapeControls(Utf8Of(CommentFileWrittenIn(folder))) +
                             ": cannot write: " + error.message());
  }
}

}  // namespace habuki::ui
