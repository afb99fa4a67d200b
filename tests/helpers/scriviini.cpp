// Test stand-in for a process writing settings: ScriviIni once, or for ever in turns.
#include <QString>
#include <cstdio>
#include <cstring>

#include "app/ini.h"

// scrivi_ini FILE SECTION KEY VALUE           writes the value once; status 1 and the cause
//                                             on standard error when it was not stored
// scrivi_ini --ciclo FILE SECTION KEY A B     writes A and B in turns until killed
int main(int argc, char** argv) {
    const bool ciclo = argc == 7 && std::strcmp(argv[1], "--ciclo") == 0;
    if (!ciclo && argc != 5) return 2;
    char** campi = ciclo ? argv + 2 : argv + 1;
    const QString file = QString::fromLocal8Bit(campi[0]);
    const QString sezione = QString::fromLocal8Bit(campi[1]);
    const QString chiave = QString::fromLocal8Bit(campi[2]);
    if (!ciclo) {
        const std::optional<QString> causa =
            ScriviIniVerificato(file, sezione, chiave, QString::fromLocal8Bit(campi[3]));
        if (causa) std::fprintf(stderr, "%s\n", qUtf8Printable(*causa));
        return causa ? 1 : 0;
    }
    // Tells the test that the loop begins, so that its kills land among the writes.
    std::puts("ciclo");
    std::fflush(stdout);
    for (bool primo = true;; primo = !primo) {
        ScriviIni(file, sezione, chiave, QString::fromLocal8Bit(primo ? campi[3] : campi[4]));
    }
}
