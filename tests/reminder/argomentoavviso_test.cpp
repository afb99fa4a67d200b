// The alert program's argument composed and read back.
#include "reminder/argomentoavviso.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <limits>

#include "util/dateserial.h"

namespace {

double alle(int anno, int mese, int giorno, int ore, int minuti, int secondi) {
    return dateserial::fromDateTime(
        QDateTime(QDate(anno, mese, giorno), QTime(ore, minuti, secondi)));
}

// Every combination of paths, actions, counts, clients and moments reads back as composed.
TEST(ArgomentoAvviso, EveryComposedArgumentReadsBackTheSameValues) {
    const QString percorsi[] = {"/home/op/Gestar.ini", "/home/op/dati gestar/Gestar.ini",
                                "/home/op/a|b/Gestar.ini", "C:\\DATI|2026 |x\\Gestar.ini",
                                "/srv/|/Gestar.ini"};
    const QString azioni[] = {"VIS", "", "A|B", "|", "||", " V S ", "V|1|2", "  "};
    const int conteggi[] = {0, 1, std::numeric_limits<int>::max()};
    const qint32 clienti[] = {0, 1234, -5, std::numeric_limits<qint32>::min(),
                              std::numeric_limits<qint32>::max()};
    const double momenti[] = {alle(2026, 12, 6, 10, 0, 0),
                              alle(2026, 12, 6, 23, 59, 59),
                              alle(2027, 1, 1, 0, 0, 0),
                              alle(9999, 12, 31, 0, 0, 1),
                              0,
                              0.5};  // day 0 is written as its time alone
    for (const QString& percorso : percorsi)
        for (const QString& azione : azioni)
            for (const int conteggio : conteggi)
                for (const qint32 cliente : clienti)
                    for (const double momento : momenti) {
                        const ArgomentoAvviso composto{percorso, conteggio, cliente, azione,
                                                       momento};
                        const QString argomento = composto.componi();
                        SCOPED_TRACE(argomento.toStdString());
                        const ArgomentoAvviso letto = ArgomentoAvviso::leggi(argomento);
                        EXPECT_EQ(letto.fileIni, percorso);
                        EXPECT_EQ(letto.inAttesa, conteggio);
                        EXPECT_TRUE(letto.stessoAppuntamento(composto));
                    }
}

// The readings the layout cannot tell apart: a path holding "|<count>|<client>|", or ending in
// "|<number>" that pairs with the count, ends at the first such pair.
struct CasoAmbiguo {
    const char* nome;
    const char* argomento;
    const char* fileIni;
    int inAttesa;
    qint32 cliente;
    const char* azione;
};

class PercorsoAmbiguo : public ::testing::TestWithParam<CasoAmbiguo> {};

TEST_P(PercorsoAmbiguo, EndsAtTheFirstCountAndClient) {
    const CasoAmbiguo& c = GetParam();
    const ArgomentoAvviso letto = ArgomentoAvviso::leggi(QString::fromUtf8(c.argomento));
    EXPECT_EQ(letto.fileIni, c.fileIni);
    EXPECT_EQ(letto.inAttesa, c.inAttesa);
    EXPECT_EQ(letto.cliente, c.cliente);
    EXPECT_EQ(letto.azione, c.azione);
}

INSTANTIATE_TEST_SUITE_P(Percorsi, PercorsoAmbiguo,
                         ::testing::Values(CasoAmbiguo{"CountAndClientInAFolder",
                                                       "/a|3|12|b/Gestar.ini|1|1234|VIS|06/12/2026",
                                                       "/a", 3, 12, "b/Gestar.ini|1|1234|VIS"},
                                           CasoAmbiguo{"NumberEndingTheFileName",
                                                       "/srv/Gestar|7|1|1234|VIS|06/12/2026",
                                                       "/srv/Gestar", 7, 1, "1234|VIS"}),
                         [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
