#pragma once

#include <QLocale>
#include <QTranslator>

namespace habuki::ui {

// Loads Qt's own texts (file dialogs, the overwrite question, the buttons of message boxes) in
// the language of `locale` from Qt's translations folder; false when Qt has none for it, and
// Qt's English texts stay. The window's own texts are Japanese whatever the language.
bool LoadQtTranslations(QTranslator& translator, const QLocale& locale);

}  // namespace habuki::ui
