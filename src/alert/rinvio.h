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

// The button's and the notification action's text.
inline QString TestoRinvio(Rinvio rinvio) {
    return rinvio == Rinvio::Breve ? QStringLiteral("RIMANDA 5 MINUTI")
                                   : QStringLiteral("RIMANDA 15 MINUTI");
}
