// Whether the reminders are running: the ticks that failed in a row, and when to say so.
#pragma once

#include <QString>
#include <optional>

class StatoScansione {
public:
    // Failed ticks in a row before the operator is told: one failure is often a lock the
    // host product holds for a moment.
    static constexpr int kTickFalliti = 3;

    enum class Cambio {
        Nessuno,
        Guasto,   // the reminders stopped: tell the operator the cause
        Ripresa,  // they run again after a failure the operator was told of
    };

    // The outcome of one tick: its failure's cause, or none when it went through.
    Cambio registra(const std::optional<QString>& guasto);

    bool inGuasto() const { return segnalato_; }
    // The cause of the last failure told.
    const QString& causa() const { return causa_; }

private:
    int falliti_ = 0;
    bool segnalato_ = false;
    QString causa_;
};
