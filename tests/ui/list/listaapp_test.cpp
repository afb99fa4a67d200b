// The list window offscreen: lines, double-click, rebuild request, keys, resize, geometry.
#include "ui/list/listaapp.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>
#include <memory>
#include <stdexcept>

#include "app/ini.h"
#include "support/casenames.h"
#include "support/fakes.h"
#include "support/tempdir.h"
#include "ui/list/stampa.h"
#include "util/dateserial.h"

namespace {

const QStringList kRighe = {"06/12/26 09:05    1234 VISITA", "07/12/26 10:00       7 TELEFONATA"};
const QList<ChiavePromemoria> kChiavi = {
    {1234, dateserial::fromDateTime(QDateTime(QDate(2026, 12, 6), QTime(9, 5))), "VIS"},
    {7, dateserial::fromDateTime(QDateTime(QDate(2026, 12, 7), QTime(10, 0))), "TEL"}};

class ListaAppTest : public ::testing::Test {
protected:
    // The reminder window it opens is answered with `comando`, which becomes the command in
    // force, or is closed with F2 alone when `comando` is empty, which leaves `inVigore` as
    // it was; or it throws `errore`.
    void apri(const QList<ChiavePromemoria>& chiavi = kChiavi) {
        auto mostra = [this](const ChiavePromemoria& chiave) {
            aperture << chiave;
            if (errore) throw std::runtime_error(errore);
            inVigore = comando.value_or(inVigore);
            return inVigore;
        };
        lista = std::make_unique<ListaApp>(cartella.path("Gestar.ini"), servizi, kRighe, chiavi,
                                           mostra, [this] { ++ricostruzioni; });
        lista->show();
        QCoreApplication::processEvents();  // lays the lines out, so they can be clicked
        lstApp = lista->findChild<QListView*>("lstApp");
    }
    // A double-click as the operator makes it: a click, then the second click.
    void doppioClic(int riga) {
        const QPoint voce = lstApp->visualRect(lstApp->model()->index(riga, 0)).center();
        QTest::mouseClick(lstApp->viewport(), Qt::LeftButton, {}, voce);
        QTest::mouseDClick(lstApp->viewport(), Qt::LeftButton, {}, voce);
    }

    // A double-click on the empty part of the list, below its last line.
    void doppioClicSotto() {
        const QRect ultima = lstApp->visualRect(lstApp->model()->index(kRighe.size() - 1, 0));
        const QPoint sotto(ultima.center().x(), ultima.bottom() + 3 * ultima.height());
        ASSERT_LT(sotto.y(), lstApp->viewport()->height());
        ASSERT_FALSE(lstApp->indexAt(sotto).isValid());
        QTest::mouseClick(lstApp->viewport(), Qt::LeftButton, {}, sotto);
        QTest::mouseDClick(lstApp->viewport(), Qt::LeftButton, {}, sotto);
    }

    TestFolder cartella;
    FakePlatform piattaforma;
    PlatformServices servizi = piattaforma.services();
    QList<ChiavePromemoria> aperture;
    Comando inVigore = Comando::ImpostaAvviso;
    std::optional<Comando> comando;
    const char* errore = nullptr;
    int ricostruzioni = 0;
    std::unique_ptr<ListaApp> lista;
    QListView* lstApp = nullptr;
};

TEST_F(ListaAppTest, ShowsTheLinesWithTheFocusOnTheExitButton) {
    apri();
    QApplication::setActiveWindow(lista.get());
    EXPECT_EQ(qobject_cast<QStringListModel*>(lstApp->model())->stringList(), kRighe);
    EXPECT_EQ(lista->focusWidget()->objectName(), "Command1");
    EXPECT_TRUE(QFontInfo(lstApp->font()).fixedPitch());
}

TEST_F(ListaAppTest, DoubleClickOpensTheReminderWindowWithTheKeyFields) {
    apri();
    doppioClic(1);
    EXPECT_EQ(aperture, QList<ChiavePromemoria>{kChiavi[1]});
}

TEST_F(ListaAppTest, ALineWithoutAKeyOpensNothing) {
    apri({kChiavi[0]});
    doppioClic(1);
    EXPECT_TRUE(aperture.isEmpty());
    EXPECT_EQ(ricostruzioni, 0);
}

// Below the last line a double-click still acts on the selected line.
TEST_F(ListaAppTest, DoubleClickBelowTheLinesOpensTheSelectedOne) {
    apri();
    lstApp->setCurrentIndex(lstApp->model()->index(1, 0));
    doppioClicSotto();
    EXPECT_EQ(aperture, QList<ChiavePromemoria>{kChiavi[1]});
}

class TastieraTest : public ListaAppTest, public ::testing::WithParamInterface<Qt::Key> {};

// From the exit button, where the window opens, to the second line and its reminder.
TEST_P(TastieraTest, KeyboardAloneOpensTheSelectedLine) {
    apri();
    QApplication::setActiveWindow(lista.get());
    QTest::keyClick(lista->focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(lista->focusWidget(), lstApp);
    QTest::keyClick(lstApp, Qt::Key_Down);
    QTest::keyClick(lstApp, GetParam());
    EXPECT_EQ(aperture, QList<ChiavePromemoria>{kChiavi[1]});
}

INSTANTIATE_TEST_SUITE_P(Tasti, TastieraTest, ::testing::Values(Qt::Key_Space, Qt::Key_Menu),
                         (CaseNames{"Space", "MenuKey"}));

TEST_F(ListaAppTest, NoSelectedLineOpensNothing) {
    apri();
    lstApp->setCurrentIndex(QModelIndex());
    doppioClicSotto();
    EXPECT_TRUE(aperture.isEmpty());
}

struct CasoComando {
    Comando prima;                   // the command in force before the reminder window opens
    std::optional<Comando> comando;  // the button pressed there; nothing: closed with F2
    bool ricostruzione;
};

class RicostruzioneTest : public ListaAppTest, public ::testing::WithParamInterface<CasoComando> {};

TEST_P(RicostruzioneTest, RebuildsUnlessTheLastButtonWasTheExit) {
    inVigore = GetParam().prima;
    comando = GetParam().comando;
    apri();
    doppioClic(0);
    ASSERT_EQ(aperture.size(), 1);
    EXPECT_EQ(ricostruzioni, GetParam().ricostruzione ? 1 : 0);
    EXPECT_EQ(lstApp->model()->rowCount(), kRighe.size());  // its own lines stay
}

INSTANTIATE_TEST_SUITE_P(
    Comandi, RicostruzioneTest,
    ::testing::Values(CasoComando{Comando::Uscita, Comando::ImpostaAvviso, true},
                      CasoComando{Comando::Uscita, Comando::NonAvvisarePiu, true},
                      CasoComando{Comando::ImpostaAvviso, Comando::Uscita, false},
                      CasoComando{Comando::ImpostaAvviso, std::nullopt, true},
                      CasoComando{Comando::Uscita, std::nullopt, false}),
    (CaseNames{"ImpostaAvviso", "NonAvvisarePiu", "Uscita", "F2First", "F2AfterUscita"}));

// The operator reads an Italian sentence; the engine's own text goes to the diagnostic output.
TEST_F(ListaAppTest, AFailingReminderWindowIsReportedAndAsksNoRebuild) {
    errore = "no such table: TabAzioni";
    apri();
    testing::internal::CaptureStderr();
    doppioClic(0);
    const std::string diagnostica = testing::internal::GetCapturedStderr();
    ASSERT_EQ(piattaforma.messages.shown.size(), 1);
    EXPECT_EQ(piattaforma.messages.shown[0].text, "IMPOSSIBILE APRIRE IL PROMEMORIA");
    EXPECT_EQ(piattaforma.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_NE(diagnostica.find("SCADEX: promemoria non aperto: no such table: TabAzioni"),
              std::string::npos)
        << diagnostica;
    EXPECT_EQ(ricostruzioni, 0);
}

class ChiusuraTest : public ListaAppTest,
                     public ::testing::WithParamInterface<std::pair<const char*, Qt::Key>> {};

// F2 closes from whichever control has the focus, Esc and Enter in the list do not; every
// close saves the geometry.
TEST_P(ChiusuraTest, OnlyF2Closes) {
    apri();
    const auto [nome, tasto] = GetParam();
    QTest::keyClick(lista->findChild<QWidget*>(nome), tasto);
    EXPECT_EQ(lista->isVisible(), tasto != Qt::Key_F2);
    EXPECT_EQ(LeggiIni(cartella.path("Gestar.ini"), "ListaApp", "WSTATE"),
              tasto == Qt::Key_F2 ? "0" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Tasti, ChiusuraTest,
    ::testing::Values(std::pair{"lstApp", Qt::Key_F2}, std::pair{"Command1", Qt::Key_F2},
                      std::pair{"lstApp", Qt::Key_Escape}, std::pair{"lstApp", Qt::Key_Return}),
    (CaseNames{"F2InTheList", "F2OnTheButton", "EscapeInTheList", "EnterInTheList"}));

TEST_F(ListaAppTest, ReopensWhereAndAsLargeAsItWasClosed) {
    apri();
    lista->setGeometry(90, 45, 700, 500);
    const QRect chiusa = lista->frameGeometry();
    QTest::mouseClick(lista->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    apri();
    EXPECT_EQ(lista->frameGeometry(), chiusa);
}

TEST_F(ListaAppTest, ControlsFollowTheClientAreaAndSurviveATinyOne) {
    apri();
    lista->setMinimumSize(0, 0);
    lista->resize(1, 20);
    EXPECT_EQ(lstApp->size(), QSize(0, 0));
    lista->resize(700, 500);  // 10500 x 7500 twips
    EXPECT_EQ(lstApp->geometry(), QRect(0, 15, 699, 458));
    EXPECT_EQ(lista->findChild<QPushButton*>("Command1")->geometry(), QRect(0, 475, 699, 25));
}

TEST_F(ListaAppTest, NoteCaptionStandsOverTheNoteColumn) {
    apri();
    const int carattere = lstApp->fontMetrics().horizontalAdvance('0');
    EXPECT_EQ(
        lista->findChild<QLabel*>("Label1_1")->x() - lista->findChild<QLabel*>("Label1_0")->x(),
        74 * carattere);
}

}  // namespace
