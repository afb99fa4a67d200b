// The single-instance socket: what a start does with what it finds at the socket's place.
#include "platform/singleinstance.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <cstring>
#include <list>
#include <memory>

#include "support/tempdir.h"

namespace {

using Outcome = SingleInstance::Outcome;

// A configuration file with a private runtime folder and a temporary folder of its own, set in
// the environment for as long as the bench lives.
class Banco {
public:
    Banco()
        : runtime(folder.path("run")),
          tmp(folder.path("tmp")),
          chiave(folder.write("Gestar.ini", {}).toUtf8()) {
        QDir().mkpath(runtime);
        QDir().mkpath(tmp);
        ::chmod(QFile::encodeName(runtime).constData(), S_IRWXU);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        qputenv("TMPDIR", QFile::encodeName(tmp));
    }
    // An empty value stands for an unset one in both.
    ~Banco() {
        qputenv("XDG_RUNTIME_DIR", oldRuntime_);
        qputenv("TMPDIR", oldTmp_);
    }

    // The folder a start makes in the temporary folder when the runtime folder will not do.
    QString riserva() const {
        return tmp + QStringLiteral("/scadex-") + QString::number(::geteuid());
    }
    QString socketIn(const QString& cartella) const {
        return cartella + QLatin1Char('/') + SingleInstance::nameFor(kProgramma, chiave);
    }
    // A start; with `bloccoDati` set, one that holds that file's lock, as SCADEX holds its
    // work database's, instead of the lock beside its socket.
    std::unique_ptr<SingleInstance> istanza() {
        if (bloccoDati.isEmpty()) return std::make_unique<SingleInstance>(kProgramma, chiave);
        std::optional<privatesocket::Lock>& blocco = blocchiDati.emplace_back();
        return std::make_unique<SingleInstance>(kProgramma, chiave, [this, &blocco] {
            blocco = privatesocket::Lock::tryTake(bloccoDati);
            return blocco.has_value();
        });
    }
    // Waits, with a generous limit, for the copy to drop the idle `connessione`; the process's
    // processor time meanwhile tells whether the copy waited for the deadline or spun.
    static void attendiAbbandono(const privatesocket::Connection& connessione) {
        ASSERT_EQ(connessione.state, privatesocket::State::Connected);
        timespec inizio{};
        timespec fine{};
        ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &inizio);
        pollfd attesa{connessione.socket.get(), POLLIN, 0};
        ASSERT_EQ(::poll(&attesa, 1, 20000), 1) << "the idle connection was never dropped";
        char byte = 0;
        EXPECT_EQ(::recv(connessione.socket.get(), &byte, 1, 0), 0);
        ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &fine);
        const double secondi =
            double(fine.tv_sec - inizio.tv_sec) + double(fine.tv_nsec - inizio.tv_nsec) / 1e9;
        EXPECT_LT(secondi, 0.25) << "the copy spun while the connection was idle";
    }
    static void diNessuno(const QString& percorso) {
        ASSERT_EQ(
            ::lchown(QFile::encodeName(percorso).constData(), nessuno()->pw_uid, nessuno()->pw_gid),
            0);
    }

    static inline const QString kProgramma = QStringLiteral("prova");
    TestFolder folder;
    QString runtime;
    QString tmp;
    QByteArray chiave;
    QString bloccoDati;
    std::list<std::optional<privatesocket::Lock>> blocchiDati;  // held by the starts made
    std::unique_ptr<SingleInstance> primo;                      // a copy already running
    privatesocket::Descriptor altro;                            // a socket of the case's own making
    std::vector<privatesocket::Connection> inattivi;            // connections that never send
    std::optional<privatesocket::Lock> inEsecuzione;            // the lock of a copy that runs

private:
    static const passwd* nessuno() { return ::getpwnam("nobody"); }

    QByteArray oldRuntime_ = qgetenv("XDG_RUNTIME_DIR");
    QByteArray oldTmp_ = qgetenv("TMPDIR");
};

enum class Dopo { Runtime, Riserva, Niente };  // where a socket file lies afterwards

struct Caso {
    const char* nome;
    void (*prepara)(Banco&);
    Outcome esito;
    Dopo socket;
    bool soloRoot;  // another user's files need root to make
};

const Caso kCasi[] = {
    {"NothingThere", [](Banco&) {}, Outcome::Listening, Dopo::Runtime, false},
    {"ACopyRuns",
     [](Banco& b) { ASSERT_EQ((b.primo = b.istanza())->deliverOrListen({}), Outcome::Listening); },
     Outcome::Delivered, Dopo::Runtime, false},
    {"OurStaleSocket",
     [](Banco& b) { privatesocket::listenAt(b.socketIn(b.runtime)); },  // closed at once
     Outcome::Listening, Dopo::Runtime, false},
    // Idle connections hold nobody up: the copy serves every start at once.
    {"ACopyRunsWithTwoIdleClients",
     [](Banco& b) {
         ASSERT_EQ((b.primo = b.istanza())->deliverOrListen({}), Outcome::Listening);
         for (int i = 0; i < 2; ++i)
             b.inattivi.push_back(privatesocket::connectTo(b.socketIn(b.runtime)));
     },
     Outcome::Delivered, Dopo::Runtime, false},
    // Never accepts, as a copy stopped in a debugger: it may come back, so it stays.
    {"OurSilentSocket", [](Banco& b) { b.altro = privatesocket::listenAt(b.socketIn(b.runtime)); },
     Outcome::Alone, Dopo::Runtime, false},
    // The same, with the lock of a copy that runs: this start must not run beside it.
    {"AStoppedCopy",
     [](Banco& b) {
         b.altro = privatesocket::listenAt(b.socketIn(b.runtime));
         b.inEsecuzione = privatesocket::Lock::tryTake(b.socketIn(b.runtime) + ".running");
     },
     Outcome::Unresponsive, Dopo::Runtime, false},
    // Dropped once its time is up, an idle start is waited for without spinning.
    {"ACopyRunsPastAnIdleClientsDeadline",
     [](Banco& b) {
         ASSERT_EQ((b.primo = b.istanza())->deliverOrListen({}), Outcome::Listening);
         Banco::attendiAbbandono(privatesocket::connectTo(b.socketIn(b.runtime)));
     },
     Outcome::Delivered, Dopo::Runtime, false},
    // The copy holding the work database's lock loses its runtime folder (a logout's
    // clean-up): a start finds no socket to hand over to, yet never runs beside it.
    {"RuntimeFolderRemovedUnderACopy",
     [](Banco& b) {
         b.bloccoDati = b.folder.path(QStringLiteral("WorkDV.mdb.lock"));
         ASSERT_EQ((b.primo = b.istanza())->deliverOrListen({}), Outcome::Listening);
         ASSERT_TRUE(QDir(b.runtime).removeRecursively());
     },
     Outcome::Elsewhere, Dopo::Niente, false},
    // A work database's lock that cannot be had: this workstation still runs one copy.
    {"WorkDatabaseLockUnavailable",
     [](Banco& b) { b.bloccoDati = b.folder.path(QStringLiteral("mancante/WorkDV.mdb.lock")); },
     Outcome::Listening, Dopo::Runtime, false},
    {"RuntimeFolderOpenToItsGroup",
     [](Banco& b) { ::chmod(QFile::encodeName(b.runtime).constData(), S_IRWXU | S_IRWXG); },
     Outcome::Listening, Dopo::Riserva, false},
    {"RuntimeFolderOpenToOthers",
     [](Banco& b) {
         ::chmod(QFile::encodeName(b.runtime).constData(), S_IRWXU | S_IRWXG | S_IRWXO);
     },
     Outcome::Listening, Dopo::Riserva, false},
    {"RuntimeFolderOfAnotherUser", [](Banco& b) { Banco::diNessuno(b.runtime); },
     Outcome::Listening, Dopo::Riserva, true},
    {"TemporaryFolderTakenByAnotherUser",
     [](Banco& b) {
         qunsetenv("XDG_RUNTIME_DIR");
         QDir().mkpath(b.riserva());
         Banco::diNessuno(b.riserva());
     },
     Outcome::Alone, Dopo::Niente, true},
    {"StaleSocketOfAnotherUser",
     [](Banco& b) {
         privatesocket::listenAt(b.socketIn(b.runtime));
         Banco::diNessuno(b.socketIn(b.runtime));
     },
     Outcome::Alone, Dopo::Runtime, true},
};

class IstanzaUnica : public ::testing::TestWithParam<Caso> {};

TEST_P(IstanzaUnica, DeliversListensOrLeavesWhatIsNotItsOwn) {
    const Caso& caso = GetParam();
    if (caso.soloRoot && ::geteuid() != 0)
        GTEST_SKIP() << "needs root to make another user's files";
    Banco banco;
    caso.prepara(banco);
    ASSERT_FALSE(::testing::Test::HasFatalFailure());

    const std::unique_ptr<SingleInstance> avvio = banco.istanza();
    EXPECT_EQ(avvio->deliverOrListen("ciao\nROSSI"), caso.esito);
    if (caso.socket != Dopo::Niente) {
        const QString cartella = caso.socket == Dopo::Runtime ? banco.runtime : banco.riserva();
        EXPECT_TRUE(QFileInfo(banco.socketIn(cartella)).exists());
    }
    if (caso.esito == Outcome::Delivered) {
        QSignalSpy ricevuti(banco.primo.get(), &SingleInstance::messageReceived);
        ASSERT_TRUE(ricevuti.wait(5000));
        EXPECT_EQ(ricevuti.at(0).at(0).toByteArray(), "ciao\nROSSI");
    }
}

// The listener serves this user alone: where a folder lets another user's process reach the
// socket, its line is neither confirmed nor handed on.
TEST(IstanzaUnicaAltrui, AnotherUsersConnectionIsNotServed) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    Banco banco;
    banco.primo = banco.istanza();
    ASSERT_EQ(banco.primo->deliverOrListen({}), Outcome::Listening);
    const QString socket = banco.socketIn(banco.runtime);
    for (const QString& aperto : {banco.folder.path({}), banco.runtime, socket})
        ::chmod(QFile::encodeName(aperto).constData(), S_IRWXU | S_IRWXG | S_IRWXO);
    QSignalSpy ricevuti(banco.primo.get(), &SingleInstance::messageReceived);
    const passwd* nessuno = ::getpwnam("nobody");
    ASSERT_NE(nessuno, nullptr);
    // The child makes only system calls: the parent's threads may hold a lock it would need.
    sockaddr_un indirizzo{};
    indirizzo.sun_family = AF_UNIX;
    const QByteArray percorso = QFile::encodeName(socket);
    ASSERT_LT(static_cast<std::size_t>(percorso.size()), sizeof indirizzo.sun_path);
    std::memcpy(indirizzo.sun_path, percorso.constData(),
                static_cast<std::size_t>(percorso.size()));
    const pid_t figlio = ::fork();
    if (figlio == 0) {
        if (::setgid(nessuno->pw_gid) != 0 || ::setuid(nessuno->pw_uid) != 0) ::_exit(1);
        const int connessione = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::connect(connessione, reinterpret_cast<const sockaddr*>(&indirizzo),
                      sizeof indirizzo) != 0)
            ::_exit(2);
        // The copy may have dropped the connection already: a refused line is no failure here.
        ::send(connessione, "Y2lhbw==\n", 9, MSG_NOSIGNAL);
        pollfd risposta{connessione, POLLIN, 0};
        char byte = 0;
        const bool confermato = ::poll(&risposta, 1, 2000) > 0 && ::read(connessione, &byte, 1) > 0;
        ::_exit(confermato ? 3 : 0);
    }
    int stato = 0;
    ::waitpid(figlio, &stato, 0);
    EXPECT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0) << "child status " << stato;
    EXPECT_FALSE(ricevuti.wait(500));
}

INSTANTIATE_TEST_SUITE_P(Places, IstanzaUnica, ::testing::ValuesIn(kCasi),
                         [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
