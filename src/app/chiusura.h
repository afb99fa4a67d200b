// The program's one way out.
#pragma once

#include <QString>

struct Globali;
class Notifier;

// Drops both database connections; a failure on one does not stop the other.
void RilasciaDatabase(Globali& globali) noexcept;

// Releases the databases and ends the process at once with status 0: no other window's
// close handling runs and nothing is written.
[[noreturn]] void ChiudiProgramma(Globali& globali);

// A start that failed: says why on standard error and in one desktop notification (what the
// operator sees at login), releases what was opened and ends with a failure status.
[[noreturn]] void TerminaAvvioFallito(Globali& globali, const QString& causa, Notifier& notifiche);
