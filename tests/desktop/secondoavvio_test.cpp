// A second start of scadex for the same user and set-up while the first runs, as the menu
// entry started beside the autostarted copy: it brings the first one's window up and ends.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest/QTest>
#include <memory>

#include "support/gestarfolder.h"
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
    SecondoAvvio()
        : programma_(gestar.folder.path(QStringLiteral("bin/scadex"))),
          consegne_(gestar.folder.path(QStringLiteral("consegne.txt"))),
          runtime_(gestar.folder.path(QStringLiteral("run"))) {
        // The alert program's stand-in notes each hand-over; the program runs from beside it,
        // where it looks first.
        const QString avviso = gestar.folder.write(
            QStringLiteral("bin/SCADEX1.EXE"), "#!/bin/sh\necho \"$1\" >> \"$SCADEX_CONSEGNE\"\n");
        QFile::setPermissions(avviso, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::copy(QStringLiteral(SCADEX_PROGRAM), programma_);
        QDir().mkpath(runtime_);
        QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~SecondoAvvio() override {
        for (const auto& programma : avviati_) {
            programma->kill();
            programma->waitForFinished();
        }
    }

    QProcess& avvia(const QString& fileIni) {
        auto programma = std::make_unique<QProcess>();
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
        ambiente.insert(QStringLiteral("SCADEX_CONSEGNE"), consegne_);
        programma->setProcessEnvironment(ambiente);
        programma->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        programma->start(programma_, {fileIni});
        EXPECT_TRUE(programma->waitForStarted());
        avviati_.push_back(std::move(programma));
        return *avviati_.back();
    }
    qsizetype consegne() const { return TestFolder::read(consegne_).count('\n'); }

    GestarFolder gestar;

private:
    QString programma_;
    QString consegne_;
    QString runtime_;
    std::vector<std::unique_ptr<QProcess>> avviati_;
};

// The second start's Gestar.ini: the first one's, or a copy of it elsewhere (as the operator's
// own settings folder holds one), which leads to the same work database.
class SecondoAvvioDa : public SecondoAvvio, public ::testing::WithParamInterface<bool> {};

TEST_P(SecondoAvvioDa, BringsTheRunningWindowUpAndEnds) {
    const QDateTime fra10Minuti = QDateTime::currentDateTime().addSecs(600);
    gestar.addAppointment(1234, dateserial::fromDateTime(fra10Minuti), 60);
    QProcess& primo = avvia(gestar.fileIni);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return consegne() == 1 && statoFinestra() == "Iconic"; }, kAttesaMs))
        << "no hand-over, or no minimised window as xwininfo and xprop (x11-utils) read it";

    const QString fileIni = GetParam()
                                ? gestar.folder.write(QStringLiteral("config/scadex/Gestar.ini"),
                                                      TestFolder::read(gestar.fileIni))
                                : gestar.fileIni;
    QProcess& secondo = avvia(fileIni);
    ASSERT_TRUE(secondo.waitForFinished(kAttesaMs));
    EXPECT_EQ(secondo.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(secondo.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return statoFinestra() == "Normal"; }, kAttesaMs));
    EXPECT_EQ(consegne(), 1);
    EXPECT_EQ(primo.state(), QProcess::Running);
}

// A first copy stopped (Ctrl+Z, a debugger) still holds its lock: a second start never runs
// beside it and ends with a failure; the first carries on once continued.
TEST_F(SecondoAvvio, BesideAStoppedCopyEndsWithAFailure) {
    gestar.addAppointment(1234, dateserial::fromDateTime(QDateTime::currentDateTime()), 60);
    QProcess& primo = avvia(gestar.fileIni);
    ASSERT_TRUE(QTest::qWaitFor([&] { return consegne() == 1; }, kAttesaMs));
    ::kill(static_cast<pid_t>(primo.processId()), SIGSTOP);
    QProcess& secondo = avvia(gestar.fileIni);
    const bool finito = secondo.waitForFinished(kAttesaMs);
    ::kill(static_cast<pid_t>(primo.processId()), SIGCONT);
    ASSERT_TRUE(finito);
    EXPECT_EQ(secondo.exitCode(), 1);
    EXPECT_EQ(consegne(), 1) << "the second start handed the reminder over again";
    EXPECT_EQ(primo.state(), QProcess::Running);
}

INSTANTIATE_TEST_SUITE_P(Ini, SecondoAvvioDa, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Copia" : "Stesso"; });

}  // namespace
