#include "app/Translators.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installTranslators(QCoreApplication &app, const QLocale &locale) {
    // Qt's catalogue for its own widgets comes from the system (qt6-translations-l10n on Debian).
    auto *qt = new QTranslator(&app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;

    // The English catalogue holds only plural forms ("1 file", "2 files"). It goes in first, so
    // any other language's catalogue takes precedence, and stays as the fallback beneath it.
    auto *english = new QTranslator(&app);
    if (english->load(QStringLiteral(":/i18n/mirandel_en.qm")))
        QCoreApplication::installTranslator(english);
    else
        delete english;
    if (locale.language() == QLocale::English)
        return true;

    // The program's own catalogue is compiled in, so an installed binary never misses it.
    auto *own = new QTranslator(&app);
    if (!own->load(locale, QStringLiteral("mirandel"), QStringLiteral("_"),
                   QStringLiteral(":/i18n"))) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);
    return true;
}
