#pragma once
// Qt's own texts (the buttons of message boxes, the file dialogs) in the interface language.
#include <QString>

namespace platform {

// Loads Qt's translation for a language name ("zh_TW", "zh_CN"; English needs none) into the
// application. Debian 12 ships Qt's translations for Qt 5 only; their texts for the dialogs and
// buttons are the ones Qt 6 shows, so they are taken when Qt 6 has none. False when none was
// found.
bool InstallQtTranslations(const QString& language);

} // namespace platform
