#pragma once

#include <QPlainTextEdit>
#include <QStringList>

class QMimeData;

namespace habuki::ui {

// A text pane that takes dropped files instead of dropped text: a drag that carries local files
// and offers to copy them is taken as a copy and ends in filesDropped; any other drag is refused
// as it enters. It shows no drag feedback of its own.
class DropPane : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit DropPane(QWidget* parent = nullptr);

 signals:
  void filesDropped(const QStringList& files);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

// The local files a drop carries, in order; empty when it carries something else.
QStringList DroppedFiles(const QMimeData& data);

}  // namespace habuki::ui
