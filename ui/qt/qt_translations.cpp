#include "ui/qt/qt_translations.h"

#include <QLibraryInfo>

namespace habuki::ui {

bool LoadQtTranslations(QTranslator& translator, const QLocale& locale) {
  return translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace habuki::ui
