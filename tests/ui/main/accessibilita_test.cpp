// Every window of the program, as an assistive technology reads it: each control the operator
// can reach has a name and a description.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "support/accessibilita.h"
#include "support/sqlfile.h"
#include "ui/main/avvioprova.h"
#include "ui/main/pannelloparametri.h"

namespace {

constexpr double kOggi = 46362;  // 6 December 2026

class AccessibilitaTest : public ::testing::Test, public AvvioProva {};

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
    gestar.appuntamento(1234, kOggi + 11.0 / 24, 90);
    SqlFile(gestar.folder.path("dati/op/VisiteDV.mdb"))
        .exec("UPDATE Appuntamenti SET ApDocumento = '/archivio/esame.pdf'");
    avvia().showNormal();
    EXPECT_EQ(ControlliSenzaNome(*startup), "") << "Startup";
    startup->Command1(1)->click();
    EXPECT_EQ(ControlliSenzaNome(*startup->pctParam), "") << "pctParam";
    startup->pctParam->Command2_1->click();

    QString lista;
    QString promemoria;
    QString stacca;
    nellaFinestraModale(
        [&] { startup->Command1(3)->click(); },
        [&](QWidget& elenco) {
            lista = ControlliSenzaNome(elenco);
            auto* righe = elenco.findChild<QListView*>("lstApp");
            righe->setCurrentIndex(righe->model()->index(0, 0));
            nellaFinestraModale(
                [&] { QTest::keyClick(righe, Qt::Key_Space); },
                [&](QWidget& scheda) {
                    promemoria = ControlliSenzaNome(scheda);
                    if (auto* x = scheda.findChild<QPushButton*>("Command1"))
                        stacca = QAccessible::queryAccessibleInterface(x)->text(QAccessible::Name);
                });
        });
    EXPECT_EQ(lista, "") << "ListaApp";
    EXPECT_EQ(promemoria, "") << "GesProme";
    EXPECT_EQ(stacca, "Stacca documento");
}

}  // namespace
