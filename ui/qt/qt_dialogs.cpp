#include "ui/qt/qt_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/qt/qt_text.h"

namespace habuki::ui {

namespace {

std::optional<std::filesystem::path> RunDialog(QFileDialog& dialog, DialogSettings& settings) {
  // The descriptions already name their patterns: Qt need not repeat them.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(QtNameFilters(QtText(settings.fileTypes)));
  dialog.setDirectory(QtPath(settings.folder));
  if (!settings.fileName.empty()) dialog.selectFile(QtPath(settings.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  settings.fileName = PathOf(dialog.selectedFiles().constFirst());
  return settings.fileName;
}

}  // namespace

std::optional<std::filesystem::path> ShowQtOpenDialog(QWidget* parent, DialogSettings& settings) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return RunDialog(dialog, settings);
}

// The save options ask for an existing file too, but a result is usually saved under a new
// name: the dialog accepts any file name, and asks before overwriting when told to.
std::optional<std::filesystem::path> ShowQtSaveDialog(QWidget* parent, DialogSettings& settings) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.options.overwritePrompt);
  return RunDialog(dialog, settings);
}

void ShowQtMessage(QWidget* parent, std::string_view text, std::string_view title) {
  QString shown = QtText(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(QMessageBox::NoIcon, QtText(title), shown, QMessageBox::Ok, parent);
  box.exec();
}

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
