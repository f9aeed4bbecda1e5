#pragma once
// Qt's own texts (the buttons and titles of the file, print and message dialogs) in the
// window's language. The window's texts are the program's own and do not go through it.

#include "messages/Language.h"

#include <QTranslator>

#include <memory>

namespace velkor {

// While it lives, Qt's texts are in `language`. For Polish it loads Qt's Polish catalogue
// (qtbase_pl from Qt's translations folder, Debian package qt6-translations-l10n) and, over it,
// the program's own word for saving: "Zapisz" where the catalogue says "Zachowaj". English
// needs neither.
class QtTranslation {
public:
    explicit QtTranslation(Language language);
    ~QtTranslation();
    QtTranslation(const QtTranslation&) = delete;
    QtTranslation& operator=(const QtTranslation&) = delete;

    // False when Polish was asked for and Qt's catalogue is missing; Qt's texts then stay
    // English.
    bool Loaded() const { return loaded_; }

private:
    std::unique_ptr<QTranslator> catalogue_;
    std::unique_ptr<QTranslator> saving_;
    bool loaded_ = true;
};

} // namespace velkor
