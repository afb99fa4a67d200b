// Every window of the program, as an assistive technology reads it: each control the operator
// can reach has a name and a description; and as the operator reads it, in a light palette
// and a dark one.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest/QTest>
#include <tuple>

#include "alert/elencoavvisi.h"
#include "alert/finestraavviso.h"
#include "platform/gui/accessibility.h"
#include "support/accessibility.h"
#include "support/legibility.h"
#include "support/sqlfile.h"
#include "ui/list/listaapp.h"
#include "ui/main/avvioprova.h"
#include "ui/main/startupcontrols.h"
#include "ui/reminder/gesprome.h"

namespace {

constexpr double kOggi = 46362;  // 6 December 2026

// The program's accessible interfaces installed, as main() installs them.
class AccessibilitaTest : public ::testing::Test, public AvvioProva {
protected:
    AccessibilitaTest() { accessibility::install(); }
};

// Runs `controlla` on the modal window that `apri` opens, then closes that window.
void nellaFinestraModale(const std::function<void()>& apri,
                         const std::function<void(QWidget&)>& controlla) {
    QTimer::singleShot(0, [&] {
        QWidget* finestra = QApplication::activeModalWidget();
        if (!finestra) return ADD_FAILURE() << "no modal window";
        controlla(*finestra);
        finestra->close();
    });
    apri();
}

TEST_F(AccessibilitaTest, EveryWindowNamesItsControls) {
    gestar.addAppointment(1234, kOggi + 11.0 / 24, 90);
    SqlFile(gestar.folder.path("dati/op/VisiteDV.mdb"))
        .exec("UPDATE Appuntamenti SET ApDocumento = '/archivio/esame.pdf'");
    avvia().showNormal();
    EXPECT_EQ(accessibilityDefects(*startup).toStdString(), "") << "Startup";
    command1(*startup, 1)->click();
    EXPECT_EQ(accessibilityDefects(*pctParam(*startup)).toStdString(), "") << "pctParam";
    // The sound's combo box is named after its caption and still opens its list on request.
    QComboBox* combo = pctParam(*startup)->Combo1;
    QAccessibleInterface* suono = QAccessible::queryAccessibleInterface(combo);
    EXPECT_EQ(suono->text(QAccessible::Name), "Abilita suono");
    suono->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_TRUE(combo->view()->isVisible());
    combo->hidePopup();
    pctParam(*startup)->Command2_1->click();

    std::string lista;
    std::string promemoria;
    QString stacca;
    nellaFinestraModale(
        [&] { command1(*startup, 3)->click(); },
        [&](QWidget& elenco) {
            lista = accessibilityDefects(elenco).toStdString();
            auto* righe = elenco.findChild<QListView*>("lstApp");
            righe->setCurrentIndex(righe->model()->index(0, 0));
            nellaFinestraModale(
                [&] { QTest::keyClick(righe, Qt::Key_Space); },
                [&](QWidget& scheda) {
                    promemoria = accessibilityDefects(scheda).toStdString();
                    if (auto* x = scheda.findChild<QPushButton*>("Command1"))
                        stacca = QAccessible::queryAccessibleInterface(x)->text(QAccessible::Name);
                });
        });
    EXPECT_EQ(lista, "") << "ListaApp";
    EXPECT_EQ(promemoria, "") << "GesProme";
    EXPECT_EQ(stacca, "Stacca documento");
}

enum class Tavolozza { Chiara, Scura };

// The style's own light palette, or a dark theme's: light text on dark windows and fields.
QPalette tavolozza(Tavolozza tipo) {
    if (tipo == Tavolozza::Chiara) return QApplication::style()->standardPalette();
    QPalette scura(QColor(0x35, 0x35, 0x35), QColor(0x2b, 0x2b, 0x2b));
    scura.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    for (QPalette::ColorRole testo : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        scura.setColor(testo, Qt::white);
    return scura;
}

class LeggibilitaTest;

struct FinestraDaLeggere {
    const char* nome;
    QWidget& (*apri)(LeggibilitaTest& prova);
};

// Each window is opened under the desktop's palette, on a due visit with a document and a red
// action.
class LeggibilitaTest : public ::testing::TestWithParam<std::tuple<FinestraDaLeggere, Tavolozza>>,
                        public AvvioProva {
public:
    LeggibilitaTest() {
        QApplication::setPalette(tavolozza(std::get<Tavolozza>(GetParam())));
        gestar.addAppointment(1234, kOggi + 11.0 / 24, 90);
        SqlFile(gestar.folder.path("dati/op/VisiteDV.mdb"))
            .exec("UPDATE Appuntamenti SET ApDocumento = '/archivio/esame.pdf'");
        SqlFile(gestar.folder.path("lavoro/op/WorkDV.mdb"))
            .exec("INSERT INTO TabAzioni VALUES ('VIS', 'Visita', 255)");
        avvia().showNormal();
    }
    ~LeggibilitaTest() override { QApplication::setPalette(originale_); }

    QWidget& mostra(std::unique_ptr<QWidget> finestra) {
        finestra_ = std::move(finestra);
        finestra_->show();
        return *finestra_;
    }

    QWidget& promemoria() {
        return mostra(std::make_unique<GesProme>(*sessione.visite(), *sessione.work(), services,
                                                 startup->chiavi().at(0)));
    }

    QWidget& avviso() {
        ElencoAvvisi elenco;
        const ElencoAvvisi::Posto posto =
            elenco.aggiungi({{gestar.fileIni, 1, 1234, QStringLiteral("VIS"), kOggi + 11.0 / 24},
                             QStringLiteral("ROSSI"),
                             DatiAzione{QStringLiteral("Visita"), QColor(Qt::red)}});
        auto finestra = std::make_unique<FinestraAvviso>();
        finestra->aggiungi(elenco, posto.indice);
        return mostra(std::move(finestra));
    }

private:
    const QPalette originale_ = QApplication::palette();
    std::unique_ptr<QWidget> finestra_;
};

const FinestraDaLeggere kFinestre[] = {
    {"Startup", [](LeggibilitaTest& prova) -> QWidget& { return *prova.startup; }},
    {"Parametri",
     [](LeggibilitaTest& prova) -> QWidget& {
         command1(*prova.startup, 1)->click();
         return *pctParam(*prova.startup);
     }},
    {"ListaApp",
     [](LeggibilitaTest& prova) -> QWidget& {
         return prova.mostra(std::make_unique<ListaApp>(prova.sessione.fileIni(), prova.services,
                                                        prova.startup->righe(),
                                                        prova.startup->chiavi(), nullptr, nullptr));
     }},
    {"GesProme", [](LeggibilitaTest& prova) -> QWidget& { return prova.promemoria(); }},
    {"FinestraAvviso", [](LeggibilitaTest& prova) -> QWidget& { return prova.avviso(); }},
};

TEST_P(LeggibilitaTest, EveryTextStandsOutFromItsBackground) {
    QWidget& finestra = std::get<FinestraDaLeggere>(GetParam()).apri(*this);
    ASSERT_TRUE(finestra.isVisible());
    EXPECT_EQ(illegibleTexts(finestra).toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Windows, LeggibilitaTest,
                         ::testing::Combine(::testing::ValuesIn(kFinestre),
                                            ::testing::Values(Tavolozza::Chiara, Tavolozza::Scura)),
                         [](const auto& info) {
                             const bool scura = std::get<Tavolozza>(info.param) == Tavolozza::Scura;
                             return std::string(std::get<FinestraDaLeggere>(info.param).nome) +
                                    (scura ? "Scura" : "Chiara");
                         });

}  // namespace
