// SCADEX1.EXE as scadex starts it: printed line, refused arguments, hand-over between starts.
#include <gtest/gtest.h>

#include <QLocalServer>
#include <QProcess>
#include <QRegularExpression>
#include <memory>

#include "alert/avvio.h"
#include "alert/istanzaunica.h"
#include "gestarprova.h"

namespace {

class Processi : public ::testing::Test {
protected:
    ~Processi() override {
        for (const auto& processo : avviati_) {
            processo->kill();
            processo->waitForFinished();
        }
        // A killed window leaves its socket file behind.
        QLocalServer::removeServer(IstanzaUnica::nomePer(gestar.fileIni));
    }

    // Starts the program offscreen; `eco` asks for the window with its printed lines.
    QProcess& avvia(const QStringList& argomenti, bool eco = false) {
        auto processo = std::make_unique<QProcess>();
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
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

}  // namespace
