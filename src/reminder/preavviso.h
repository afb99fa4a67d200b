// An alarm lead as the operator reads and types it: an amount in minutes, hours or days.
#pragma once

// List positions of `cmbAllarm`.
enum class UnitaAllarme { Minuti = 0, Ore = 1, Giorni = 2 };

struct Preavviso {
    double quantita = 0;
    UnitaAllarme unita = UnitaAllarme::Minuti;

    // The lead in the largest unit in which it is at least 1 (minutes below one hour).
    static Preavviso daMinuti(double minuti);
    double minuti() const;

    // The moment the alarm falls due: the appointment moment less the lead (day serials).
    static double momentoAllarme(double dataAppuntamento, double minutiPreavviso);
};
