// ScriviIni as another process meets it: a folder that takes no new file, and kills.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "support/tempdir.h"

namespace {

constexpr QFile::Permissions kTutti = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                      QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                      QFile::ExeOther;

// The stand-in writer; under root it runs as nobody, for whom folder permissions hold.
void preparaScrittore(QProcess& processo, const QStringList& argomenti) {
    if (::geteuid() == 0) {
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
    preparaScrittore(scrittore, {file, "AGENDA", "Secondi", "5"});
    scrittore.start();
    ASSERT_TRUE(scrittore.waitForFinished());
    ASSERT_EQ(scrittore.exitCode(), 0);
    EXPECT_EQ(TestFolder::read(file), "[AGENDA]\r\nSecondi=5\r\n");
    EXPECT_EQ(QDir(etc()).entryList(QDir::Files | QDir::Hidden), QStringList{"Gestar.ini"});
}

}  // namespace
