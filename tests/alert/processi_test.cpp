// SCADEX1.EXE as scadex starts it: printed line, refused arguments, hand-over between starts.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <cstring>
#include <memory>

#include "alert/avvio.h"
#include "app/impostazioni.h"
#include "app/versione.h"
#include "gestarprova.h"
#include "platform/singleinstance.h"
#include "reminder/messaggi.h"
#include "support/sqlfile.h"

namespace {

class Processi : public ::testing::Test {
protected:
    ~Processi() override {
        for (const auto& processo : avviati_) {
            processo->kill();
            processo->waitForFinished();
        }
    }

    // Starts the program offscreen, unless `ambiente` names a platform; `eco` asks for the
    // window with its printed lines.
    QProcess& avvia(const QStringList& argomenti, bool eco = false,
                    QProcessEnvironment ambiente = {}) {
        auto processo = std::make_unique<QProcess>();
        if (ambiente.isEmpty()) ambiente = gestar.ambiente();
        if (!ambiente.contains(QStringLiteral("QT_QPA_PLATFORM")))
            ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        ambiente.remove(QStringLiteral("SCADEX_ALERT_ECHO"));
        if (eco) ambiente.insert(QStringLiteral("SCADEX_ALERT_ECHO"), QStringLiteral("1"));
        processo->setProcessEnvironment(ambiente);
        processo->start(QStringLiteral(SCADEX_ALERT_PROGRAM), argomenti);
        EXPECT_TRUE(processo->waitForStarted());
        avviati_.push_back(std::move(processo));
        return *avviati_.back();
    }

    static QString rigaDa(QProcess& processo) {
        while (!processo.canReadLine()) {
            if (!processo.waitForReadyRead()) return {};
        }
        return QString::fromUtf8(processo.readLine()).trimmed();
    }

    // The program's own messages on standard error (Qt may add warnings of its own).
    static QStringList messaggi(QProcess& processo) {
        return QString::fromUtf8(processo.readAllStandardError())
            .split(QLatin1Char('\n'))
            .filter(QRegularExpression(QStringLiteral("^SCADEX1.EXE: ")));
    }

    static int fine(QProcess& processo) {
        EXPECT_TRUE(processo.waitForFinished());
        EXPECT_EQ(processo.exitStatus(), QProcess::NormalExit);
        return processo.exitCode();
    }

    GestarProva gestar;

private:
    std::vector<std::unique_ptr<QProcess>> avviati_;
};

TEST_F(Processi, WithoutADisplayPrintsOneLineAndEnds) {
    QProcess& processo = avvia({gestar.argomento(3, 1234, "VIS", "06/12/2026 10:00:00")});
    EXPECT_EQ(fine(processo), 0);
    EXPECT_EQ(processo.readAllStandardOutput(),
              "AVVISO 06/12/2026 10:00 cliente 1234 ROSSI >MARIO ROSSI & C. - VIS Visita "
              "(in attesa: 3)\n");
    EXPECT_EQ(messaggi(processo), QStringList{});
}

TEST_F(Processi, AnArgumentTypedInPiecesIsJoinedAgain) {
    const QString argomento = gestar.argomento(1, 55, "", "06/12/2026 09:30:00");
    QProcess& processo = avvia(argomento.split(QLatin1Char(' ')));
    EXPECT_EQ(fine(processo), 0);
    EXPECT_EQ(processo.readAllStandardOutput(),
              "AVVISO 06/12/2026 09:30 cliente 55 BIANCHI (in attesa: 1)\n");
}

// The whole way from the poll: an action holding the separator reaches the line whole.
TEST_F(Processi, AnActionHoldingTheSeparatorArrivesWhole) {
    QProcess& processo = avvia({gestar.consegnato(1234, "V|S", "06/12/2026 10:00:00")});
    EXPECT_EQ(fine(processo), 0);
    EXPECT_EQ(processo.readAllStandardOutput(),
              "AVVISO 06/12/2026 10:00 cliente 1234 ROSSI >MARIO ROSSI & C. - V|S "
              "(in attesa: 1)\n");
    EXPECT_EQ(messaggi(processo), QStringList{});
}

struct CasoRifiuto {
    const char* nome;
    const char* campi;  // after the configuration path; nullptr: no argument at all
    bool finestra;
    const char* messaggio;
};

class Rifiuto : public Processi, public ::testing::WithParamInterface<CasoRifiuto> {};

TEST_P(Rifiuto, EndsWithStatusTwoAndAMessage) {
    const CasoRifiuto& caso = GetParam();
    const QStringList argomenti =
        caso.campi ? QStringList{gestar.fileIni + caso.campi} : QStringList{};
    QProcess& processo = avvia(argomenti, caso.finestra);
    EXPECT_EQ(fine(processo), kEsitoArgomentoErrato);
    EXPECT_EQ(processo.readAllStandardOutput(), "");
    const QStringList errori = messaggi(processo);
    ASSERT_EQ(errori.size(), 1);
    EXPECT_TRUE(errori[0].startsWith(QStringLiteral("SCADEX1.EXE: ") + caso.messaggio))
        << errori[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(Arguments, Rifiuto,
                         ::testing::Values(CasoRifiuto{"NothingInAWindow", nullptr, true,
                                                       "Argomento non valido"},
                                           CasoRifiuto{"BadDate", "|1|1234|VIS|32/12/2026", false,
                                                       "Data dell'appuntamento"}),
                         [](const auto& info) { return std::string(info.param.nome); });

// The command line is one reminder's argument: only an option word that is all of it asks for
// the usage or the version, on standard output.
struct CasoOpzione {
    const char* nome;
    QStringList argomenti;
    int esito;
    const char* uscita;  // the start of standard output; %1: the version
};

class Opzione : public Processi, public ::testing::WithParamInterface<CasoOpzione> {};

TEST_P(Opzione, IsAnsweredOnlyWhenItIsTheWholeCommandLine) {
    QProcess& processo = avvia(GetParam().argomenti);
    EXPECT_EQ(fine(processo), GetParam().esito);
    const QString uscita = QString::fromUtf8(processo.readAllStandardOutput());
    const QString attesa =
        QString::fromUtf8(GetParam().uscita).replace(QStringLiteral("%1"), VersioneScadex());
    EXPECT_EQ(uscita.left(attesa.size()), attesa);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Opzione,
    ::testing::Values(CasoOpzione{"Help", {"--help"}, 0, "Uso: SCADEX1.EXE ARGOMENTO\n"},
                      CasoOpzione{"ShortHelp", {"-h"}, 0, "Uso: SCADEX1.EXE ARGOMENTO\n"},
                      CasoOpzione{"Version", {"--version"}, 0, "SCADEX1.EXE %1\n"},
                      CasoOpzione{"ShortVersion", {"-V"}, 0, "SCADEX1.EXE %1\n"},
                      CasoOpzione{"AmongOtherWords", {"--help", "-V"}, kEsitoArgomentoErrato, ""}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(Processi, ASecondStartHandsItsReminderToTheOpenWindow) {
    QProcess& finestra = avvia({gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00")}, true);
    EXPECT_EQ(rigaDa(finestra),
              "AVVISO 06/12/2026 10:00 cliente 1234 ROSSI >MARIO ROSSI & C. - VIS Visita "
              "(in attesa: 1)");

    QProcess& seconda = avvia({gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00")}, true);
    EXPECT_EQ(fine(seconda), 0);
    EXPECT_EQ(seconda.readAllStandardOutput(), "");
    EXPECT_EQ(rigaDa(finestra),
              "AVVISO 06/12/2026 11:00 cliente 55 BIANCHI - TEL Telefonata (in attesa: 2)");
    EXPECT_EQ(finestra.state(), QProcess::Running);
}

// A flood of hand-overs at one moment, as after a late start on a busy morning: each start
// delivers and ends without a display (one that made its application would fail on the
// unreachable X display it is given), and the open window takes every one in.
TEST_F(Processi, AFloodReachesTheOpenWindowAndNoStartTouchesTheDisplay) {
    constexpr int kConsegne = 300;
    QProcess& finestra = avvia({gestar.argomento(1, 1, "VIS", "06/12/2026 10:00:00")}, true);
    ASSERT_TRUE(rigaDa(finestra).startsWith(QStringLiteral("AVVISO ")));
    QProcessEnvironment senzaSchermo = gestar.ambiente();
    senzaSchermo.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    senzaSchermo.insert(QStringLiteral("DISPLAY"), QStringLiteral(":99999"));
    // No pipes: a flood must not run the test out of file descriptors.
    std::vector<std::unique_ptr<QProcess>> consegne;
    for (int cliente = 2; cliente <= kConsegne + 1; ++cliente) {
        auto& consegna = consegne.emplace_back(std::make_unique<QProcess>());
        consegna->setProcessEnvironment(senzaSchermo);
        consegna->setStandardInputFile(QProcess::nullDevice());
        consegna->setStandardOutputFile(QProcess::nullDevice());
        consegna->setStandardErrorFile(QProcess::nullDevice());
        consegna->start(QStringLiteral(SCADEX_ALERT_PROGRAM),
                        {gestar.argomento(cliente, cliente, "VIS", "06/12/2026 10:00:00")});
    }
    int riuscite = 0;
    for (const auto& consegna : consegne) {
        riuscite += consegna->waitForFinished() && consegna->exitStatus() == QProcess::NormalExit &&
                    consegna->exitCode() == 0;
    }
    EXPECT_EQ(riuscite, kConsegne);
    int accolte = 0;
    while (accolte < kConsegne && rigaDa(finestra).startsWith(QStringLiteral("AVVISO "))) ++accolte;
    EXPECT_EQ(accolte, kConsegne);
}

// A window stopped (Ctrl+Z, a debugger) still holds its lock: a start beside it never opens a
// second window, and says so without touching the display, which is unreachable here.
TEST_F(Processi, BesideAStoppedWindowEndsWithAFailureWithoutTheDisplay) {
    QProcess& finestra = avvia({gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00")}, true);
    ASSERT_TRUE(rigaDa(finestra).startsWith(QStringLiteral("AVVISO ")));
    const auto pid = static_cast<pid_t>(finestra.processId());
    ::kill(pid, SIGSTOP);
    QProcessEnvironment senzaSchermo = gestar.ambiente();
    senzaSchermo.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    senzaSchermo.insert(QStringLiteral("DISPLAY"), QStringLiteral(":99999"));
    // Nor a session bus: no notification reaches the desktop of whoever runs the test.
    senzaSchermo.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                        QStringLiteral("unix:path=") + gestar.folder.path(QStringLiteral("bus")));
    QProcess& seconda =
        avvia({gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00")}, false, senzaSchermo);
    const int esito = fine(seconda);
    ::kill(pid, SIGCONT);
    EXPECT_EQ(esito, 1);
    EXPECT_EQ(seconda.readAllStandardOutput(), "");
    EXPECT_TRUE(
        seconda.readAllStandardError().contains("SCADEX È GIÀ IN ESECUZIONE MA NON RISPONDE"));
}

// The running window looks its reminders up in WorkDV.mdb, which the host program may hold
// for longer than a start waits: the start is confirmed first, the look-up comes afterwards.
TEST_F(Processi, ASecondStartIsConfirmedWhileTheWindowWaitsForTheDatabase) {
    QProcess& finestra = avvia({gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00")}, true);
    ASSERT_TRUE(rigaDa(finestra).startsWith(QStringLiteral("AVVISO ")));
    const QString secondo = gestar.argomento(2, 55, "TEL", "06/12/2026 11:00:00");
    SqlFile host(gestar.fileWork);
    host.exec(QStringLiteral("BEGIN EXCLUSIVE"));

    QProcess& seconda = avvia({secondo}, true);
    EXPECT_EQ(fine(seconda), 0);
    EXPECT_EQ(seconda.readAllStandardOutput(), "");
    EXPECT_FALSE(finestra.waitForReadyRead(0)) << "looked up before confirming";
    host.exec(QStringLiteral("COMMIT"));
    EXPECT_TRUE(rigaDa(finestra).startsWith(QStringLiteral("AVVISO 06/12/2026 11:00 cliente 55")));
    EXPECT_EQ(finestra.state(), QProcess::Running);
}

// A process of another user (nobody) listening where an alert window of ours could, which
// confirms whatever comes and keeps it. Only root can make one.
class Abusivo {
public:
    // `cartella`: the folder of its socket, made by it when missing.
    Abusivo(const QString& cartella, const QString& nome) {
        const passwd* nessuno = ::getpwnam("nobody");
        const QByteArray dir = QFile::encodeName(cartella);
        indirizzo_.sun_family = AF_UNIX;
        const QByteArray percorso = QFile::encodeName(cartella + QLatin1Char('/') + nome);
        std::memcpy(indirizzo_.sun_path, percorso.constData(), size_t(percorso.size()));
        int tubo[2];
        if (!nessuno || ::pipe2(tubo, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(tubo[0]);
            ascolta(*nessuno, dir, indirizzo_, tubo[1]);
        }
        ::close(tubo[1]);
        uscita_ = tubo[0];
        char segno = 0;
        pronto_ = pid_ > 0 && ::read(uscita_, &segno, 1) == 1;
    }
    ~Abusivo() {
        ferma();
        if (uscita_ >= 0) ::close(uscita_);
    }
    bool pronto() const { return pronto_; }

    // Stops it and returns all it has received. It serves one connection after another: once
    // it has closed a last one of the test's own, every earlier one has been read to its end.
    QByteArray ricevuto() {
        const int ultima = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const timeval attesa{10, 0};
        ::setsockopt(ultima, SOL_SOCKET, SO_RCVTIMEO, &attesa, sizeof attesa);
        char byte = 0;
        if (::connect(ultima, reinterpret_cast<const sockaddr*>(&indirizzo_), sizeof indirizzo_) ==
                0 &&
            ::shutdown(ultima, SHUT_WR) == 0)
            ::recv(ultima, &byte, 1, 0);
        ::close(ultima);
        ferma();
        QByteArray dati;
        char blocco[4096];
        ssize_t letti = 0;
        while ((letti = ::read(uscita_, blocco, sizeof blocco)) > 0) dati.append(blocco, letti);
        return dati;
    }

private:
    // In the child: only system calls from here on.
    [[noreturn]] static void ascolta(const passwd& utente, const QByteArray& cartella,
                                     const sockaddr_un& indirizzo, int uscita) {
        if (::setgid(utente.pw_gid) != 0 || ::setuid(utente.pw_uid) != 0) ::_exit(1);
        ::mkdir(cartella.constData(), S_IRWXU);
        const int ascolto = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::bind(ascolto, reinterpret_cast<const sockaddr*>(&indirizzo), sizeof indirizzo) != 0 ||
            ::listen(ascolto, 8) != 0 || ::write(uscita, "+", 1) != 1)
            ::_exit(1);
        for (;;) {
            const int cliente = ::accept(ascolto, nullptr, nullptr);
            char blocco[4096];
            ssize_t letti = 0;
            bool confermato = false;
            while ((letti = ::read(cliente, blocco, sizeof blocco)) > 0) {
                if (::write(uscita, blocco, size_t(letti)) != letti) ::_exit(1);
                if (!confermato && std::memchr(blocco, '\n', size_t(letti))) {
                    ::send(cliente, "OK\n", 3, MSG_NOSIGNAL);
                    confermato = true;
                }
            }
            ::close(cliente);
        }
    }
    void ferma() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    sockaddr_un indirizzo_{};
    pid_t pid_ = -1;
    int uscita_ = -1;
    bool pronto_ = false;
};

struct CasoAbusivo {
    const char* nome;
    const char* runtime;  // XDG_RUNTIME_DIR in the test folder; nullptr: none
    const char* tana;     // the other user's socket folder; nullptr: the one a start would
                          // make in the temporary folder
};

class SocketAltrui : public Processi, public ::testing::WithParamInterface<CasoAbusivo> {};

TEST_P(SocketAltrui, TheStartShowsItsReminderItselfAndTheOtherUserGetsNothing) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    const CasoAbusivo& caso = GetParam();
    // Everyone reaches the shared temporary folder, as /tmp, and nothing else of the test.
    const QString condivisa = gestar.folder.path(QStringLiteral("tmp"));
    QDir().mkpath(condivisa);
    ::chmod(QFile::encodeName(condivisa).constData(), S_ISVTX | S_IRWXU | S_IRWXG | S_IRWXO);
    ::chmod(QFile::encodeName(gestar.folder.path({})).constData(), S_IRWXU | S_IXGRP | S_IXOTH);
    const QString tana = caso.tana ? gestar.folder.path(caso.tana)
                                   : condivisa + QStringLiteral("/scadex-%1").arg(::geteuid());
    const QString nome =
        SingleInstance::nameFor(kIstanzaAvviso, impostazioni::postazione(gestar.fileIni));
    // A folder of ours opens to the other user only while it binds.
    const bool nostra = tana == gestar.cartellaSocket;
    if (nostra) ::chmod(QFile::encodeName(tana).constData(), S_IRWXU | S_IRWXG | S_IRWXO);
    Abusivo abusivo(tana, nome);
    if (nostra) ::chmod(QFile::encodeName(tana).constData(), S_IRWXU);
    ASSERT_TRUE(abusivo.pronto());

    QProcessEnvironment ambiente = gestar.ambiente();
    ambiente.insert(QStringLiteral("TMPDIR"), condivisa);
    ambiente.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    if (caso.runtime)
        ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), gestar.folder.path(caso.runtime));
    QProcess& avviso =
        avvia({gestar.argomento(1, 1234, "VIS", "06/12/2026 10:00:00")}, true, ambiente);
    EXPECT_EQ(rigaDa(avviso),
              "AVVISO 06/12/2026 10:00 cliente 1234 ROSSI >MARIO ROSSI & C. - VIS Visita "
              "(in attesa: 1)");
    EXPECT_EQ(abusivo.ricevuto(), "");
    EXPECT_TRUE(QFileInfo::exists(tana + QLatin1Char('/') + nome));
}

INSTANTIATE_TEST_SUITE_P(Squatters, SocketAltrui,
                         ::testing::Values(CasoAbusivo{"InTheSharedTemporaryFolder", "run", "tmp"},
                                           CasoAbusivo{"InOurTemporaryFolder", nullptr, nullptr},
                                           CasoAbusivo{"AsTheRuntimeFolder", "tmp/altrui",
                                                       "tmp/altrui"},
                                           CasoAbusivo{"InOurRuntimeFolder", "run", "run"}),
                         [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
