// Damaged or odd host files: a run, or an end that says why; never a crash or a changed host file.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QStringEncoder>
#include <functional>
#include <random>
#include <stdexcept>

#include "app/chiusura.h"
#include "app/sessione.h"
#include "support/fakes.h"
#include "support/rawdatabase.h"
#include "support/sqlfile.h"
#include "support/tempdir.h"
#include "ui/main/startup.h"

namespace {

constexpr double kOggi = 46362;  // 6 December 2026
constexpr qsizetype kMegabyte = 1024 * 1024;

using Avvio = Startup::Avvio;

// A workspace whose files each case spoils in its own way.
class Banco {
public:
    Banco()
        : visite(folder.path(QStringLiteral("dati/op/VisiteDV.mdb"))),
          work(folder.path(QStringLiteral("lavoro/op/WorkDV.mdb"))),
          sessione(folder.path(QStringLiteral("Gestar.ini"))) {
        SqlFile::create(visite, QStringLiteral("visite.sql"));
        SqlFile::create(work, QStringLiteral("work.sql"));
        appuntamento({1234, kOggi + 10.0 / 24, "VIS", 30, "N", "A", "nota", "causa", "doc.pdf"});
        appuntamento({99, kOggi + 1, "TEL", 60, "N", "A", {}, {}, {}});
        scriviIni(ini());
        platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(9, 45));
    }

    QByteArray ini(const QByteArray& operatore = "op") const {
        return "[BASE]\r\nOPERATORE=" + operatore +
               "\r\n[PATH]\r\nFILE=" + folder.path(QStringLiteral("dati")).toUtf8() +
               "\r\nWORK=" + folder.path(QStringLiteral("lavoro")).toUtf8() +
               "\r\n[AGENDA]\r\nSecondi=5\r\n";
    }
    void scriviIni(const QByteArray& testo) { folder.write(QStringLiteral("Gestar.ini"), testo); }
    void appuntamento(const QVariantList& valori) {
        SqlFile(visite).exec(QStringLiteral("INSERT INTO Appuntamenti VALUES (?, ?, ?, ?, ?, "
                                            "?, ?, ?, ?)"),
                             valori);
    }
    static void sostituisci(const QString& path, const QByteArray& byte) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(byte) != byte.size())
            throw std::runtime_error("cannot rewrite a test file");
    }

    TestFolder folder;
    QString visite;
    QString work;
    Sessione sessione;
    FakePlatform platform;
    PlatformServices services = platform.services();
};

QByteArray casuali(qsizetype quanti, unsigned seme) {
    std::mt19937 caso(seme);
    QByteArray byte(quanti, Qt::Uninitialized);
    for (char& b : byte) b = static_cast<char>(caso() & 0xff);
    return byte;
}

QByteArray impronta(const QString& path) {
    return QCryptographicHash::hash(TestFolder::read(path), QCryptographicHash::Sha256);
}

void ricreaPromemoria(Banco& banco, const QString& colonne) {
    SqlFile work(banco.work);
    work.exec(QStringLiteral("DROP TABLE Promemoria"));
    work.exec(QStringLiteral("CREATE TABLE Promemoria (%1)").arg(colonne));
    work.exec(
        QStringLiteral("CREATE UNIQUE INDEX primaria ON Promemoria (PmCliente, PmData, PmAzione)"));
}

struct Caso {
    const char* nome;
    const char* ingresso;  // what the host file holds, for the table of results
    std::function<void(Banco&)> guasta;
    Avvio atteso;
};

const Caso kCasi[] = {
    {"WorkTroncato", "WorkDV.mdb cut to its first 1 000 bytes",
     [](Banco& b) { b.sostituisci(b.work, TestFolder::read(b.work).left(1000)); }, Avvio::Errore},
    {"WorkVuoto", "WorkDV.mdb of 0 bytes", [](Banco& b) { b.sostituisci(b.work, {}); },
     Avvio::Errore},
    {"WorkCasuale", "WorkDV.mdb of 64 KiB random bytes",
     [](Banco& b) { b.sostituisci(b.work, casuali(65536, 1)); }, Avvio::Errore},
    {"WorkTestataSqliteCasuale", "WorkDV.mdb: an SQLite header, then random bytes",
     [](Banco& b) {
         b.sostituisci(b.work, TestFolder::read(b.work).left(100) + casuali(16284, 2));
     },
     Avvio::Errore},
    {"WorkSenzaPromemoria", "WorkDV.mdb without table Promemoria",
     [](Banco& b) { SqlFile(b.work).exec(QStringLiteral("DROP TABLE Promemoria")); },
     Avvio::Errore},
    {"WorkSenzaColonna", "Promemoria without column PmDocumento",
     [](Banco& b) {
         ricreaPromemoria(b, QStringLiteral("PmCliente INTEGER, PmData REAL, PmAzione TEXT, "
                                            "PmAllarm REAL, PmWait TEXT"));
     },
     Avvio::Errore},
    {"WorkSenzaIndice", "Promemoria without index primaria",
     [](Banco& b) { SqlFile(b.work).exec(QStringLiteral("DROP INDEX primaria")); }, Avvio::Errore},
    {"WorkTipiErrati", "Promemoria with every column TEXT",
     [](Banco& b) {
         ricreaPromemoria(b, QStringLiteral("PmCliente TEXT, PmData TEXT, PmAzione TEXT, "
                                            "PmAllarm TEXT, PmWait TEXT, PmDocumento TEXT"));
     },
     Avvio::Avviato},
    {"VisiteSenzaAppuntamenti", "VisiteDV.mdb without table Appuntamenti",
     [](Banco& b) { SqlFile(b.visite).exec(QStringLiteral("DROP TABLE Appuntamenti")); },
     Avvio::Errore},
    {"VisiteTestoNelCliente", "ApCliente 'abc' in a due appointment",
     [](Banco& b) {
         b.appuntamento({"abc", kOggi + 0.5, "VIS", 30, "N", "A", "n", "c", {}});
     },
     Avvio::Avviato},
    {"VisiteTestoNellaData", "ApData 'domani' (no number: day 0)",
     [](Banco& b) {
         b.appuntamento({5, "domani", "VIS", 30, "N", "A", "n", "c", {}});
     },
     Avvio::Avviato},
    {"VisiteDataImpossibile", "ApData '31/02/2026' (a date text that is no date)",
     [](Banco& b) {
         b.appuntamento({5, "31/02/2026", "VIS", 30, "N", "A", "n", "c", {}});
     },
     Avvio::Avviato},
    {"VisiteTestoNelPreavviso", "ApAllarm 'trenta'",
     [](Banco& b) {
         b.appuntamento({5, kOggi + 0.5, "VIS", "trenta", "N", "A", "n", "c", {}});
     },
     Avvio::Avviato},
    {"VisiteTuttoNull", "a row of NULL in every column",
     [](Banco& b) {
         b.appuntamento({{}, {}, {}, {}, {}, {}, {}, {}, {}});
     },
     Avvio::Avviato},
    {"VisiteNullNeiCampiFacoltativi", "NULL action, note, cause and document",
     [](Banco& b) {
         b.appuntamento({5, kOggi + 0.5, {}, 30, "N", "A", {}, {}, {}});
     },
     Avvio::Avviato},
    {"VisiteNullNelCliente", "NULL ApCliente in a due appointment",
     [](Banco& b) {
         b.appuntamento({{}, kOggi + 0.5, "VIS", 30, "N", "A", {}, {}, {}});
     },
     Avvio::Avviato},
    {"VisiteTesti10MB", "10 MB note, cause, action and document",
     [](Banco& b) {
         const QString lungo(10 * kMegabyte, QLatin1Char('x'));
         b.appuntamento({5, kOggi + 0.5, lungo, 30, "N", "A", lungo, lungo, lungo});
     },
     Avvio::Avviato},
    {"VisiteByteNul", "NUL bytes in action, note, cause and document",
     [](Banco& b) {
         const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
         b.appuntamento({5, kOggi + 0.5, nul, 30, "N", "A", nul, nul, QChar(0) + nul});
     },
     Avvio::Avviato},
    {"Ini50MB", "Gestar.ini of 50 MB (the keys, then comment lines)",
     [](Banco& b) {
         QByteArray testo = b.ini();
         const QByteArray riga = "; riempimento riempimento riempimento riempimento\r\n";
         testo.reserve(50 * kMegabyte + riga.size());
         while (testo.size() < 50 * kMegabyte) testo += riga;
         b.scriviIni(testo);
     },
     Avvio::Avviato},
    {"IniBinario", "Gestar.ini of 64 KiB random bytes",
     [](Banco& b) { b.scriviIni(casuali(65536, 3)); }, Avvio::SenzaOperatore},
    {"IniSenzaACapoFinale", "Gestar.ini whose last line has no line end",
     [](Banco& b) { b.scriviIni(b.ini().chopped(2)); }, Avvio::Avviato},
    {"IniWindows1252", "Gestar.ini in Windows-1252, operator folder \"operatorè\"",
     [](Banco& b) {
         const QString cartella = QStringLiteral("operatorè");
         SqlFile::create(b.folder.path("dati/" + cartella + "/VisiteDV.mdb"), "visite.sql");
         SqlFile::create(b.folder.path("lavoro/" + cartella + "/WorkDV.mdb"), "work.sql");
         b.scriviIni(b.ini(cartella.toLatin1()));
     },
     Avvio::Avviato},
    {"IniUtf16", "Gestar.ini in UTF-16 with a byte order mark",
     [](Banco& b) {
         QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
         b.scriviIni(utf16(QString::fromUtf8(b.ini())));
     },
     Avvio::SenzaOperatore},
};

void PrintTo(const Caso& caso, std::ostream* out) {
    *out << caso.ingresso;
}

class IngressiErrati : public ::testing::TestWithParam<Caso> {};

TEST_P(IngressiErrati, NessunCrolloNessunFileDelProgrammaOspiteCambiato) {
    Banco banco;
    GetParam().guasta(banco);
    const QByteArray visite = impronta(banco.visite);
    const QByteArray work = impronta(banco.work);
    const QByteArray ini = impronta(banco.sessione.fileIni());
    Avvio avvio = Avvio::Errore;
    {
        Startup startup(banco.sessione, banco.services);
        avvio = startup.avvia();
        // A start that fails says why.
        EXPECT_EQ(startup.causaMancatoAvvio().isEmpty(), avvio == Avvio::Avviato);
        if (avvio == Avvio::Avviato) {
            for (int tick = 0; tick < 15; ++tick) startup.ControllaPromemoria();
        }
        banco.sessione.rilasciaDatabase();
    }
    std::printf("| %s | %s |\n", GetParam().ingresso,
                avvio == Avvio::Avviato          ? "runs"
                : avvio == Avvio::SenzaOperatore ? "ends, saying no operator was read"
                                                 : "ends at start-up, saying why");
    EXPECT_EQ(avvio, GetParam().atteso);
    EXPECT_TRUE(banco.platform.messages.shown.isEmpty());
    EXPECT_EQ(impronta(banco.visite), visite);
    EXPECT_EQ(impronta(banco.sessione.fileIni()), ini);
    if (avvio == Avvio::Avviato) {
        EXPECT_EQ(RawDatabase(banco.work).integrity(), "ok");
    } else {
        EXPECT_EQ(impronta(banco.work), work);
    }
}

INSTANTIATE_TEST_SUITE_P(Casi, IngressiErrati, ::testing::ValuesIn(kCasi),
                         [](const ::testing::TestParamInfo<Caso>& info) {
                             return std::string(info.param.nome);
                         });

// Odd reminder rows written between two rebuilds (by hand or by another tool).
struct RigaStrana {
    const char* nome;
    const char* ingresso;
    QVariantList valori;  // PmCliente, PmData, PmAzione, PmAllarm, PmWait, PmDocumento
};

void PrintTo(const RigaStrana& riga, std::ostream* out) {
    *out << riga.ingresso;
}

const QString kDieciMega(10 * kMegabyte, QLatin1Char('x'));

const RigaStrana kRigheStrane[] = {
    {"DataTesto", "PmData 'domani'", {7, "domani", "VIS", kOggi, " ", " "}},
    {"DataImpossibile", "PmData '31/02/2026'", {7, "31/02/2026", "VIS", kOggi, " ", " "}},
    {"ClienteTesto", "PmCliente 'abc'", {"abc", kOggi + 0.5, "VIS", kOggi, " ", " "}},
    {"ClienteNull", "PmCliente NULL", {{}, kOggi + 0.5, "VIS", kOggi, " ", " "}},
    {"AllarmeTesto", "PmAllarm 'presto'", {7, kOggi + 0.5, "VIS", "presto", " ", " "}},
    {"TuttoNull", "NULL in every column", {{}, {}, {}, {}, {}, {}}},
    {"Azione10MB", "a 10 MB PmAzione", {7, kOggi + 0.5, kDieciMega, kOggi, " ", " "}},
    {"AzioneNul",
     "NUL bytes in PmAzione",
     {7, kOggi + 0.5, QStringLiteral("V") + QChar(0) + QStringLiteral("S"), kOggi, " ", " "}},
};

class PollSuRigheStrane : public ::testing::TestWithParam<RigaStrana> {};

TEST_P(PollSuRigheStrane, ConsegnaLeAltreESaltaLaRigaSenzaCrolli) {
    Banco banco;
    const QByteArray visite = impronta(banco.visite);
    const QByteArray ini = impronta(banco.sessione.fileIni());
    Startup startup(banco.sessione, banco.services);
    ASSERT_EQ(startup.avvia(), Avvio::Avviato);
    SqlFile(banco.work).exec(QStringLiteral("UPDATE Promemoria SET PmWait = ' '"));
    SqlFile(banco.work)
        .exec(QStringLiteral("INSERT INTO Promemoria VALUES (?, ?, ?, ?, ?, ?)"),
              GetParam().valori);
    banco.platform.launcher.launches.clear();
    startup.ControllaPromemoria();
    startup.ControllaPromemoria();
    banco.sessione.rilasciaDatabase();
    QStringList consegnati;
    for (const LaunchRecord& avvio : banco.platform.launcher.launches)
        consegnati.append(avvio.clientAndAction());
    EXPECT_TRUE(consegnati.contains(QStringLiteral("1234|VIS")));
    EXPECT_EQ(consegnati.count(QStringLiteral("1234|VIS")), 1) << "handed over once only";
    EXPECT_TRUE(banco.platform.messages.shown.isEmpty());
    EXPECT_EQ(impronta(banco.visite), visite);
    EXPECT_EQ(impronta(banco.sessione.fileIni()), ini);
    EXPECT_EQ(RawDatabase(banco.work).integrity(), "ok");
}

INSTANTIATE_TEST_SUITE_P(Righe, PollSuRigheStrane, ::testing::ValuesIn(kRigheStrane),
                         [](const ::testing::TestParamInfo<RigaStrana>& info) {
                             return std::string(info.param.nome);
                         });

// A row that no rebuild can read, written by the host while the program runs: the periodic
// rebuild fails and the reminder table in use stays whole, the polls go on without a crash.
TEST(RicostruzioneSuRigaIllegibile, TieneLaTabellaInUsoEContinua) {
    Banco banco;
    Startup startup(banco.sessione, banco.services);
    ASSERT_EQ(startup.avvia(), Avvio::Avviato);
    banco.appuntamento({5, "31/02/2026", "VIS", 30, "N", "A", "n", "c", {}});
    const QByteArray visite = impronta(banco.visite);
    const QStringList tabella =
        RawDatabase(banco.work)
            .rows(QStringLiteral("SELECT * FROM Promemoria ORDER BY PmCliente, PmData, PmAzione"));
    for (int tick = 0; tick < 16; ++tick) startup.ControllaPromemoria();
    banco.sessione.rilasciaDatabase();
    EXPECT_EQ(
        RawDatabase(banco.work)
            .rows(QStringLiteral("SELECT * FROM Promemoria ORDER BY PmCliente, PmData, PmAzione")),
        tabella);
    EXPECT_EQ(RawDatabase(banco.work).integrity(), "ok");
    EXPECT_EQ(impronta(banco.visite), visite);
    EXPECT_TRUE(banco.platform.messages.shown.isEmpty());
}

}  // namespace
