// Reminders on time: the real program hands each over at its moment and sees the book's
// changes at once, on both engines; a burst of the host's writes costs a handful of rebuilds.
#include "scan/puntualita.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <memory>
#include <optional>

#include "platform/eventyielder.h"
#include "scan/scansione.h"
#include "scan/selezionaappuntamenti.h"
#include "support/casenames.h"
#include "support/engineworkspace.h"
#include "support/fakes.h"
#include "support/hookeddatabase.h"
#include "support/localzone.h"
#include "util/dateserial.h"

namespace {

using std::chrono::milliseconds;
using namespace std::chrono_literals;

constexpr int kAttesaMs = 20000;
constexpr int kAnnuncioMs = 500;

double adesso() {
    return dateserial::fromDateTime(QDateTime::currentDateTime());
}

// The milliseconds since the epoch of a wall-clock day serial.
qint64 epocaDi(double serial) {
    return dateserial::toDateTime(serial).toMSecsSinceEpoch();
}

// One hand-over as the alert program's stand-in noted it.
struct Consegna {
    qint64 quando;  // ms since the epoch
    int cliente;
};

// The real program on a workspace of the engine, with a 60-second tick and a stand-in alert
// program that notes the moment of each start.
class ProgrammaVero {
public:
    explicit ProgrammaVero(EngineWorkspace& ws) : ws_(ws) {
        ws.folder.write(QStringLiteral("Gestar.ini"),
                        "[BASE]\r\nOPERATORE=.\r\n[PATH]\r\nFILE=" + ws.folder.path({}).toUtf8() +
                            "\r\nWORK=" + ws.folder.path({}).toUtf8() +
                            "\r\n[AGENDA]\r\nSecondi=60\r\n");
        const QString avviso =
            ws.folder.write(QStringLiteral("bin/SCADEX1.EXE"),
                            "#!/bin/sh\necho \"$(date +%s%N) $1\" >> \"$SCADEX_CONSEGNE\"\n");
        QFile::setPermissions(avviso, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::copy(QStringLiteral(SCADEX_PROGRAM), ws.folder.path(QStringLiteral("bin/scadex")));
        const QString runtime = ws.folder.path(QStringLiteral("run"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        ambiente.insert(QStringLiteral("SCADEX_CONSEGNE"), consegne_);
        ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        programma_.setProcessEnvironment(ambiente);
    }
    ~ProgrammaVero() {
        programma_.kill();
        programma_.waitForFinished();
    }

    void avvia() {
        programma_.start(ws_.folder.path(QStringLiteral("bin/scadex")),
                         {ws_.folder.path(QStringLiteral("Gestar.ini"))});
        ASSERT_TRUE(programma_.waitForStarted());
    }
    QList<Consegna> consegne() const {
        QList<Consegna> lette;
        for (const QByteArray& riga : TestFolder::read(consegne_).split('\n')) {
            const QList<QByteArray> campi = riga.split('|');
            if (campi.size() < 5) continue;
            lette.append({riga.left(riga.indexOf(' ')).toLongLong() / 1000000,
                          campi[campi.size() - 3].toInt()});
        }
        return lette;
    }
    bool attendiConsegne(qsizetype quante) const {
        return QTest::qWaitFor([&] { return consegne().size() >= quante; }, kAttesaMs);
    }
    QString diagnostica() { return QString::fromUtf8(programma_.readAllStandardError()); }

private:
    EngineWorkspace& ws_;
    QString consegne_ = ws_.folder.path(QStringLiteral("consegne.txt"));
    QProcess programma_;
};

class InOrario : public ::testing::TestWithParam<Engine> {
protected:
    EngineWorkspace ws{GetParam()};
    ProgrammaVero programma{ws};
};

TEST_P(InOrario, AReminderIsHandedOverWithinASecondOfItsMoment) {
    // A one-minute lead is kept as 0.0007 days: the moment the program writes decides.
    ws.addAppointment(1, adesso() + 66.0 / 86400, "VIS", 1);
    programma.avvia();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return ws.work().value("SELECT count(*) FROM Promemoria").toInt() == 1; },
        kAttesaMs));
    const qint64 momento = epocaDi(ws.work().value("SELECT PmAllarm FROM Promemoria").toDouble());
    ASSERT_TRUE(programma.attendiConsegne(1));
    const Consegna consegna = programma.consegne().first();
    EXPECT_EQ(consegna.cliente, 1);
    EXPECT_GE(consegna.quando, momento);
    EXPECT_LT(consegna.quando - momento, 1000);
}

TEST_P(InOrario, AnAppointmentCommittedMeanwhileComesAtOnceAndNothingElseAgain) {
    ws.addAppointment(1, adesso() + 0.01, "VIS", 60);  // due since about 45 minutes
    ws.addAppointment(2, adesso() + 0.01, "TEL", 60);
    programma.avvia();
    ASSERT_TRUE(programma.attendiConsegne(2));
    QTest::qWait(500);
    const qint64 scritto = QDateTime::currentMSecsSinceEpoch();
    ws.addAppointment(3, adesso() + 0.01, "VIS", 60);
    ASSERT_TRUE(programma.attendiConsegne(3));
    EXPECT_EQ(programma.consegne().at(2).cliente, 3);
    EXPECT_LT(programma.consegne().at(2).quando - scritto, 2000);
    QTest::qWait(2000);
    EXPECT_EQ(programma.consegne().size(), 3) << "a reminder still due was handed over again";
}

INSTANTIATE_TEST_SUITE_P(Engines, InOrario, ::testing::ValuesIn(testedEngines()), EngineNamer());

TEST(InOrarioSenzaTrigger, TheServerBookKeepsTheTicksRhythmAndSaysSoOnce) {
    if (qEnvironmentVariableIsEmpty("SCADEX_TEST_PGHOST")) GTEST_SKIP() << "no PostgreSQL here";
    EngineWorkspace ws(Engine::Postgres);
    ws.visite().exec("DROP FUNCTION scadex_annuncia_cambi CASCADE");
    ws.addAppointment(1, adesso() + 0.01, "VIS", 60);
    ProgrammaVero programma(ws);
    programma.avvia();
    ASSERT_TRUE(programma.attendiConsegne(1));
    QTest::qWait(500);
    EXPECT_EQ(programma.diagnostica().count(QStringLiteral("nessun trigger")), 1);
}

// The host writes 1 000 appointments in 5 s: the rebuilds keep their distance, and the last
// one sees every write.
class Raffica : public ::testing::TestWithParam<Engine> {};

TEST_P(Raffica, CostsAHandfulOfRebuildsAndTheLastSeesEveryWrite) {
    EngineWorkspace ws(GetParam());
    FakePlatform platform;
    platform.clock.moment = QDateTime::currentDateTime();
    QtEventYielder yielder;
    QList<int> selezioni;
    QElapsedTimer raffica;
    qint64 ultimaFine = 0;  // of the last rebuild, from the burst's start
    Scansione scansione(*ws.visiteDb, *ws.workDb, ws.fileIni, platform.clock, yielder,
                        platform.launcher, [&](const EsitoSelezione& esito) {
                            selezioni.append(esito.conteggio());
                            ultimaFine = raffica.elapsed();
                        });
    Puntualita puntualita(scansione, *ws.visiteDb, *ws.workDb, platform.clock);
    ASSERT_TRUE(puntualita.segueIlLibro());
    constexpr int kScritture = 1000;
    int scritte = 0;
    QTimer host;
    QObject::connect(&host, &QTimer::timeout, [&] {
        for (int i = 0; i < 2 && scritte < kScritture; ++i, ++scritte)
            ws.addAppointment(scritte, adesso() + 1, "VIS", 60);
        if (scritte == kScritture) host.stop();
    });
    raffica.start();
    host.start(10);
    // A thousand commits take several times their 5 s on a loaded machine.
    ASSERT_TRUE(QTest::qWaitFor([&] { return scritte == kScritture; }, 4 * kAttesaMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return selezioni.value(selezioni.size() - 1) == kScritture; },
                                kAttesaMs));
    // The rebuilds begin a second apart at the least (the first at the first write, the last
    // before it ends), each timed to the millisecond: the measured span bounds their number.
    const qint64 distanza = Puntualita::kSelezioniDistanti.count();
    EXPECT_LE(selezioni.size(), (ultimaFine + selezioni.size()) / distanza + 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, Raffica, ::testing::ValuesIn(testedEngines()), EngineNamer());

// The fifteenth poll's rebuild reads the book only when it can be shown that reading it would
// change nothing: nobody else has written either database, the signals that say so can still
// be believed, and the last full read is recent. Each case does something between two runs of
// fifteen polls that the second run's rebuild must see.
struct Guasto {
    const char* name;
    std::optional<Engine> soloSu;
    // Before the program opens the databases, when set.
    std::function<void(EngineWorkspace&)> prima;
    std::function<void(EngineWorkspace&, FakeClock&)> poi;
};

// A new appointment, already due, for client 2.
void nuovoDovuto(EngineWorkspace& ws) {
    ws.addAppointment(2, adesso() + 0.01, "VIS", 60);
}

// The book's search path begins with an empty schema: the book is found in the next one.
void dietroUnAltroSchema(EngineWorkspace& ws) {
    const QByteArray uri = TestFolder::read(ws.visitePath).trimmed();
    const QByteArray schema = uri.mid(uri.lastIndexOf("%3D") + 3);
    const QByteArray altro = schema + "_altro";
    ws.visite().exec(QStringLiteral("CREATE SCHEMA %1").arg(QString::fromLatin1(altro)));
    ws.folder.write(QStringLiteral("VisiteDV.mdb"),
                    uri.left(uri.lastIndexOf("%3D") + 3) + altro + "%2C" + schema + '\n');
}

const Guasto kGuasti[] = {
    {"BookWritten", {}, {}, [](EngineWorkspace& ws, FakeClock&) { nuovoDovuto(ws); }},
    {"TriggerDisabled",
     Engine::Postgres,
     {},
     [](EngineWorkspace& ws, FakeClock&) {
         ws.visite().exec("ALTER TABLE Appuntamenti DISABLE TRIGGER scadex_cambi_inserite");
         nuovoDovuto(ws);
     }},
    {"TableMadeAnewWithoutTrigger",
     Engine::Postgres,
     {},
     [](EngineWorkspace& ws, FakeClock&) {
         ws.visite().exec("ALTER TABLE Appuntamenti RENAME TO Vecchi");
         ws.visite().exec("CREATE TABLE Appuntamenti (LIKE Vecchi INCLUDING ALL)");
         const QString campi = QStringLiteral(
             "ApCliente, ApData, ApAzione, ApAllarm, ApDelete, ApStato, ApNote, ApCausa, "
             "ApDocumento");
         ws.visite().exec(
             QStringLiteral("INSERT INTO Appuntamenti (%1) SELECT %1 FROM Vecchi").arg(campi));
         nuovoDovuto(ws);
     }},
    // No check can see a replication session's writes: the quarter of an hour brings them.
    {"UnannouncedWriteAQuarterOfAnHourOn",
     Engine::Postgres,
     {},
     [](EngineWorkspace& ws, FakeClock& clock) {
         ws.visite().exec("SET session_replication_role = replica");
         nuovoDovuto(ws);
         ws.visite().exec("RESET session_replication_role");
         clock.moment = clock.moment.addSecs(15 * 60);
     }},
    {"BookBehindAnotherSchema", Engine::Postgres, dietroUnAltroSchema,
     [](EngineWorkspace& ws, FakeClock&) { nuovoDovuto(ws); }},
    {"RemindersDeletedByAnother",
     {},
     {},
     [](EngineWorkspace& ws, FakeClock&) { ws.work().exec("DELETE FROM Promemoria"); }},
    {"WorkFileRestoredInPlace", Engine::Sqlite,
     [](EngineWorkspace& ws) {
         QFile::copy(ws.workPath, ws.folder.path(QStringLiteral("backup.mdb")));
     },
     [](EngineWorkspace& ws, FakeClock&) {
         QFile file(ws.workPath);
         ASSERT_TRUE(file.open(QIODevice::ReadWrite));
         file.write(TestFolder::read(ws.folder.path(QStringLiteral("backup.mdb"))));
         file.resize(file.pos());
     }},
};

class LibroInvariato : public ::testing::TestWithParam<std::tuple<Engine, Guasto>> {};

TEST_P(LibroInvariato, TheFifteenthPollReadsTheBookUnlessNothingCanHaveChanged) {
    const auto& [engine, guasto] = GetParam();
    if (guasto.soloSu && *guasto.soloSu != engine) GTEST_SKIP() << "not on this engine";
    EngineWorkspace ws(engine);
    if (guasto.prima) guasto.prima(ws);
    FakePlatform platform;
    platform.clock.moment = QDateTime::currentDateTime();
    ws.addAppointment(1, adesso() + 0.01, "VIS", 60);
    int letture = 0;
    HookedDatabase visite(db::open(ws.visitePath), [&](const char* operazione) {
        if (QByteArrayView(operazione) == "readInBatches") ++letture;
    });
    Scansione scansione(visite, *ws.workDb, ws.fileIni, platform.clock, platform.yielder,
                        platform.launcher, [](const EsitoSelezione&) {});
    const Puntualita puntualita(scansione, visite, *ws.workDb, platform.clock);
    // A server announces a commit to its listeners a moment after the commit returns: the
    // program's own writes, and the case's, have been announced when the fifteenth poll asks.
    // The event loop stays still, so that the fifteenth poll is the one to find a write.
    const auto quindiciControlli = [&] {
        for (int poll = 0; poll < 14; ++poll) scansione.controllaPromemoria();
        QThread::msleep(kAnnuncioMs);
        scansione.controllaPromemoria();
    };
    scansione.SelezionaAppuntamenti();

    quindiciControlli();
    scansione.controllaPromemoria();
    EXPECT_EQ(letture, 1);
    EXPECT_EQ(platform.launcher.launches.size(), 2);  // handed over again after the fifteenth

    guasto.poi(ws, platform.clock);
    quindiciControlli();
    EXPECT_EQ(letture, 2);
    EXPECT_EQ(ws.work().value("SELECT count(*) FROM Promemoria WHERE PmCliente = 1").toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, LibroInvariato,
                         ::testing::Combine(::testing::ValuesIn(testedEngines()),
                                            ::testing::ValuesIn(kGuasti)),
                         EngineCaseNamer());

// On a server the book's trigger tells the rows written: a rebuild for a change reads those,
// unless they were too many to tell or the notification may have been lost, and leaves the
// table a full read would leave. A book of 1 000 appointments, held after a first write.
struct CasoCambi {
    const char* name;
    // `ascoltatore`: the server process that listens for this test's program.
    std::function<void(DirectSql& visite, const QVariant& ascoltatore)> scrivi;
    qint64 righeLette;
};

constexpr qint64 kLibro = 1000;

// The server processes listening for the book's changes.
QList<QVariantList> ascoltatori(DirectSql& visite) {
    return visite.rows(QStringLiteral(
        "SELECT pid FROM pg_stat_activity WHERE query = 'LISTEN scadex_cambi' ORDER BY pid"));
}

const CasoCambi kCambi[] = {
    {"TenRows",
     [](DirectSql& visite, const QVariant&) {
         visite.exec("UPDATE Appuntamenti SET ApAllarm = 90 WHERE rowid <= 10");
     },
     10},
    {"TooManyToTell",
     [](DirectSql& visite, const QVariant&) {
         visite.exec("UPDATE Appuntamenti SET ApAllarm = 120");
     },
     kLibro},
    {"LostOnReconnection",
     [](DirectSql& visite, const QVariant& ascoltatore) {
         visite.exec("SELECT pg_terminate_backend(?)", {ascoltatore});
         visite.exec("UPDATE Appuntamenti SET ApAllarm = 30 WHERE rowid <= 10");
     },
     kLibro},
};

class CambiDelLibro : public ::testing::TestWithParam<CasoCambi> {};

TEST_P(CambiDelLibro, ReadsTheRowsToldAndLeavesWhatAFullReadLeaves) {
    if (qEnvironmentVariableIsEmpty("SCADEX_TEST_PGHOST")) GTEST_SKIP() << "no PostgreSQL here";
    EngineWorkspace ws(Engine::Postgres);
    ws.visite().exec(QStringLiteral("INSERT INTO Appuntamenti (ApCliente, ApData, ApAzione, "
                                    "ApAllarm, ApDelete, ApStato) SELECT g, %1 + g / 86400.0, "
                                    "'VIS', 60, 'N', 'A' FROM generate_series(1, %2) AS g")
                         .arg(adesso() + 1, 0, 'f', 6)
                         .arg(kLibro));
    FakePlatform platform;
    platform.clock.moment = QDateTime::currentDateTime();
    HookedDatabase visite(db::open(ws.visitePath), [](const char*) {});
    int selezioni = 0;
    Scansione scansione(visite, *ws.workDb, ws.fileIni, platform.clock, platform.yielder,
                        platform.launcher, [&](const EsitoSelezione&) { ++selezioni; });
    const QList<QVariantList> prima = ascoltatori(ws.visite());
    const Puntualita puntualita(scansione, visite, *ws.workDb, platform.clock);
    // This test's own listener: those of other tests carry on.
    QList<QVariantList> nuovi = ascoltatori(ws.visite());
    nuovi.removeIf([&](const QVariantList& pid) { return prima.contains(pid); });
    ASSERT_EQ(nuovi.size(), 1);
    scansione.SelezionaAppuntamenti();
    const auto selezioneDopo = [&](const std::function<void()>& scrivi) {
        const int finora = selezioni;
        scrivi();
        return QTest::qWaitFor([&] { return selezioni > finora; }, kAttesaMs);
    };
    // The first write that tells its rows has the book read again, and held.
    ASSERT_TRUE(selezioneDopo(
        [&] { ws.visite().exec("UPDATE Appuntamenti SET ApNote = 'nota' WHERE rowid = 1"); }));
    const qint64 lette = visite.rowsRead();
    ASSERT_TRUE(selezioneDopo([&] { GetParam().scrivi(ws.visite(), nuovi[0][0]); }));
    EXPECT_EQ(visite.rowsRead() - lette, GetParam().righeLette);
    const QString righe = QStringLiteral(
        "SELECT PmCliente, PmData, PmAzione, PmAllarm, PmWait, PmDocumento, rowid FROM "
        "Promemoria ORDER BY rowid");
    const QList<QVariantList> lasciate = ws.work().rows(righe);
    SelezionaAppuntamenti(visite, *ws.workDb, platform.clock, platform.yielder,
                          db::kDefaultBusyTimeout)
        .esegui(Segni::Conserva);
    EXPECT_EQ(ws.work().rows(righe), lasciate);
    EXPECT_EQ(lasciate.size(), kLibro);
}

INSTANTIATE_TEST_SUITE_P(Writes, CambiDelLibro, ::testing::ValuesIn(kCambi),
                         [](const auto& info) { return std::string(info.param.name); });

// The day's change is a change: the first moment of a new day rebuilds, once, so that
// yesterday's appointments leave the caption, the list and the table. In Santiago 6 September
// 2026 has no midnight: it begins at 01:00.
struct CasoCambio {
    const char* zona;
    QDate giorno;  // the day that ends
};

class CambioDelGiorno : public ::testing::TestWithParam<CasoCambio> {};

TEST_P(CambioDelGiorno, TheFirstMomentOfANewDayRebuildsOnce) {
    const LocalZone zona(GetParam().zona);
    EngineWorkspace ws(Engine::Sqlite);
    FakePlatform platform;
    platform.clock.moment = QDateTime(GetParam().giorno, QTime(23, 59, 59, 700));
    int selezioni = 0;
    QtEventYielder yielder;
    Scansione scansione(*ws.visiteDb, *ws.workDb, ws.fileIni, platform.clock, yielder,
                        platform.launcher, [&](const EsitoSelezione&) {
                            ++selezioni;
                            // Where the system clock would be by now.
                            platform.clock.moment = GetParam().giorno.addDays(1).startOfDay();
                        });
    Puntualita puntualita(scansione, *ws.visiteDb, *ws.workDb, platform.clock);
    EXPECT_FALSE(QTest::qWaitFor([&] { return selezioni > 0; }, 100));
    EXPECT_TRUE(QTest::qWaitFor([&] { return selezioni > 0; }, 2000));
    EXPECT_FALSE(QTest::qWaitFor([&] { return selezioni > 1; }, 500));
}

INSTANTIATE_TEST_SUITE_P(Zones, CambioDelGiorno,
                         ::testing::Values(CasoCambio{"Europe/Rome", QDate(2026, 12, 6)},
                                           CasoCambio{"America/Santiago", QDate(2026, 9, 5)}),
                         CaseNames({"Rome", "SantiagoMissingMidnight"}));

// An alarm in the spring gap wakes at its end, 03:00, not 1 ms later over and over.
TEST(SvegliaNelBuco, WaitsForTheFirstMomentAfterTheGap) {
    const LocalZone zona("Europe/Rome");
    EngineWorkspace ws(Engine::Sqlite);
    FakePlatform platform;
    platform.clock.moment = QDateTime(QDate(2026, 3, 29), QTime(1, 59));
    Scansione scansione(*ws.visiteDb, *ws.workDb, ws.fileIni, platform.clock, platform.yielder,
                        platform.launcher, [](const EsitoSelezione&) {});
    Puntualita puntualita(scansione, *ws.visiteDb, *ws.workDb, platform.clock);
    // The reading 02:30 that the wall clock never shows, its fields held in a UTC date-time.
    puntualita.armaSveglia(
        dateserial::fromDateTime(QDateTime(QDate(2026, 3, 29), QTime(2, 30), Qt::UTC)));
    EXPECT_EQ(puntualita.svegliaTra(), 1min + 1ms);
}

// The wall clock set (or back from a suspend) from 06/12/2026 10:00, with a reminder due at
// 07/12/2026 10:30: the wake-up and the day's change follow the clock at once.
struct CasoSalto {
    QDateTime a;
    int consegne;
    int selezioni;
    std::optional<milliseconds> sveglia;
    milliseconds cambioGiorno;
};

class SaltoDellOrologio : public ::testing::TestWithParam<CasoSalto> {};

TEST_P(SaltoDellOrologio, TheWakeUpAndTheDaysChangeFollowTheClock) {
    const CasoSalto& caso = GetParam();
    EngineWorkspace ws(Engine::Sqlite);
    FakePlatform platform;
    platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(10, 0));
    // A lead of 90 minutes is kept as 0.0625 days exactly.
    ws.addAppointment(1, dateserial::fromDateTime(QDateTime(QDate(2026, 12, 7), QTime(12, 0))),
                      "VIS", 90);
    int selezioni = 0;
    Scansione scansione(*ws.visiteDb, *ws.workDb, ws.fileIni, platform.clock, platform.yielder,
                        platform.launcher, [&](const EsitoSelezione&) { ++selezioni; });
    Puntualita puntualita(scansione, *ws.visiteDb, *ws.workDb, platform.clock);
    scansione.seguiProssimoAllarme(
        [&](std::optional<double> momento) { puntualita.armaSveglia(momento); });
    scansione.SelezionaAppuntamenti();
    ASSERT_EQ(puntualita.svegliaTra(), 24h + 30min + 1ms);
    selezioni = 0;

    QElapsedTimer salto;
    salto.start();
    platform.clock.jump(caso.a);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return platform.launcher.launches.size() == caso.consegne &&
                   selezioni == caso.selezioni;
        },
        kAttesaMs));
    EXPECT_LT(salto.elapsed(), 1000);
    EXPECT_EQ(puntualita.svegliaTra(), caso.sveglia);
    EXPECT_EQ(puntualita.cambioGiornoTra(), caso.cambioGiorno);
}

INSTANTIATE_TEST_SUITE_P(
    Jumps, SaltoDellOrologio,
    ::testing::Values(
        CasoSalto{QDateTime(QDate(2026, 12, 7), QTime(10, 45)), 1, 1, {}, 13h + 15min},
        CasoSalto{QDateTime(QDate(2026, 12, 7), QTime(8, 0)), 0, 1, 2h + 30min + 1ms, 16h},
        CasoSalto{QDateTime(QDate(2026, 12, 6), QTime(9, 0)), 0, 0, 25h + 30min + 1ms, 15h},
        CasoSalto{QDateTime(QDate(2026, 12, 5), QTime(22, 0)), 0, 1, 36h + 30min + 1ms, 2h}),
    CaseNames({"ForwardOverTheAlarm", "ForwardOverMidnight", "Back", "BackOverMidnight"}));

}  // namespace
