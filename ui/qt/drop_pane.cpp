#include "ui/qt/drop_pane.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace habuki::ui {

namespace {

// Takes a drag that carries local files, always as a copy: a "move" would tell the source to
// delete what it gave. A drag that does not offer a copy is refused, since Qt would take it as
// the action the source proposes; so is anything but files, so that it never reaches the drop.
bool TakeAsCopy(QDropEvent& event) {
  if (!event.possibleActions().testFlag(Qt::CopyAction) ||
      DroppedFiles(*event.mimeData()).isEmpty()) {
    event.ignore();
    return false;
  }
  event.setDropAction(Qt::CopyAction);
  event.accept();
  return true;
}

}  // namespace

DropPane::DropPane(QWidget* parent) : QPlainTextEdit(parent) { setAcceptDrops(true); }

void DropPane::dragEnterEvent(QDragEnterEvent* event) { TakeAsCopy(*event); }

void DropPane::dragMoveEvent(QDragMoveEvent* event) { TakeAsCopy(*event); }

void DropPane::dropEvent(QDropEvent* event) {
  if (TakeAsCopy(*event)) emit filesDropped(DroppedFiles(*event->mimeData()));
}

QStringList DroppedFiles(const QMimeData& data) {
  QStringList files;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}

}  // namespace habuki::ui
