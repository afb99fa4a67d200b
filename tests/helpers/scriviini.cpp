// Test stand-in for a process writing settings: once, or for ever in turns.
#include <QList>
#include <QString>
#include <cstdio>
#include <cstring>
#include <utility>

#include "app/ini.h"

// scrivi_ini FILE SECTION KEY VALUE [KEY VALUE]...   writes the values in one go; status 1
//                                                  and the cause on standard error when they
//                                                  were not stored
// scrivi_ini --ciclo FILE SECTION KEY A B           writes A and B in turns until killed
int main(int argc, char** argv) {
    const bool ciclo = argc == 7 && std::strcmp(argv[1], "--ciclo") == 0;
    if (!ciclo && (argc < 5 || argc % 2 == 0)) return 2;
    char** campi = ciclo ? argv + 2 : argv + 1;
    const QString file = QString::fromLocal8Bit(campi[0]);
    const QString sezione = QString::fromLocal8Bit(campi[1]);
    if (!ciclo) {
        QList<std::pair<QString, QString>> chiaviValori;
        for (int campo = 2; campo + 1 < argc - 1; campo += 2) {
            chiaviValori.append(
                {QString::fromLocal8Bit(campi[campo]), QString::fromLocal8Bit(campi[campo + 1])});
        }
        const std::optional<QString> causa = ScriviIniVerificato(file, sezione, chiaviValori);
        if (causa) std::fprintf(stderr, "%s\n", qUtf8Printable(*causa));
        return causa ? 1 : 0;
    }
    const QString chiave = QString::fromLocal8Bit(campi[2]);
    // Tells the test that the loop begins, so that its kills land among the writes.
    std::puts("ciclo");
    std::fflush(stdout);
    for (bool primo = true;; primo = !primo) {
        ScriviIni(file, sezione, chiave, QString::fromLocal8Bit(primo ? campi[3] : campi[4]));
    }
}
