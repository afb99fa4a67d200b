// The list window offscreen: lines, double-click, rebuild request, keys, resize, geometry.
#include "ui/list/listaapp.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>
#include <stdexcept>

#include "app/globali.h"
#include "app/ini.h"
#include "support/fakes.h"
#include "support/tempdir.h"
#include "ui/list/stampa.h"

namespace {

struct Apertura {
    QString cliente;
    QString azione;
    QString data;
};

const QStringList kRighe = {
    "06/12/26 09:05    1234 VISITA DI CONTROLLO                                 richiamare",
    "07/12/26 10:00       7 TELEFONATA                                         ",
    "08/12/26 11:30      12 RINNOVO                                            note"};

class ListaAppTest : public ::testing::Test {
protected:
    ListaAppTest() { globali.FileIni = cartella.path("Gestar.ini"); }

    // The list window over `chiavi`; the reminder window it opens sets UltimoComando to
    // `comando`, or leaves it as it was (closed with F2) when `comando` is empty.
    ListaApp& apri(const QStringList& chiavi, const QStringList& righe = kRighe) {
        auto mostra = [this](const QString& cliente, const QString& azione, const QString& data) {
            aperture.push_back({cliente, azione, data});
            if (errore) throw std::runtime_error(errore);
            if (comando) globali.UltimoComando = *comando;
        };
        lista = std::make_unique<ListaApp>(globali, servizi, righe, chiavi, mostra,
                                           [this] { ++ricostruzioni; });
        lista->show();
        QCoreApplication::processEvents();  // lays the lines out, so they can be clicked
        return *lista;
    }
    QListView& lstApp() { return *lista->findChild<QListView*>("lstApp"); }

    // Double-clicks line `riga` as the operator does: a click, then the second click.
    void doppioClic(int riga) {
        const QPoint voce = lstApp().visualRect(lstApp().model()->index(riga, 0)).center();
        QTest::mouseClick(lstApp().viewport(), Qt::LeftButton, {}, voce);
        QTest::mouseDClick(lstApp().viewport(), Qt::LeftButton, {}, voce);
    }

    TestFolder cartella;
    FakePlatform piattaforma;
    PlatformServices servizi = piattaforma.services();
    Globali globali;
    std::vector<Apertura> aperture;
    std::optional<qint16> comando;
    const char* errore = nullptr;
    int ricostruzioni = 0;
    std::unique_ptr<ListaApp> lista;
};

const QStringList kChiavi = {"1234|VIS|06/12/2026 09:05:00|", "7|TEL|07/12/2026 10:00:00|",
                             "12|RIN|08/12/2026 11:30:00|"};

TEST_F(ListaAppTest, ShowsACopyOfTheMainWindowsLines) {
    QStringList righe = kRighe;
    apri(kChiavi, righe);
    righe.clear();  // later rebuilds change the main window's lists, not the window's copy
    ASSERT_EQ(lstApp().model()->rowCount(), kRighe.size());
    for (int i = 0; i < kRighe.size(); ++i) {
        EXPECT_EQ(lstApp().model()->index(i, 0).data().toString(), kRighe[i]);
    }
}

TEST_F(ListaAppTest, OpensWithTheCaptionAndTheFocusOnTheExitButton) {
    apri(kChiavi);
    QApplication::setActiveWindow(lista.get());
    EXPECT_EQ(lista->windowTitle(), " APPUNTAMENTI IN SCADENZA");
    EXPECT_EQ(lista->focusWidget(), lista->findChild<QPushButton*>("Command1"));
    EXPECT_EQ(lista->findChild<QPushButton*>("Command1")->text(), "&USCITA");
}

TEST_F(ListaAppTest, DoubleClickPassesTheKeyFieldsOfThatLine) {
    apri(kChiavi);
    doppioClic(1);
    ASSERT_EQ(aperture.size(), 1u);
    EXPECT_EQ(aperture[0].cliente, "7");
    EXPECT_EQ(aperture[0].azione, "TEL");
    EXPECT_EQ(aperture[0].data, "07/12/2026 10:00:00");
}

class ChiaveInutileTest : public ListaAppTest, public ::testing::WithParamInterface<QString> {};

TEST_P(ChiaveInutileTest, OpensNothingAndAsksNoRebuild) {
    apri({GetParam()}, {kRighe[0]});
    doppioClic(0);
    EXPECT_TRUE(aperture.empty());
    EXPECT_EQ(ricostruzioni, 0);
    EXPECT_TRUE(piattaforma.messages.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Chiavi, ChiaveInutileTest,
                         ::testing::Values("", "   ", "1234|VIS|06/12/2026 09:05:00", "1234|VIS|",
                                           "1234"));

TEST_F(ListaAppTest, NoSelectedLineOpensNothing) {
    apri(kChiavi);
    lstApp().setCurrentIndex(QModelIndex());
    emit lstApp().doubleClicked(lstApp().model()->index(0, 0));
    EXPECT_TRUE(aperture.empty());
}

TEST_F(ListaAppTest, EmptyListShowsNothingAndOpensNothing) {
    apri({}, {});
    EXPECT_EQ(lstApp().model()->rowCount(), 0);
    QTest::mouseClick(lstApp().viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseDClick(lstApp().viewport(), Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(aperture.empty());
}

struct CasoComando {
    const char* nome;
    qint16 prima;                   // UltimoComando before the reminder window opens
    std::optional<qint16> comando;  // the button pressed there; nothing: closed with F2
    bool ricostruzione;
};

class RicostruzioneTest : public ListaAppTest, public ::testing::WithParamInterface<CasoComando> {};

TEST_P(RicostruzioneTest, RebuildUnlessTheLastButtonWasTheExit) {
    globali.UltimoComando = GetParam().prima;
    comando = GetParam().comando;
    apri(kChiavi);
    doppioClic(0);
    ASSERT_EQ(aperture.size(), 1u);
    EXPECT_EQ(ricostruzioni, GetParam().ricostruzione ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Comandi, RicostruzioneTest,
    ::testing::Values(CasoComando{"ImpostaAvviso", 2, 0, true},
                      CasoComando{"NonAvvisarePiu", 2, 1, true}, CasoComando{"Uscita", 0, 2, false},
                      CasoComando{"F2AtFirstOpening", 0, std::nullopt, true},
                      CasoComando{"F2AfterAnEarlierExit", 2, std::nullopt, false},
                      CasoComando{"F2AfterAnEarlierAlarmSet", 1, std::nullopt, true}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(ListaAppTest, AFailingReminderWindowIsReportedAndAsksNoRebuild) {
    errore = "Chiave non valida";
    apri(kChiavi);
    doppioClic(2);
    ASSERT_EQ(piattaforma.messages.shown.size(), 1);
    EXPECT_EQ(piattaforma.messages.shown[0].text, "Chiave non valida");
    EXPECT_EQ(piattaforma.messages.shown[0].icon, MessageIcon::Stop);
    EXPECT_EQ(ricostruzioni, 0);
    EXPECT_TRUE(lista->isVisible());
}

TEST_F(ListaAppTest, KeepsShowingItsOwnLinesAfterARebuild) {
    apri(kChiavi);
    doppioClic(0);
    EXPECT_EQ(ricostruzioni, 1);
    EXPECT_EQ(lstApp().model()->rowCount(), kRighe.size());
}

class ChiusuraTest : public ListaAppTest, public ::testing::WithParamInterface<const char*> {};

// F2 closes from whichever control has the focus, and every close saves the geometry.
TEST_P(ChiusuraTest, F2ClosesAndSaves) {
    apri(kChiavi);
    QWidget* controllo = lista->findChild<QWidget*>(GetParam());
    controllo->setFocus();
    QTest::keyClick(controllo, Qt::Key_F2);
    EXPECT_FALSE(lista->isVisible());
    EXPECT_EQ(LeggiIni(globali.FileIni, "ListaApp", "WSTATE"), "0");
}

INSTANTIATE_TEST_SUITE_P(Controlli, ChiusuraTest, ::testing::Values("lstApp", "Command1"));

TEST_F(ListaAppTest, ExitButtonCloses) {
    apri(kChiavi);
    QTest::mouseClick(lista->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    EXPECT_FALSE(lista->isVisible());
}

TEST_F(ListaAppTest, OtherKeysDoNotClose) {
    apri(kChiavi);
    lstApp().setFocus();
    for (const Qt::Key tasto : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_F4}) {
        QTest::keyClick(&lstApp(), tasto);
    }
    EXPECT_TRUE(lista->isVisible());
    EXPECT_TRUE(aperture.empty());
}

TEST_F(ListaAppTest, ReopensWhereAndAsLargeAsItWasClosed) {
    apri(kChiavi);
    lista->move(90, 45);
    lista->resize(700, 500);
    const QRect chiusa = lista->frameGeometry();
    lista->close();
    apri(kChiavi);
    EXPECT_EQ(lista->frameGeometry(), chiusa);
}

TEST_F(ListaAppTest, ControlsFollowTheClientArea) {
    apri(kChiavi);
    lista->resize(700, 500);  // 10500 x 7500 twips
    EXPECT_EQ(lstApp().geometry(), QRect(0, 15, 699, 458));
    EXPECT_EQ(lista->findChild<QPushButton*>("Command1")->geometry(), QRect(0, 475, 699, 25));
}

TEST_F(ListaAppTest, TooSmallAreaKeepsSizesAtZeroAndGrowsBack) {
    apri(kChiavi);
    lista->setMinimumSize(0, 0);
    lista->resize(1, 20);
    EXPECT_EQ(lstApp().size(), QSize(0, 0));
    lista->resize(700, 500);
    EXPECT_EQ(lstApp().size(), QSize(699, 458));
}

TEST_F(ListaAppTest, HeaderNoteStandsOverTheNoteColumn) {
    apri(kChiavi);
    const QLabel& intestazione = *lista->findChild<QLabel*>("Label1_0");
    const QLabel& note = *lista->findChild<QLabel*>("Label1_1");
    const int carattere = lstApp().fontMetrics().horizontalAdvance('0');
    EXPECT_EQ(note.x() - intestazione.x(), 74 * carattere);
    EXPECT_EQ(intestazione.text(), "  DATA    ORA  CLIENTE CAUSALE");
    EXPECT_EQ(note.text(), "NOTE");
    EXPECT_TRUE(QFontInfo(lstApp().font()).fixedPitch());
}

}  // namespace
