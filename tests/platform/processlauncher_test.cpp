// The real process launcher: which copy of the alert program a search path starts, and the
// argument reaching it unchanged, with no shell in between.
#include "platform/processlauncher.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "support/tempdir.h"

namespace {

// Not the alert program's name: its real copy stands beside the test binary.
const QString kProgram = QStringLiteral("avviso-prova");

// What the started stand-in recorded: the file it ran from and its arguments.
struct Started {
    QString program;
    QList<QByteArray> arguments;
};

// A folder with copies of the stand-in program in trusted and untrusted places; the test runs
// in its "lavoro" sub-folder with PATH set as each case says ("@" is the folder's path).
class LauncherTest : public ::testing::Test {
protected:
    LauncherTest() : oldPath_(qgetenv("PATH")), oldFolder_(QDir::currentPath()) {
        copy("lavoro", true);
        copy("lavoro/bin", true);
        copy("nonEseguibile", false);
        copy("vero", true);
        QDir().mkpath(folder.path("cartella/" + kProgram));
        QDir::setCurrent(folder.path("lavoro"));
        qputenv("SCADEX_RECORD_FILE", QFile::encodeName(folder.path("avvio")));
    }
    ~LauncherTest() override {
        qputenv("PATH", oldPath_);
        QDir::setCurrent(oldFolder_);
        qunsetenv("SCADEX_RECORD_FILE");
    }

    void setPath(QString path) {
        const QString root = QFileInfo(folder.path("vero")).absolutePath() + '/';
        qputenv("PATH", QFile::encodeName(path.replace('@', root)));
    }

    // Waits for the stand-in to record its start.
    Started started() {
        const QString record = folder.path("avvio");
        QDeadlineTimer deadline(10000);
        while (!QFile::exists(record) && !deadline.hasExpired()) QThread::msleep(10);
        const QList<QByteArray> fields = TestFolder::read(record).split('\0');
        if (fields.isEmpty()) return {};
        return {QFile::decodeName(fields[0]), fields.mid(1)};
    }

    QString copyIn(const QString& subfolder) const {
        return QFileInfo(folder.path(subfolder + '/' + kProgram)).canonicalFilePath();
    }

    TestFolder folder;

private:
    void copy(const QString& subfolder, bool executable) {
        QDir().mkpath(folder.path(subfolder));
        const QString target = folder.path(subfolder + '/' + kProgram);
        ASSERT_TRUE(QFile::copy(QStringLiteral(SCADEX_RECORD_ARGUMENTS), target));
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executable) permissions |= QFile::ExeOwner;
        QFile::setPermissions(target, permissions);
    }

    QByteArray oldPath_;
    QString oldFolder_;
};

struct PathCase {
    const char* name;
    const char* path;
};

class SearchPathTest : public LauncherTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(SearchPathTest, StartsTheCopyInTheFirstTrustedFolder) {
    setPath(GetParam().path);
    ASSERT_TRUE(QtProcessLauncher().startDetached(kProgram, {"x"}));
    EXPECT_EQ(started().program, copyIn("vero"));
}

INSTANTIATE_TEST_SUITE_P(Paths, SearchPathTest,
                         ::testing::Values(PathCase{"EmptyEntries", "::@vero"},
                                           PathCase{"CurrentFolder", ".:@vero"},
                                           PathCase{"RelativeFolder", "bin:./bin:@vero"},
                                           PathCase{"NotExecutableFirst", "@nonEseguibile:@vero"},
                                           PathCase{"FolderOfThatName", "@cartella:@vero"},
                                           PathCase{"TrailingEmptyEntry", "@vero:"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LauncherTest, WithoutATrustedCopyTheStartFails) {
    setPath("::.:bin:@nonEseguibile:@cartella");
    EXPECT_FALSE(QtProcessLauncher().startDetached(kProgram, {"x"}));
}

TEST_F(LauncherTest, AProgramBesideThisOneComesBeforeThePath) {
    setPath("@vero");
    const QFileInfo beside(QStringLiteral(SCADEX_RECORD_ARGUMENTS));
    ASSERT_TRUE(QtProcessLauncher().startDetached(beside.fileName(), {"x"}));
    EXPECT_EQ(started().program, beside.canonicalFilePath());
}

TEST_F(LauncherTest, TheArgumentArrivesWholeAndUnchanged) {
    setPath("@vero");
    const QString argument = QStringLiteral(
        "/home/op/l'ufficio \"centrale\"; $(touch x) `id`/Gestar.ini|1|8|$(x);'|06/12/2026 "
        "10:00:00");
    ASSERT_TRUE(QtProcessLauncher().startDetached(kProgram, {argument}));
    EXPECT_EQ(started().arguments, QList<QByteArray>{argument.toUtf8()});
    EXPECT_FALSE(QFile::exists(folder.path("lavoro/x")));
}

}  // namespace
