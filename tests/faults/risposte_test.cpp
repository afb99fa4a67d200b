// An answer that cannot be written is told to the operator and keeps the reminder window open.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "faults/faultworkspace.h"
#include "faults/faultyvfs.h"
#include "ui/reminder/gesprome.h"

namespace {

constexpr double kAlle1030 = 46362 + 10.5 / 24;  // 6 December 2026, 10:30

struct Pulsanti {
    const char* nome;
    QString digitato;     // typed into Txt(1) first, when not empty
    QStringList premuti;  // object names, clicked in this order
};

void PrintTo(const Pulsanti& pulsanti, std::ostream* out) {
    *out << pulsanti.nome;
}

class RispostaNonScritta : public ::testing::TestWithParam<Pulsanti> {
protected:
    RispostaNonScritta() { FaultyVfs::instance(); }
};

TEST_P(RispostaNonScritta, LoDiceETieneApertaLaFinestra) {
    const FaultWorkspace modello;
    const QStringList appuntamenti = modello.appuntamenti();
    int iniezioni = 0;
    for (int n = 1;; ++n) {
        FaultWorkspace banco(modello);
        banco.openDatabases();
        GesProme finestra(*banco.sessione.visite(), *banco.sessione.work(), banco.services,
                          {1002, kAlle1030, QStringLiteral("TEL")});
        bool iniettato = false;
        bool aperta = false;
        QTimer::singleShot(0, &finestra, [&] {
            {
                if (!GetParam().digitato.isEmpty())
                    finestra.findChild<QLineEdit*>(QStringLiteral("Txt(1)"))
                        ->setText(GetParam().digitato);
                ArmedFault guasto(FaultKind::Write, n);
                for (const QString& nome : GetParam().premuti)
                    finestra.findChild<QPushButton*>(nome)->click();
                iniettato = FaultyVfs::instance().fired();
            }
            aperta = finestra.isVisible();
            if (aperta) finestra.reject();
        });
        finestra.exec();
        if (!iniettato) break;
        ++iniezioni;
        SCOPED_TRACE("write failing at call " + std::to_string(n));
        if (banco.appuntamenti() == appuntamenti) {
            EXPECT_TRUE(aperta) << "the window closed as if the answer had been saved";
            EXPECT_FALSE(banco.platform.messages.shown.isEmpty()) << "the operator was not told";
        }
    }
    EXPECT_GT(iniezioni, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Risposte, RispostaNonScritta,
    ::testing::Values(
        Pulsanti{"ImpostaAvviso", QStringLiteral("7"), {QStringLiteral("cmdCli(0)")}},
        Pulsanti{"NonAvvisarePiu", {}, {QStringLiteral("cmdCli(1)")}},
        Pulsanti{"StaccaDocumento", {}, {QStringLiteral("Command1"), QStringLiteral("cmdCli(0)")}}),
    [](const ::testing::TestParamInfo<Pulsanti>& info) { return std::string(info.param.nome); });

}  // namespace
