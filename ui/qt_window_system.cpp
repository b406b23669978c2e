#include "ui/qt_window_system.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "comment/comment_folders.h"

namespace habuki::ui {

namespace {

std::optional<QString> RunDialog(QFileDialog& dialog, DialogSettings& settings) {
  // The descriptions already name their patterns: Qt need not repeat them.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(QtNameFilters(settings.fileTypes));
  dialog.setDirectory(settings.folder);
  if (!settings.fileName.isEmpty()) dialog.selectFile(settings.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  settings.fileName = dialog.selectedFiles().constFirst();
  return settings.fileName;
}

}  // namespace

std::optional<QString> QtWindowSystem::ShowOpenDialog(QWidget* parent, DialogSettings& settings) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return RunDialog(dialog, settings);
}

// The save options ask for an existing file too, but a result is usually saved under a new
// name: the dialog accepts any file in an existing folder and asks before overwriting.
std::optional<QString> QtWindowSystem::ShowSaveDialog(QWidget* parent, DialogSettings& settings) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, (settings.flags & kOverwritePrompt) == 0);
  return RunDialog(dialog, settings);
}

void QtWindowSystem::ShowMessage(QWidget* parent, const QString& text, const QString& title) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(QMessageBox::NoIcon, title, shown, QMessageBox::Ok, parent);
  box.exec();
}

std::vector<std::filesystem::path> QtWindowSystem::CommentFolders() const {
  return habuki::CommentFolders(configFolder_, programFolder_);
}

void QtWindowSystem::EndProgramNow() { QCoreApplication::exit(0); }

QStringList QtNameFilters(const QString& fileTypes) {
  const QStringList parts = fileTypes.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      patterns << pattern.toUpper();
      if (pattern.toLower() != pattern.toUpper()) patterns << pattern.toLower();
    }
    filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + u')';
  }
  return filters;
}

}  // namespace habuki::ui
