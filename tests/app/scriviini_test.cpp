// ScriviIni as another process meets it: a folder that takes no new file, and kills.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

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

// The stand-in writer; `comeNessuno` under root runs it as nobody, for whom folder
// permissions hold.
void preparaScrittore(QProcess& processo, const QStringList& argomenti, bool comeNessuno) {
    if (comeNessuno && ::geteuid() == 0) {
        processo.setChildProcessModifier([] {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
        });
    }
    processo.setProgram(QStringLiteral(SCADEX_SCRIVI_INI));
    processo.setArguments(argomenti);
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
    QProcess scrittore;
    preparaScrittore(scrittore, {file, "AGENDA", "Secondi", "5"}, true);
    scrittore.start();
    ASSERT_TRUE(scrittore.waitForFinished());
    ASSERT_EQ(scrittore.exitCode(), 0);
    EXPECT_EQ(TestFolder::read(file), "[AGENDA]\r\nSecondi=5\r\n");
    EXPECT_EQ(QDir(etc()).entryList(QDir::Files | QDir::Hidden), QStringList{"Gestar.ini"});
}

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
