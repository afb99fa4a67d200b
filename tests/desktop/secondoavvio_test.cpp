// A second start of scadex for the same user and set-up while the first runs, as the menu
// entry started beside the autostarted copy: it brings the first one's window up and ends, or
// ends with a failure where it cannot reach the first; it never runs beside it.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest/QTest>
#include <algorithm>
#include <memory>
#include <vector>

#include "support/engineworkspace.h"
#include "util/dateserial.h"

namespace {

constexpr int kAttesaMs = 20000;

QString esegui(const QString& programma, const QStringList& argomenti) {
    QProcess comando;
    comando.start(programma, argomenti);
    comando.waitForFinished(kAttesaMs);
    return QString::fromUtf8(comando.readAllStandardOutput());
}

// How the window manager keeps the main window ("Iconic", "Normal"); empty when it is not
// there.
QString statoFinestra() {
    const QRegularExpressionMatch finestra =
        QRegularExpression(QStringLiteral(R"((0x[0-9a-f]+) "PROMEMORIA)"))
            .match(esegui(QStringLiteral("xwininfo"), {"-root", "-tree"}));
    if (!finestra.hasMatch()) return {};
    return QRegularExpression(QStringLiteral(R"(window state: (\w+))"))
        .match(esegui(QStringLiteral("xprop"), {"-id", finestra.captured(1), "WM_STATE"}))
        .captured(1);
}

class SecondoAvvio : public ::testing::Test {
protected:
    // Both databases on `engine`, in the operator folder "." of the workspace's folder.
    // `avvisoVero`: the real alert program is the one scadex starts.
    explicit SecondoAvvio(Engine engine = Engine::Sqlite, bool avvisoVero = false)
        : ws(engine),
          programma_(ws.folder.path(QStringLiteral("bin/scadex"))),
          consegne_(ws.folder.path(QStringLiteral("consegne.txt"))),
          runtime_(ws.folder.path(QStringLiteral("run"))) {
        const QByteArray cartella = ws.folder.path({}).toUtf8();
        ws.folder.write(QStringLiteral("Gestar.ini"),
                        "[BASE]\r\nOPERATORE=.\r\n[PATH]\r\nFILE=" + cartella +
                            "\r\nWORK=" + cartella + "\r\n[AGENDA]\r\n");
        // The alert program's stand-in notes each hand-over; the program runs from beside it,
        // where it looks first.
        const QString avviso = ws.folder.path(QStringLiteral("bin/SCADEX1.EXE"));
        if (avvisoVero) {
            QDir().mkpath(ws.folder.path(QStringLiteral("bin")));
            QFile::copy(QStringLiteral(SCADEX_ALERT_PROGRAM), avviso);
        } else {
            ws.folder.write(QStringLiteral("bin/SCADEX1.EXE"),
                            "#!/bin/sh\necho \"$1\" >> \"$SCADEX_CONSEGNE\"\n");
            QFile::setPermissions(avviso, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        QFile::copy(QStringLiteral(SCADEX_PROGRAM), programma_);
        creaRuntime();
    }
    ~SecondoAvvio() override {
        for (const auto& programma : avviati_) {
            programma->kill();
            programma->waitForFinished();
        }
    }

    // Starts the program; `canali` says what of its output is forwarded to the test's.
    QProcess& avvia(const QString& fileIni,
                    QProcess::ProcessChannelMode canali = QProcess::ForwardedErrorChannel) {
        auto programma = std::make_unique<QProcess>();
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
        ambiente.insert(QStringLiteral("SCADEX_CONSEGNE"), consegne_);
        programma->setProcessEnvironment(ambiente);
        programma->setProcessChannelMode(canali);
        programma->start(programma_, {fileIni});
        EXPECT_TRUE(programma->waitForStarted());
        avviati_.push_back(std::move(programma));
        return *avviati_.back();
    }
    qsizetype consegne() const { return TestFolder::read(consegne_).count('\n'); }
    // The folder's own private runtime folder goes, as a logout's clean-up removes it.
    void rimuoviRuntime() const { ASSERT_TRUE(QDir(runtime_).removeRecursively()); }

    // The starts from now on run on another workstation of the operator: a runtime folder of
    // its own, and a Gestar.ini whose work folder holds the same WorkDV.mdb (a shared folder)
    // or a copy of its descriptor. Returns that Gestar.ini.
    QString altraPostazione() {
        runtime_ = ws.folder.path(QStringLiteral("altra/run"));
        creaRuntime();
        const QString work =
            ws.engine == Engine::Postgres
                ? ws.folder.write(QStringLiteral("altra/WorkDV.mdb"), TestFolder::read(ws.workPath))
                : ws.workPath;
        return ws.folder.write(
            QStringLiteral("altra/Gestar.ini"),
            "[BASE]\r\nOPERATORE=.\r\n[PATH]\r\nFILE=" + ws.folder.path({}).toUtf8() +
                "\r\nWORK=" + QFileInfo(work).absolutePath().toUtf8() + "\r\n");
    }

    EngineWorkspace ws;

private:
    void creaRuntime() const {
        QDir().mkpath(runtime_);
        QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString programma_;
    QString consegne_;
    QString runtime_;
    std::vector<std::unique_ptr<QProcess>> avviati_;
};

// What comes before the second start.
enum class Prima {
    Niente,
    CopiaIni,         // its Gestar.ini is a copy of the first one's elsewhere, as the
                      // operator's own settings folder holds one: the same work database
    RuntimeRimossa,   // the first copy's runtime folder has gone (a logout's clean-up): no
                      // socket to hand over to, yet the first holds the work database's lock
    AltraPostazione,  // it runs on another workstation of the operator (altraPostazione)
};

struct Caso {
    const char* nome;
    Engine engine;
    Prima prima;
    int esito;  // the second start's exit status; on 0 the first one's window comes up
};

const Caso kCasi[] = {
    {"Stesso", Engine::Sqlite, Prima::Niente, 0},
    {"Copia", Engine::Sqlite, Prima::CopiaIni, 0},
    {"RuntimeRimossa_Sqlite", Engine::Sqlite, Prima::RuntimeRimossa, 1},
    {"RuntimeRimossa_Postgres", Engine::Postgres, Prima::RuntimeRimossa, 1},
    {"AltraPostazione_Sqlite", Engine::Sqlite, Prima::AltraPostazione, 1},
    {"AltraPostazione_Postgres", Engine::Postgres, Prima::AltraPostazione, 1},
};

// The cases on the engines tested here.
std::vector<Caso> casiProvati() {
    std::vector<Caso> casi;
    const std::vector<Engine> motori = testedEngines();
    for (const Caso& caso : kCasi) {
        if (std::find(motori.begin(), motori.end(), caso.engine) != motori.end())
            casi.push_back(caso);
    }
    return casi;
}

class SecondoAvvioDa : public SecondoAvvio, public ::testing::WithParamInterface<Caso> {
protected:
    SecondoAvvioDa() : SecondoAvvio(GetParam().engine) {}
};

TEST_P(SecondoAvvioDa, BringsTheRunningWindowUpOrEndsNeverRunningBesideIt) {
    const Caso& caso = GetParam();
    const QDateTime fra10Minuti = QDateTime::currentDateTime().addSecs(600);
    ws.addAppointment(1234, dateserial::fromDateTime(fra10Minuti), "VIS", 60);
    QProcess& primo = avvia(ws.fileIni);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return consegne() == 1 && statoFinestra() == "Iconic"; }, kAttesaMs))
        << "no hand-over, or no minimised window as xwininfo and xprop (x11-utils) read it";

    QString fileIni = ws.fileIni;
    if (caso.prima == Prima::CopiaIni) {
        fileIni = ws.folder.write(QStringLiteral("config/scadex/Gestar.ini"),
                                  TestFolder::read(ws.fileIni));
    }
    if (caso.prima == Prima::AltraPostazione) fileIni = altraPostazione();
    if (caso.prima == Prima::RuntimeRimossa) rimuoviRuntime();
    QProcess& secondo = avvia(fileIni, QProcess::ForwardedOutputChannel);
    ASSERT_TRUE(secondo.waitForFinished(kAttesaMs)) << "the second start runs beside the first";
    EXPECT_EQ(secondo.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(secondo.exitCode(), caso.esito);
    if (caso.esito == 0) {
        EXPECT_TRUE(QTest::qWaitFor([] { return statoFinestra() == "Normal"; }, kAttesaMs));
    } else {
        EXPECT_TRUE(secondo.readAllStandardError().contains(
            "SCADEX È GIÀ IN ESECUZIONE PER QUESTO ARCHIVIO"));
    }
    EXPECT_EQ(consegne(), 1);
    EXPECT_EQ(primo.state(), QProcess::Running);
}

// A first copy stopped (Ctrl+Z, a debugger) still holds its lock: a second start never runs
// beside it and ends with a failure; the first carries on once continued.
TEST_F(SecondoAvvio, BesideAStoppedCopyEndsWithAFailure) {
    ws.addAppointment(1234, dateserial::fromDateTime(QDateTime::currentDateTime()), "VIS", 60);
    QProcess& primo = avvia(ws.fileIni);
    ASSERT_TRUE(QTest::qWaitFor([&] { return consegne() == 1; }, kAttesaMs));
    ::kill(static_cast<pid_t>(primo.processId()), SIGSTOP);
    QProcess& secondo = avvia(ws.fileIni);
    const bool finito = secondo.waitForFinished(kAttesaMs);
    ::kill(static_cast<pid_t>(primo.processId()), SIGCONT);
    ASSERT_TRUE(finito);
    EXPECT_EQ(secondo.exitCode(), 1);
    EXPECT_EQ(consegne(), 1) << "the second start handed the reminder over again";
    EXPECT_EQ(primo.state(), QProcess::Running);
}

INSTANTIATE_TEST_SUITE_P(Ini, SecondoAvvioDa, ::testing::ValuesIn(casiProvati()),
                         [](const auto& info) { return std::string(info.param.nome); });

// Both real programs: the alert window's card lives only while SCADEX's table holds its
// reminder, and nothing of it outlives SCADEX.
enum class Poi { LibroFermato, ScadexChiuso };

class ProgrammiVeri : public SecondoAvvio, public ::testing::WithParamInterface<Poi> {
protected:
    ProgrammiVeri() : SecondoAvvio(Engine::Sqlite, true) {}
    static bool avvisoVisibile() {
        return esegui(QStringLiteral("xwininfo"),
                      {QStringLiteral("-name"), QStringLiteral("SCADEX - AVVISO")})
            .contains("IsViewable");
    }
};

TEST_P(ProgrammiVeri, TheAlertWindowGoesWithItsReminder) {
    ws.addAppointment(1234, dateserial::fromDateTime(QDateTime::currentDateTime()), "VIS", 60);
    QProcess& scadex = avvia(ws.fileIni);
    ASSERT_TRUE(QTest::qWaitFor(avvisoVisibile, kAttesaMs)) << "no alert window";
    if (GetParam() == Poi::LibroFermato) {
        // The host stops the alarm, as "NON AVVISARE PIU'" does.
        ws.visite().exec(QStringLiteral("UPDATE Appuntamenti SET ApAllarm = 0"));
    } else {
        // Asked again until the window manager has taken the window in and passed the close on.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                esegui(QStringLiteral("wmctrl"),
                       {QStringLiteral("-c"), QStringLiteral("PROMEMORIA")});
                return scadex.waitForFinished(500);
            },
            kAttesaMs));
    }
    EXPECT_TRUE(QTest::qWaitFor([] { return !avvisoVisibile(); }, kAttesaMs));
}

INSTANTIATE_TEST_SUITE_P(Dopo, ProgrammiVeri,
                         ::testing::Values(Poi::LibroFermato, Poi::ScadexChiuso),
                         [](const auto& info) {
                             return std::string(info.param == Poi::LibroFermato ? "LibroFermato"
                                                                                : "ScadexChiuso");
                         });

}  // namespace
