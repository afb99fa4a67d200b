// Opening each window of the program on the demo workspace and taking its picture.
#include "demoscreens.h"

#include <QApplication>
#include <QDateTime>
#include <QPushButton>
#include <QTextStream>
#include <QTimer>

#include "alert/avviso.h"
#include "alert/programmaavviso.h"
#include "alert/rinvio.h"
#include "ui/list/listaapp.h"
#include "ui/main/startup.h"
#include "ui/reminder/gesprome.h"
#include "util/dateserial.h"

namespace {

// The demo's client with an attached document and a coloured action, and a second one.
constexpr int kClienteConDocumento = 1;
constexpr int kSecondoCliente = 2;

}  // namespace

DemoScreens::DemoScreens(const QString& fileIni, const QString& outFolder)
    : services_{qt_.clock, launcher_,      qt_.yielder,   qt_.messages,      qt_.screen,
                qt_.sound, qt_.fileDialog, qt_.documents, qt_.notifications, qt_.copies},
      sessione_(fileIni),
      shooter_(outFolder) {}

bool DemoScreens::takeAll() {
    Startup startup(sessione_, services_);
    if (startup.avvia() != Startup::Avvio::Avviato) {
        QTextStream(stderr) << "scadex-screenshots: the workspace does not open\n";
        return false;
    }
    startup.showNormal();
    return mainWindowAndPanel(startup) && listWindow(startup) && reminderWindow(startup) &&
           alertWindow(startup);
}

bool DemoScreens::mainWindowAndPanel(Startup& startup) {
    if (!saved(startup, QStringLiteral("main-window"))) return false;
    startup.findChild<QPushButton*>(QStringLiteral("Command1_1"))->click();
    const bool panel = saved(startup, QStringLiteral("parameters-panel"));
    startup.findChild<QPushButton*>(QStringLiteral("Command2_1"))->click();
    return panel;
}

bool DemoScreens::listWindow(Startup& startup) {
    ListaApp list(
        sessione_.fileIni(), services_, startup.righe(), startup.chiavi(),
        [](const ChiavePromemoria&) { return Comando::ImpostaAvviso; }, [] {}, &startup);
    list.show();
    return saved(list, QStringLiteral("list-window"));
}

// The reminder window loads only in exec(): the picture is taken from inside its loop.
bool DemoScreens::reminderWindow(Startup& startup) {
    const std::optional<ChiavePromemoria> key = keyOf(startup, kClienteConDocumento);
    if (!key) return false;
    GesProme reminder(*sessione_.visite(), *sessione_.work(), services_, *key, &startup);
    bool ok = false;
    QTimer::singleShot(0, &reminder, [&] {
        ok = saved(reminder, QStringLiteral("reminder-window"));
        reminder.reject();
    });
    reminder.exec();
    return ok;
}

// The alert program's window as scadex's polls leave it: two reminders handed over.
bool DemoScreens::alertWindow(Startup& startup) {
    ProgrammaAvviso alert(sound_, kDurateRinvio);
    int waiting = 0;
    for (const int cliente : {kSecondoCliente, kClienteConDocumento}) {
        const std::optional<ChiavePromemoria> key = keyOf(startup, cliente);
        if (!key) return false;
        // The alert window shows only what has fallen due: the demo's alarms come in a minute.
        sessione_.work()->execute(
            QStringLiteral("UPDATE Promemoria SET PmAllarm = %1 WHERE PmCliente = %2")
                .arg(dateserial::fromDateTime(QDateTime::currentDateTime()), 0, 'f', 8)
                .arg(key->cliente));
        alert.accogli({sessione_.fileIni(), ++waiting, key->cliente, key->azione, key->data});
    }
    return saved(alert.finestra(), QStringLiteral("alert-window"));
}

std::optional<ChiavePromemoria> DemoScreens::keyOf(const Startup& startup, int cliente) const {
    for (const ChiavePromemoria& key : startup.chiavi()) {
        if (key.cliente == cliente) return key;
    }
    QTextStream(stderr) << "scadex-screenshots: no due appointment of client " << cliente << '\n';
    return std::nullopt;
}

bool DemoScreens::saved(QWidget& window, const QString& name) {
    if (shooter_.save(window, name)) return true;
    QTextStream(stderr) << "scadex-screenshots: cannot write " << name << ".png\n";
    return false;
}
