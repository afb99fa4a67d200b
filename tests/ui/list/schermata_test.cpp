// Not a check: draws the list window over a few demo lines into docs/list-window.png.
// Run with --gtest_also_run_disabled_tests --gtest_filter='*Schermata*'.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include "app/globali.h"
#include "support/fakes.h"
#include "support/tempdir.h"
#include "ui/list/listaapp.h"

namespace {

QString rigaDimostrativa(const char* momento, int cliente, const char* causale, const char* nota) {
    return QStringLiteral("%1 %2 %3 %4")
        .arg(QLatin1String(momento))
        .arg(cliente, 7)
        .arg(QString::fromLatin1(causale).leftJustified(50, QLatin1Char(' '), true))
        .arg(QLatin1String(nota));
}

TEST(SchermataTest, DISABLED_ListaAppOverDemoLines) {
    const QStringList righe = {
        rigaDimostrativa("07/12/26 09:30", 1024, "VISITA DI CONTROLLO ANNUALE", "portare esami"),
        rigaDimostrativa("07/12/26 11:00", 77, "TELEFONATA PER PREVENTIVO IMPIANTO", " "),
        rigaDimostrativa("09/12/26 15:45", 350412, "CONSEGNA DOCUMENTI FIRMATI", "studio Rossi"),
        rigaDimostrativa(
            "12/12/26 08:15", 9, "SOPRALLUOGO CANTIERE VIA GARIBALDI 12 - SECONDO PIANO INTERNO 4",
            "chiavi dal portiere, citofonare due volte, poi salire con l'ascensore di servizio"),
        rigaDimostrativa("15/01/27 10:00", 2211, "RINNOVO CONTRATTO ASSISTENZA", " ")};
    QStringList chiavi;
    for (qsizetype i = 0; i < righe.size(); ++i) chiavi << QStringLiteral("1|A|07/12/2026|");

    const TestFolder cartella;
    FakePlatform piattaforma;
    PlatformServices servizi = piattaforma.services();
    Globali globali;
    globali.FileIni = cartella.path("Gestar.ini");
    ListaApp lista(
        globali, servizi, righe, chiavi, [](auto&&...) {}, [] {});
    lista.show();
    QCoreApplication::processEvents();
    const QString file = QDir(SCADEX_SCHEMA_DIR "/../docs").absoluteFilePath("list-window.png");
    QDir().mkpath(QFileInfo(file).absolutePath());
    EXPECT_TRUE(lista.grab().save(file));
}

}  // namespace
