// ScriviIni as another process meets it: a folder that takes no new file, another user's
// file, a full disk, and kills.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include "support/tempdir.h"

namespace {

constexpr QFile::Permissions kTutti = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::ExeOther;

constexpr uid_t kOperatore = 1000;
constexpr gid_t kUfficio = 100;

// The stand-in writer; `comeNessuno` under root runs it as nobody, a member of the office
// group, for whom folder and file permissions hold.
void preparaScrittore(QProcess& processo, const QStringList& argomenti, bool comeNessuno) {
    if (comeNessuno && ::geteuid() == 0) {
        processo.setChildProcessModifier([] {
            const gid_t gruppi[] = {kUfficio};
            if (::setgroups(1, gruppi) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
                ::_exit(3);
            }
        });
    }
    processo.setProgram(QStringLiteral(SCADEX_SCRIVI_INI));
    processo.setArguments(argomenti);
}

// One write by the stand-in writer: its exit status, and what it said on standard error.
int scrivi(const QStringList& argomenti, bool comeNessuno, QByteArray* errore = nullptr) {
    QProcess scrittore;
    preparaScrittore(scrittore, argomenti, comeNessuno);
    scrittore.start();
    if (!scrittore.waitForFinished()) return -1;
    if (errore) *errore = scrittore.readAllStandardError().trimmed();
    return scrittore.exitCode();
}

QByteArray percorsoNativo(const QString& percorso) {
    return QFile::encodeName(percorso);
}

// A Gestar.ini anybody may write in a folder nobody but root may add files to, as /etc/.
class CartellaDiSolaLettura : public ::testing::Test {
protected:
    CartellaDiSolaLettura() {
        file = cartella.write(QStringLiteral("etc/Gestar.ini"), "[AGENDA]\r\nSecondi=30\r\n");
        QFile::setPermissions(QFileInfo(etc()).absolutePath(), kTutti);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                        QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther);
        QFile::setPermissions(etc(), kTutti & ~QFile::WriteOwner);
    }
    ~CartellaDiSolaLettura() override { QFile::setPermissions(etc(), kTutti); }
    QString etc() const { return cartella.path(QStringLiteral("etc")); }

    TestFolder cartella;
    QString file;
};

TEST_F(CartellaDiSolaLettura, ScriviIniRewritesTheFileInPlace) {
    ASSERT_EQ(scrivi({file, "AGENDA", "Secondi", "5"}, true), 0);
    EXPECT_EQ(TestFolder::read(file), "[AGENDA]\r\nSecondi=5\r\n");
    EXPECT_EQ(QDir(etc()).entryList(QDir::Files | QDir::Hidden), QStringList{"Gestar.ini"});
}

// Another member of the office group writes the shared file: a new file could not be given
// back to its owner, so the file is rewritten in place and stays the owner's.
TEST(ScriviIniCondiviso, AnotherUsersFileKeepsItsOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "files of other users need root";
    TestFolder cartella;
    const QString file =
        cartella.write(QStringLiteral("ufficio/Gestar.ini"), "[AGENDA]\r\nSecondi=30\r\n");
    const QString ufficio = QFileInfo(file).absolutePath();
    QFile::setPermissions(QFileInfo(ufficio).absolutePath(), kTutti);
    for (const QString& percorso : {ufficio, file}) {
        ASSERT_EQ(::chown(percorsoNativo(percorso).constData(), kOperatore, kUfficio), 0);
    }
    ASSERT_EQ(::chmod(percorsoNativo(ufficio).constData(), 0775), 0);
    ASSERT_EQ(::chmod(percorsoNativo(file).constData(), 0664), 0);

    ASSERT_EQ(scrivi({file, "AGENDA", "Secondi", "5"}, true), 0);
    struct stat dopo {};
    ASSERT_EQ(::stat(percorsoNativo(file).constData(), &dopo), 0);
    EXPECT_EQ(dopo.st_uid, kOperatore);
    EXPECT_EQ(dopo.st_gid, kUfficio);
    EXPECT_EQ(dopo.st_mode & 07777, 0664u);
    EXPECT_EQ(TestFolder::read(file), "[AGENDA]\r\nSecondi=5\r\n");
    EXPECT_EQ(QDir(ufficio).entryList(QDir::Files | QDir::Hidden), QStringList{"Gestar.ini"});
}

struct ModoScrittura {
    const char* name;
    bool comeNessuno;   // nobody may not add files to the disk's folder: the file is rewritten
                        // in place
    bool primaSecondi;  // a shorter Secondi, which alone would fit, goes in the same write
};

// Gestar.ini on a small file system of its own, filled to the brim. The file takes exactly
// one page, so any longer content needs room that is not there.
class DiscoPieno : public ::testing::TestWithParam<ModoScrittura> {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "mounting a file system needs root";
        disco = cartella.path(QStringLiteral("disco"));
        QDir().mkpath(disco);
        QFile::setPermissions(QFileInfo(disco).absolutePath(), kTutti);
        if (::mount("tmpfs", percorsoNativo(disco).constData(), "tmpfs", 0, "size=64k,mode=0755") !=
            0) {
            GTEST_SKIP() << "no tmpfs: " << std::strerror(errno);
        }
        montato = true;
        const QByteArray inizio = "[AGENDA]\r\nSecondi=30\r\n;";
        prima = inizio + QByteArray(4096 - inizio.size() - 2, 'x') + "\r\n";
        file = cartella.write(QStringLiteral("disco/Gestar.ini"), prima);
        ASSERT_EQ(::chmod(percorsoNativo(file).constData(), 0666), 0);
        riempi(disco + QStringLiteral("/riempitivo"));
    }
    void TearDown() override {
        if (montato) ::umount2(percorsoNativo(disco).constData(), MNT_DETACH);
    }

    // Takes every byte left: whole pages first, then what a page can still hold.
    static void riempi(const QString& percorso) {
        QFile riempitivo(percorso);
        ASSERT_TRUE(riempitivo.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray pagina(4096, 'x');
        while (riempitivo.write(pagina) == pagina.size()) {
        }
        while (riempitivo.write("x", 1) == 1) {
        }
    }

    TestFolder cartella;
    QString disco;
    bool montato = false;
    QString file;
    QByteArray prima;
};

TEST_P(DiscoPieno, AWriteThatDoesNotFitLeavesTheFileAsItWas) {
    QStringList argomenti = {file, "AGENDA"};
    if (GetParam().primaSecondi)
        argomenti << "Secondi"
                  << "5";
    argomenti << "SuonoPath"
              << "/home/operatore/suoni";
    QByteArray errore;
    EXPECT_EQ(scrivi(argomenti, GetParam().comeNessuno, &errore), 1);
    EXPECT_EQ(errore, "disco pieno");
    EXPECT_EQ(TestFolder::read(file), prima);
    EXPECT_EQ(QDir(disco).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"Gestar.ini", "riempitivo"}));

    // With room again the same write goes through: it was the full disk that stopped it.
    QFile::remove(disco + QStringLiteral("/riempitivo"));
    EXPECT_EQ(scrivi(argomenti, GetParam().comeNessuno), 0);
    EXPECT_TRUE(TestFolder::read(file).contains("SuonoPath=/home/operatore/suoni\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Modi, DiscoPieno,
                         ::testing::Values(ModoScrittura{"NewFile", false, false},
                                           ModoScrittura{"InPlace", true, false},
                                           ModoScrittura{"InPlaceTwoKeys", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A process writing Gestar.ini in a loop, killed at random moments: every time the file is
// byte for byte the one before a write or the one after it, never a mix or a stump.
TEST(ScriviIniKill, LeavesTheOldOrTheNewFile) {
    TestFolder cartella;
    const QString file = cartella.path(QStringLiteral("Gestar.ini"));
    QByteArray altre = "[BASE]\r\nOPERATORE=op\r\n[ListaApp]\r\n";
    for (int i = 0; i < 2000; ++i) altre += "CHIAVE" + QByteArray::number(i) + "=valore\r\n";
    const QByteArray corto = altre + "[AGENDA]\r\nSecondi=5\r\n";
    const QByteArray lungo = altre + "[AGENDA]\r\nSecondi=" + QByteArray(90, '7') + "\r\n";
    cartella.write(QStringLiteral("Gestar.ini"), corto);

    QRandomGenerator casuale(20261208);
    int uccisiDuranteLaScrittura = 0;
    for (int giro = 0; giro < 200; ++giro) {
        QProcess scrittore;
        preparaScrittore(scrittore,
                         {"--ciclo", file, "AGENDA", "Secondi", "5", QString(90, QLatin1Char('7'))},
                         false);
        scrittore.start();
        ASSERT_TRUE(scrittore.waitForStarted());
        ASSERT_TRUE(scrittore.waitForReadyRead());  // the loop has begun
        QThread::usleep(casuale.bounded(20000));
        ::kill(static_cast<pid_t>(scrittore.processId()), SIGKILL);
        ASSERT_TRUE(scrittore.waitForFinished());
        ASSERT_EQ(scrittore.exitStatus(), QProcess::CrashExit);
        const QByteArray dopo = TestFolder::read(file);
        ASSERT_TRUE(dopo == corto || dopo == lungo)
            << "kill " << giro << ": " << dopo.size() << " bytes";
        if (dopo != corto) ++uccisiDuranteLaScrittura;
    }
    // The kills came while the loop was writing, not all before its first write.
    EXPECT_GT(uccisiDuranteLaScrittura, 0);
}

}  // namespace
