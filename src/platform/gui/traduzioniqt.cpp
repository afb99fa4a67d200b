// Loading Qt's Italian translations.
#include "platform/gui/traduzioniqt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <memory>

bool CaricaTraduzioniQt(QCoreApplication& app) {
    auto traduzioni = std::make_unique<QTranslator>();
    const QString cartella = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!traduzioni->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                          QStringLiteral("_"), cartella)) {
        std::fprintf(stderr, "SCADEX: traduzioni di Qt (qtbase_it) assenti in %s\n",
                     qUtf8Printable(cartella));
        return false;
    }
    traduzioni->setParent(&app);  // the application owns it from here on
    return QCoreApplication::installTranslator(traduzioni.release());
}
