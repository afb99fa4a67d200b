// The tray icon: its count and tooltip follow the rebuilds, its menu runs the window's commands.
#include "ui/main/iconavassoio.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "support/sqlfile.h"
#include "ui/main/avvioprova.h"
#include "ui/main/startupcontrols.h"

namespace {

constexpr double kOggi = 46362;  // 6 December 2026

QImage immagine(const QIcon& icona) {
    return icona.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
}

class IconaVassoioTest : public ::testing::Test, public AvvioProva {
protected:
    // An appointment at `ore` hours today (or later) with an alarm lead of 90 minutes.
    void appuntamento(int cliente, double ore) {
        gestar.addAppointment(cliente, kOggi + ore / 24, 90);
    }
    IconaVassoio& vassoio() { return startup->vassoio(); }
};

TEST_F(IconaVassoioTest, CountAndTooltipFollowTheRebuilds) {
    appuntamento(1234, 11);  // alarm at 09:30
    avvia();
    EXPECT_EQ(vassoio().icona().toolTip(),
              "PROMEMORIA: 1 APPUNTAMENTO\nPROSSIMO AVVISO: 06/12/2026 09:30:00");
    EXPECT_EQ(immagine(vassoio().icona().icon()), immagine(IconaVassoio::disegna(1)));

    appuntamento(55, 10);  // alarm at 08:30, already come
    appuntamento(56, 24 + 12);
    platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(9, 40));
    startup->SelezionaAppuntamenti();
    EXPECT_EQ(vassoio().icona().toolTip(),
              "PROMEMORIA: 3 APPUNTAMENTI\nPROSSIMO AVVISO: 07/12/2026 10:30:00");
    EXPECT_EQ(immagine(vassoio().icona().icon()), immagine(IconaVassoio::disegna(3)));
}

TEST_F(IconaVassoioTest, TooltipMovesToTheNextAlarmAtEachPoll) {
    appuntamento(1, 11);
    appuntamento(2, 12);
    avvia();
    platform.clock.moment = QDateTime(QDate(2026, 12, 6), QTime(10, 0));
    const QString atteso = "PROMEMORIA: 2 APPUNTAMENTI\nPROSSIMO AVVISO: 06/12/2026 10:30:00";
    timer1(*startup)->start(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return vassoio().icona().toolTip() == atteso; }, 5000))
        << vassoio().icona().toolTip().toStdString();
}

TEST_F(IconaVassoioTest, ThreeFailedPollsShowTheStopUntilOneGoesThrough) {
    appuntamento(1234, 11);
    avvia();
    const QString normale = vassoio().icona().toolTip();
    SqlFile work(gestar.folder.path("lavoro/op/WorkDV.mdb"));
    work.exec("ALTER TABLE Promemoria RENAME TO Altrove");
    for (int tick = 0; tick < 3; ++tick) startup->ControllaPromemoria();
    EXPECT_EQ(vassoio().icona().toolTip(), "L'ARCHIVIO NON HA LE TABELLE DI GESTAR");
    EXPECT_EQ(immagine(vassoio().icona().icon()), immagine(IconaVassoio::disegna(1, true)));
    work.exec("ALTER TABLE Altrove RENAME TO Promemoria");
    startup->ControllaPromemoria();
    EXPECT_EQ(vassoio().icona().toolTip(), normale);
    EXPECT_EQ(immagine(vassoio().icona().icon()), immagine(IconaVassoio::disegna(1)));
    using Notifica = QPair<QString, QString>;
    EXPECT_EQ(platform.notifications.posted,
              (QList<Notifica>{{"PROMEMORIA SOSPESI", "L'ARCHIVIO NON HA LE TABELLE DI GESTAR"},
                               {"PROMEMORIA RIPRESI", "I PROMEMORIA FUNZIONANO DI NUOVO"}}));
    // The stop is kept on the desktop until the resume replaces it.
    EXPECT_EQ(platform.notifications.kinds,
              (QList<NotificationKind>{NotificationKind::Critical, NotificationKind::Information}));
}

// A copy without its work database's lock says so under whatever the tooltip says, for good.
TEST_F(IconaVassoioTest, AWarningStaysUnderTheTooltip) {
    appuntamento(1234, 11);
    avvia();
    vassoio().mostraAvvertimento("COPIA UNICA NON GARANTITA");
    vassoio().mostraAvvertimento("SUONO");
    vassoio().mostraAvvertimento("SUONO");  // told once however often it happens
    const QString atteso =
        "PROMEMORIA: 1 APPUNTAMENTO\nPROSSIMO AVVISO: 06/12/2026 09:30:00\n"
        "COPIA UNICA NON GARANTITA\nSUONO";
    EXPECT_EQ(vassoio().icona().toolTip(), atteso);
    startup->SelezionaAppuntamenti();
    EXPECT_EQ(vassoio().icona().toolTip(), atteso);
}

// Beyond 99 the icon reads "99+", whatever the count.
TEST(IconaVassoioDisegnoTest, EachCountDrawsItsOwnIcon) {
    const QList<int> conteggi = {0, 1, 2, 9, 10, 99, 100};
    for (int i = 0; i < conteggi.size(); ++i) {
        for (int j = i + 1; j < conteggi.size(); ++j) {
            EXPECT_NE(immagine(IconaVassoio::disegna(conteggi[i])),
                      immagine(IconaVassoio::disegna(conteggi[j])))
                << conteggi[i] << " and " << conteggi[j];
        }
    }
    EXPECT_EQ(immagine(IconaVassoio::disegna(307)), immagine(IconaVassoio::disegna(100)));
    EXPECT_FALSE(IconaVassoio::disegna(0).pixmap(22, 22).isNull());
}

TEST_F(IconaVassoioTest, ElencaFollowsTheButton) {
    avvia();
    EXPECT_FALSE(vassoio().azioneElenca()->isEnabled());
    appuntamento(1234, 11);
    startup->SelezionaAppuntamenti();
    EXPECT_TRUE(vassoio().azioneElenca()->isEnabled());
}

TEST_F(IconaVassoioTest, ElencaRestoresTheWindowAndOpensTheList) {
    appuntamento(1234, 11);
    avvia();
    QString finestra;
    bool ripristinata = false;
    QTimer::singleShot(0, [&] {
        ripristinata = !startup->isMinimized();
        QWidget* modale = QApplication::activeModalWidget();
        if (!modale) return;
        finestra = modale->objectName();
        // A second ELENCA while the list is open brings it forward, opening no other.
        vassoio().azioneElenca()->trigger();
        if (QApplication::activeModalWidget() == modale) modale->close();
    });
    vassoio().azioneElenca()->trigger();
    EXPECT_EQ(finestra, "ListaApp");
    EXPECT_TRUE(ripristinata);
}

TEST_F(IconaVassoioTest, ParametriRestoresTheWindowWithThePanel) {
    avvia();
    vassoio().azioneParametri()->trigger();
    EXPECT_FALSE(startup->isMinimized());
    EXPECT_TRUE(pctParam(*startup)->isVisible());
}

TEST_F(IconaVassoioTest, ChiudiAsksAsF2Does) {
    avvia();
    platform.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
    vassoio().azioneChiudi()->trigger();
    EXPECT_EQ(chiusure, 0);
    vassoio().azioneChiudi()->trigger();
    EXPECT_EQ(chiusure, 1);
    ASSERT_EQ(platform.messages.shown.size(), 2);
    EXPECT_EQ(platform.messages.shown[0].text, "Confermi la chiusura de SCADEX");
    EXPECT_EQ(platform.messages.shown[0].icon, MessageIcon::Question);
}

TEST_F(IconaVassoioTest, AClickRestoresTheMainWindow) {
    avvia();
    ASSERT_TRUE(startup->isMinimized());
    emit vassoio().icona().activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(startup->isMinimized());
    EXPECT_TRUE(startup->isVisible());
}

}  // namespace
