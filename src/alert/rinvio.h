// The alert window's two snoozes: which one, how long each lasts, what the operator reads.
#pragma once

#include <QString>
#include <chrono>

enum class Rinvio { Breve, Lungo };

// How long each snooze puts its reminders off: 5 and 15 minutes for the operator (avvio.h),
// far shorter in tests.
struct DurateRinvio {
    std::chrono::milliseconds breve;
    std::chrono::milliseconds lungo;

    std::chrono::milliseconds di(Rinvio rinvio) const {
        return rinvio == Rinvio::Breve ? breve : lungo;
    }
};

// The button's text, its access key marked by "&": Alt+5 and Alt+1, clear of each other and of
// the window's "&CHIUDI".
inline QString PulsanteRinvio(Rinvio rinvio) {
    return rinvio == Rinvio::Breve ? QStringLiteral("RIMANDA &5 MINUTI")
                                   : QStringLiteral("RIMANDA &15 MINUTI");
}

// The notification action's text: the button's, without the access key's mark.
inline QString TestoRinvio(Rinvio rinvio) {
    return PulsanteRinvio(rinvio).remove(QLatin1Char('&'));
}
