#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextDocument>
#include <iostream>
#include <new>

#include "comment/comment_files.h"
#include "core/detect_format.h"
#include "core/display_text.h"
#include "core/output_plan.h"
#include "core/param_file.h"
#include "ui/busy_cursor.h"
#include "ui/drop_pane.h"
#include "ui/form1.h"
#include "ui/pane_text.h"
#include "ui/window_texts.h"

namespace habuki::ui {

void Form1::OnOpen() {
  const std::optional<QString> file = windowSystem_.ShowOpenDialog(this, CDG);
  if (!file) return;  // a cancelled dialog leaves both panes as they were
  OpenFile(*file);
}

void Form1::OpenFile(const QString& file) {
  CDG.fileName = file;
  Text1->clear();
  Text2->clear();
  LoadAndShow(file);
}

void Form1::OnDropOnLeftPane(const QStringList& files) {
  Text1->clear();
  Text2->clear();
  SetTitle();
  if (!files.isEmpty()) LoadAndShow(files.constFirst());
}

// Loads the file and shows it with its format selected; any failure ends silently, a file too
// large for memory included. The window keeps the text while the user works, so it holds a copy:
// another program may rewrite the file meanwhile.
void Form1::LoadAndShow(const QString& file) {
  const BusyCursor busy;
  try {
    const LoadResult loaded = LoadParamFile(state_, file.toStdString());
    if (!loaded) return;
    loadedFrom_ = {file.toStdString(), loaded.identity};
    Text1->setPlainText(PaneText(state_.AllText));
    SelectFormat(DetectFormat(state_.AllText));
  } catch (const std::bad_alloc&) {
    Text1->clear();
  }
}

// Saves the result of the last filter run, never what was typed into the pane, and says
// whether it worked: a silent failure would let the user walk away without a result. The
// output plan keeps the result off the backup it was made from.
void Form1::OnSave() {
  if (Text2->document()->isEmpty()) return;
  CDG.flags = kSaveOptions;
  const std::optional<QString> file = windowSystem_.ShowSaveDialog(this, CDG);
  if (!file) return;
  const StandardStreams streams;
  const OutputPlan plan = PlanOutputs({loadedFrom_}, ToFile{file->toStdString()}, streams);
  const PlannedOutput& output = plan.outputs.front();
  QString failure;
  if (output.refusal) {
    failure = QString::fromUtf8(kSaveOverOpenedBackup);
  } else if (const std::error_code error = SaveResult(output, streams)) {
    failure = QString::fromStdString(error.message());
  }
  const QString title = QString::fromUtf8(kMessageTitle);
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
