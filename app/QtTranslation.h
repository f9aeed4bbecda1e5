#pragma once
// Qt's own texts (the buttons and labels of the file, print and message dialogs) in the
// window's language. The window's texts are the program's own and do not go through it.

#include "app/Language.h"

class QTranslator;

namespace velkor {

// For Polish, loads Qt's Polish catalogue (qtbase_pl from Qt's translations folder, Debian
// package qt6-translations-l10n) into `translator` and installs it in the application. English
// needs none. False when the catalogue is missing; Qt's texts then stay English.
bool InstallQtTranslation(Language language, QTranslator& translator);

} // namespace velkor
