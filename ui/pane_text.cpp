#include "ui/pane_text.h"

#include "core/display_text.h"

namespace habuki::ui {

QString PaneText(const Cp932Text& text) {
  QString shown = QString::fromStdString(Cp932ToUtf8(text.Bytes()));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

}  // namespace habuki::ui
