#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextDocument>
#include <iostream>
#include <new>

#include "comment/comment_files.h"
#include "core/filter/detect_format.h"
#include "core/io/output_plan.h"
#include "core/io/param_file.h"
#include "core/text/display_text.h"
#include "core/text/size_limits.h"
#include "ui/busy_cursor.h"
#include "ui/drop_pane.h"
#include "ui/form1.h"
#include "ui/pane_text.h"
#include "ui/window_texts.h"

namespace habuki::ui {

namespace {

// Why a file could not be loaded, as the window tells it.
QString LoadFailureReason(const LoadResult& loaded) {
  switch (loaded.status) {
    case LoadStatus::Empty:
      return QString::fromUtf8(kOpenFileEmpty);
    case LoadStatus::TooLarge:
      return QString::fromUtf8(kOpenFileTooLarge)
          .arg(QString::fromUtf8(kParamFileLimitText.data(),
                                 static_cast<qsizetype>(kParamFileLimitText.size())));
    default:
      return QString::fromUtf8(kOpenCannotRead).arg(QString::fromStdString(loaded.error.message()));
  }
}

}  // namespace

void Form1::OnOpen() {
  AimDialog(true);
  const std::optional<QString> file = windowSystem_.ShowOpenDialog(this, CDG);
  if (!file) return;  // a cancelled dialog leaves both panes as they were
  OpenFile(*file);
}

void Form1::OnDropOnLeftPane(const QStringList& files) {
  SetTitle();
  if (!files.isEmpty()) OpenFile(files.constFirst());
}

// Loads the file and shows it with its format selected, with no result yet: the result of
// another text must not stay where a save would take it for this one's. The file is loaded
// beside the window's text, so that a file that cannot be loaded leaves the panes, the text and
// the result as they were, and the user hears which file and why. The window keeps the text
// while the user works in its own memory, so another program may rewrite the file meanwhile.
void Form1::OpenFile(const QString& file) {
  std::optional<BusyCursor> busy(std::in_place);  // taken back before any message shows
  FilterState loaded;
  LoadResult result{LoadStatus::CannotRead, {}, std::nullopt, std::nullopt};
  QString shown;
  try {
    result = LoadParamFile(loaded, file.toStdString());
    if (result) shown = PaneText(loaded.AllText);
  } catch (const std::bad_alloc&) {
    result.status = LoadStatus::CannotRead;
    result.error = std::make_error_code(std::errc::not_enough_memory);
  }
  if (!result) {
    busy.reset();
    windowSystem_.ShowMessage(this,
                              QString::fromUtf8(kOpenFailedMessage) +
                                  QString::fromStdString(EscapeControls(file.toStdString())) +
                                  QStringLiteral("\r\n") + LoadFailureReason(result),
                              QString::fromUtf8(kMessageTitle));
    return;
  }
  state_.LineList = std::move(loaded.LineList);
  state_.AllText = std::move(loaded.AllText);
  state_.OutText = {};
  RememberLoaded({file.toStdString(), result.identity});
  Text2->clear();
  try {
    Text1->setPlainText(shown);
  } catch (const std::bad_alloc&) {
    Text1->clear();  // a text too large to lay out is thinned and saved all the same
  }
  SelectFormat(DetectFormat(state_.AllText));
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
  const QString shown =
      loadedFiles_.empty() ? QString() : QString::fromStdString(loadedFiles_.back().name);
  CDG.folder = shown.isEmpty() ? QDir::homePath() : QFileInfo(shown).absolutePath();
  CDG.fileName = offerShownFile ? shown : QString();
}

// Saves the result on screen, never what was typed into the pane, and says whether it worked:
// a silent failure would let the user walk away without a result. The output plan keeps the
// result off every backup loaded in this session.
void Form1::OnSave() {
  const QString title = QString::fromUtf8(kMessageTitle);
  if (state_.OutText.empty() || Text2->document()->isEmpty() || loadedFiles_.empty()) {
    windowSystem_.ShowMessage(this, QString::fromUtf8(kNothingToSave), title);
    return;
  }
  CDG.flags = kOverwritePrompt;
  AimDialog(false);
  const std::optional<QString> file = windowSystem_.ShowSaveDialog(this, CDG);
  if (!file) return;
  const StandardStreams streams;
  const OutputPlan plan = PlanOutputs(loadedFiles_, ToFile{file->toStdString()}, streams);
  const PlannedOutput& output = plan.outputs.back();  // the shown file's; each is refused alike
  QString failure;
  if (output.refusal) {
    failure = QString::fromUtf8(kSaveOverOpenedBackup);
  } else if (const std::error_code error = SaveResult(output, streams)) {
    failure = QString::fromStdString(error.message());
  }
  if (failure.isEmpty()) {
    windowSystem_.ShowMessage(this, QString::fromUtf8(kSavedMessage), title);
  } else {
    windowSystem_.ShowMessage(this, QString::fromUtf8(kSaveFailedMessage) + failure, title);
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
  windowSystem_.EndProgramNow();
}

// A failed write of the comment file must not keep the program from ending, but the user should
// hear why the file is not there.
void Form1::OnWindowClosing() {
  const std::filesystem::path folder = windowSystem_.ConfigFolder();
  std::error_code error = std::make_error_code(std::errc::no_such_file_or_directory);
  if (!folder.empty()) error = WriteCommentFileAtClose(state_, folder);
  if (error && state_.CommentMissing) {
    std::cerr << "habuki-gui: " << EscapeControls(CommentFileWrittenIn(folder).string())
              << ": cannot write: " << error.message() << '\n';
  }
}

std::optional<FormatKind> Form1::SelectedFormat() const {
  if (Option1->isChecked()) return FormatKind::Fs30i;
  if (Option2->isChecked()) return FormatKind::Fs16i;
  if (Option3->isChecked()) return FormatKind::Pmc;
  return std::nullopt;
}

void Form1::SelectFormat(FormatKind kind) {
  QRadioButton* option = kind == FormatKind::Fs30i   ? Option1
                         : kind == FormatKind::Fs16i ? Option2
                                                     : Option3;
  option->setChecked(true);
}

}  // namespace habuki::ui
