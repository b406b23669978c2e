#include "drop_pane.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace habuki::ui {

DropPane::DropPane(QWidget* parent) : QPlainTextEdit(parent) { setAcceptDrops(true); }

void DropPane::dragEnterEvent(QDragEnterEvent* event) { event->acceptProposedAction(); }

void DropPane::dragMoveEvent(QDragMoveEvent* event) { event->acceptProposedAction(); }

void DropPane::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  emit filesDropped(DroppedFiles(*event->mimeData()));
}

QStringList DroppedFiles(const QMimeData& data) {
  QStringList files;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}

}  // namespace habuki::ui
