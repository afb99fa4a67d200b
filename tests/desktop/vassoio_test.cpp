// The tray icon on a real X desktop with a tray host: it appears, and follows the rebuilds.
#include <gtest/gtest.h>

#include <QAction>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWindow>
#include <QtTest/QTest>

#include "ui/main/avvioprova.h"
#include "ui/main/iconavassoio.h"
#include "ui/main/startupcontrols.h"

namespace {

constexpr double kOggi = 46362;  // 6 December 2026
constexpr int kAttesaMs = 10000;

// What the screen shows where the icon sits.
QImage schermo(const QRect& zona) {
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, zona.x(), zona.y(), zona.width(), zona.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The count's red disc is on screen: red in the lower right quarter of the icon, where the
// plain icon has none (its red is the calendar's top band).
bool mostraIlConteggio(const QImage& immagine) {
    for (int y = immagine.height() * 5 / 8; y < immagine.height(); ++y) {
        for (int x = immagine.width() / 2; x < immagine.width(); ++x) {
            const QColor colore = immagine.pixelColor(x, y);
            if (colore.red() > 180 && colore.green() < 70 && colore.blue() < 70) return true;
        }
    }
    return false;
}

// Whether the window manager lists the window `id` among those it manages.
bool gestitaDalGestore(WId id) {
    QProcess wmctrl;
    wmctrl.start(QStringLiteral("wmctrl"), {QStringLiteral("-l")});
    if (!wmctrl.waitForFinished(kAttesaMs)) return false;
    for (const QByteArray& riga : wmctrl.readAllStandardOutput().split('\n')) {
        bool letto = false;
        if (riga.split(' ').value(0).toULongLong(&letto, 16) == id && letto) return true;
    }
    return false;
}

class VassoioSulDesktop : public ::testing::Test, public AvvioProva {
protected:
    void SetUp() override {
        ASSERT_TRUE(
            QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, kAttesaMs))
            << "no tray host on this desktop";
    }
    // Loads the main window as the program does and waits for its icon in the tray.
    QSystemTrayIcon& avviaNelVassoio() {
        EXPECT_FALSE(crea().vassoio().icona().isVisible());
        QSystemTrayIcon& icona = avvia().vassoio().icona();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !icona.geometry().isEmpty(); }, kAttesaMs));
        return icona;
    }
};

TEST_F(VassoioSulDesktop, IconAppearsWithItsCountAndFollowsARebuild) {
    gestar.addAppointment(1234, kOggi + 11.0 / 24, 90);
    QSystemTrayIcon& icona = avviaNelVassoio();
    ASSERT_TRUE(icona.isVisible());
    QImage prima;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return mostraIlConteggio(prima = schermo(icona.geometry())); }, kAttesaMs));
    EXPECT_EQ(icona.toolTip(), "PROMEMORIA: 1 APPUNTAMENTO\nPROSSIMO AVVISO: 06/12/2026 09:30:00");

    gestar.addAppointment(55, kOggi + 1 + 10.0 / 24, 90);
    gestar.addAppointment(56, kOggi + 2, 90);
    startup->SelezionaAppuntamenti();
    EXPECT_TRUE(QTest::qWaitFor([&] { return schermo(icona.geometry()) != prima; }, kAttesaMs));
    EXPECT_TRUE(mostraIlConteggio(schermo(icona.geometry())));
    EXPECT_EQ(icona.toolTip(), "PROMEMORIA: 3 APPUNTAMENTI\nPROSSIMO AVVISO: 06/12/2026 09:30:00");
}

TEST_F(VassoioSulDesktop, NoCountIsDrawnWithoutDueAppointments) {
    QSystemTrayIcon& icona = avviaNelVassoio();
    QTest::qWait(500);
    EXPECT_FALSE(mostraIlConteggio(schermo(icona.geometry())));
    EXPECT_FALSE(startup->vassoio().azioneElenca()->isEnabled());
}

TEST_F(VassoioSulDesktop, MenuCommandsDoWhatTheButtonsDo) {
    avviaNelVassoio();
    // Minimised by the window manager: it manages the window, and keeps it off the screen. A
    // window asked back before the manager has taken it in would be minimised after.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return startup->windowHandle() && !startup->windowHandle()->isExposed() &&
                   gestitaDalGestore(startup->winId());
        },
        kAttesaMs));
    startup->vassoio().azioneParametri()->trigger();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(startup.get(), kAttesaMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !startup->isMinimized(); }, kAttesaMs));
    EXPECT_TRUE(pctParam(*startup)->isVisible());

    platform.messages.answers = {MessageAnswer::No, MessageAnswer::Yes};
    startup->vassoio().azioneChiudi()->trigger();
    EXPECT_EQ(chiusure, 0);
    startup->vassoio().azioneChiudi()->trigger();
    EXPECT_EQ(chiusure, 1);
}

}  // namespace
