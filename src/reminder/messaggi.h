// What SCADEX and its alert program tell each other through their running copies' sockets.
#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <optional>
#include <variant>

#include "reminder/chiavepromemoria.h"

// The running copies' names (SingleInstance): one of each per user and Gestar.ini.
inline const QString kIstanzaScadex = QStringLiteral("scadex");
inline const QString kIstanzaAvviso = QStringLiteral("scadex-avviso");

namespace messaggi {

// To the alert program.
struct Promemoria {  // a reminder handed over: the argument of its command line
    QString argomento;
};
struct Rileggi {};  // the reminder table has changed: its cards and snoozes follow it now
struct Fine {};     // SCADEX ends: so do the snoozes and the window
struct Aree {       // where SCADEX's open windows are on the screen, none when empty
    QList<QRect> finestre;
};
using PerAvviso = std::variant<Promemoria, Rileggi, Fine, Aree>;

// To SCADEX.
struct Richiama {};  // bring the main window up: a second start asks for it
struct Apri {        // the operator wants to answer this reminder in its reminder window
    ChiavePromemoria chiave;
};
struct SuonoFallito {  // the alert sound of a hand-over could not be played
    QString motivo;
};
struct ChiediAree {};  // the alert program wants to be told Aree now
using PerScadex = std::variant<Richiama, Apri, SuonoFallito, ChiediAree>;

QByteArray componi(const PerAvviso& messaggio);
QByteArray componi(const PerScadex& messaggio);
// The message sent; nothing for one this copy does not know (a newer copy's), which is ignored.
std::optional<PerAvviso> leggiPerAvviso(const QByteArray& messaggio);
std::optional<PerScadex> leggiPerScadex(const QByteArray& messaggio);

}  // namespace messaggi
