// Loading Qt's Italian translations.
#include "platform/gui/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <memory>

bool loadQtTranslations(QCoreApplication& app) {
    auto translator = std::make_unique<QTranslator>();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder)) {
        std::fprintf(stderr, "SCADEX: traduzioni di Qt (qtbase_it) assenti in %s\n",
                     qUtf8Printable(folder));
        return false;
    }
    translator->setParent(&app);  // the application owns it from here on
    return QCoreApplication::installTranslator(translator.release());
}
