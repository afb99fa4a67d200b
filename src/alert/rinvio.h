// The snoozes of the alert window: one table, which the window and its notification both read.
#pragma once

#include <QString>
#include <array>
#include <chrono>
#include <cstddef>

// One snooze: how long it puts reminders off, and how it is offered for all of the window's
// reminders and for one card.
struct Rinvio {
    std::chrono::minutes durata;
    const char16_t* pulsante;  // the button's text, its access key marked by "&"
    const char* azione;        // the key of the notification's action
    const char* nome;          // the button's object name

    QString testoPulsante() const { return QString::fromUtf16(pulsante); }
    // The notification action's text: the button's, without the access key's mark.
    QString testo() const { return testoPulsante().remove(QLatin1Char('&')); }
    // The text of the button that puts one card off: "RIMANDA 5".
    QString testoScheda() const { return QStringLiteral("RIMANDA %1").arg(durata.count()); }
    // That button's object name: "cmdRimandaScheda5".
    QString nomeScheda() const { return QStringLiteral("cmdRimandaScheda%1").arg(durata.count()); }
};

// In the order the window shows them. Access keys Alt+5 and Alt+1, clear of each other and of
// the window's "&CHIUDI TUTTI".
inline constexpr std::array kRinvii{
    Rinvio{std::chrono::minutes(5), u"RIMANDA TUTTI &5 MINUTI", "rimanda-5", "cmdRimanda5"},
    Rinvio{std::chrono::minutes(15), u"RIMANDA TUTTI &15 MINUTI", "rimanda-15", "cmdRimanda15"},
};

// How long each snooze of kRinvii lasts, in the table's order: its minutes for the operator,
// far shorter in tests.
using DurateRinvio = std::array<std::chrono::milliseconds, kRinvii.size()>;

inline constexpr DurateRinvio kDurateRinvio = [] {
    DurateRinvio durate{};
    for (std::size_t i = 0; i < kRinvii.size(); ++i) durate[i] = kRinvii[i].durata;
    return durate;
}();
