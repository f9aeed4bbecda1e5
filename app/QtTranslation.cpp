#include "app/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace velkor {

namespace {

// Qt's Polish catalogue names saving "Zachowaj"; Polish desktops, and the program's own texts,
// say "Zapisz". Asked before the catalogue (the translator installed last is asked first); a
// null answer passes the text on to it.
class PolishSaving final : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* /*context*/, const char* sourceText,
                      const char* /*disambiguation*/, int /*n*/) const override {
        const QLatin1String source(sourceText);
        if (source == QLatin1String("Save") || source == QLatin1String("&Save"))
            return QString::fromUtf8(source.startsWith('&') ? "&Zapisz" : "Zapisz");
        if (source == QLatin1String("Save As"))
            return QStringLiteral("Zapisz jako");
        if (source == QLatin1String("Save All"))
            return QStringLiteral("Zapisz wszystko");
        return {};
    }
};

} // namespace

QtTranslation::QtTranslation(Language language) {
    if (language == Language::English)
        return;
    catalogue_ = std::make_unique<QTranslator>();
    loaded_ = catalogue_->load(QStringLiteral("qtbase_pl"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
              QCoreApplication::installTranslator(catalogue_.get());
    if (!loaded_)
        return;
    saving_ = std::make_unique<PolishSaving>();
    QCoreApplication::installTranslator(saving_.get());
}

QtTranslation::~QtTranslation() {
    if (saving_)
        QCoreApplication::removeTranslator(saving_.get());
    if (catalogue_)
        QCoreApplication::removeTranslator(catalogue_.get());
}

} // namespace velkor
