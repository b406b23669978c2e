#pragma once

#include <QStringList>
#include <filesystem>
#include <optional>
#include <string_view>

#include "ui/form1_view.h"

class QWidget;

namespace habuki::ui {

// The file dialogs and the message box of a real desktop, through Qt, as Form1View asks for
// them. The chosen file is also kept in settings.fileName; nothing when cancelled.
std::optional<std::filesystem::path> ShowQtOpenDialog(QWidget* parent, DialogSettings& settings);
std::optional<std::filesystem::path> ShowQtSaveDialog(QWidget* parent, DialogSettings& settings);
void ShowQtMessage(QWidget* parent, std::string_view text, std::string_view title);

// The dialog file types in Qt's form: one "description (patterns)" entry per pair, patterns
// separated by blanks and given in both cases, so that *.PRM also matches backup.prm.
QStringList QtNameFilters(const QString& fileTypes);

}  // namespace habuki::ui
