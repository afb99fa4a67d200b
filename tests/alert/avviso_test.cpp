// Reading the argument that scadex passes to the alert program.
#include "alert/avviso.h"

#include <gtest/gtest.h>

#include "gestarprova.h"
#include "reminder/argomentoerrato.h"
#include "util/dateserial.h"

namespace {

double serial(int giorno, int mese, int anno, int ore = 0, int minuti = 0) {
    return dateserial::fromDateTime(QDateTime(QDate(anno, mese, giorno), QTime(ore, minuti)));
}

struct CasoBuono {
    const char* nome;
    const char* campi;  // everything after the configuration path
    int inAttesa;
    qint32 cliente;
    const char* azione;
    double data;
};

class ArgomentoAccettato : public ::testing::TestWithParam<CasoBuono> {
protected:
    GestarProva gestar;
};

TEST_P(ArgomentoAccettato, GivesEveryField) {
    const CasoBuono& caso = GetParam();
    const Avviso avviso = LeggiAvviso(gestar.fileIni + caso.campi);
    EXPECT_EQ(avviso.fileIni, gestar.fileIni);
    EXPECT_EQ(avviso.inAttesa, caso.inAttesa);
    EXPECT_EQ(avviso.cliente, caso.cliente);
    EXPECT_EQ(avviso.azione, QString(caso.azione));
    EXPECT_TRUE(dateserial::sameSecond(avviso.data, caso.data)) << avviso.data;
}

INSTANTIATE_TEST_SUITE_P(Forms, ArgomentoAccettato,
                         ::testing::Values(CasoBuono{"Ordinary", "|1|1234|VIS|06/12/2026 10:00:00",
                                                     1, 1234, "VIS", serial(6, 12, 2026, 10)},
                                           CasoBuono{"EmptyAction", "|3|1234||06/12/2026 10:30:00",
                                                     3, 1234, "", serial(6, 12, 2026, 10, 30)},
                                           CasoBuono{"Midnight", "|2|7|TEL|06/12/2026", 2, 7, "TEL",
                                                     serial(6, 12, 2026)},
                                           CasoBuono{"BarsInAction", "|2|7|A|B||06/12/2026", 2, 7,
                                                     "A|B|", serial(6, 12, 2026)},
                                           CasoBuono{"NegativeClient",
                                                     "|1|-5|VIS|01/01/2027 08:00:00", 1, -5, "VIS",
                                                     serial(1, 1, 2027, 8)}),
                         [](const auto& info) { return std::string(info.param.nome); });

struct CasoErrato {
    const char* nome;
    const char* argomento;  // "INI" stands for the path of an existing Gestar.ini
    const char* messaggio;  // the start of what the operator reads
};

class ArgomentoRifiutato : public ::testing::TestWithParam<CasoErrato> {
protected:
    GestarProva gestar;
};

TEST_P(ArgomentoRifiutato, IsRefusedWithAMessage) {
    const CasoErrato& caso = GetParam();
    const QString argomento =
        QString(caso.argomento).replace(QStringLiteral("INI"), gestar.fileIni);
    try {
        LeggiAvviso(argomento);
        FAIL() << "accepted: " << argomento.toStdString();
    } catch (const ArgomentoErrato& errore) {
        EXPECT_TRUE(errore.messaggio().startsWith(QString(caso.messaggio)))
            << errore.messaggio().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ArgomentoRifiutato,
    ::testing::Values(
        CasoErrato{"Empty", "", "Argomento non valido"},
        CasoErrato{"FourFields", "INI|1|1234|06/12/2026 10:00:00", "Argomento non valido"},
        CasoErrato{"LastFieldNoDate", "INI|1|1234|VIS|06/12/2026 10:00:00|x",
                   "Data dell'appuntamento"},
        CasoErrato{"SixFieldsNoCount", "INI|tre|1234|VIS|x|06/12/2026", "Numero di promemoria"},
        CasoErrato{"CountNotANumber", "INI|tre|1234|VIS|06/12/2026", "Numero di promemoria"},
        CasoErrato{"CountNegative", "INI|-1|1234|VIS|06/12/2026", "Numero di promemoria"},
        CasoErrato{"ClientBeyond32Bits", "INI|1|2147483648|VIS|06/12/2026", "Codice cliente"},
        CasoErrato{"DateMissing", "INI|1|1234|VIS|", "Data dell'appuntamento"},
        CasoErrato{"DateImpossible", "INI|1|1234|VIS|31/02/2026 10:00:00",
                   "Data dell'appuntamento"},
        CasoErrato{"NoConfiguration", "INI.manca|1|1234|VIS|06/12/2026",
                   "File di configurazione inesistente"},
        CasoErrato{"FolderAsConfiguration", "/tmp|1|1234|VIS|06/12/2026",
                   "File di configurazione inesistente"}),
    [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
