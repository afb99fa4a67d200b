// The program's one way out.
#pragma once

#include <QString>

class Sessione;
class Notifier;

// Releases the databases and ends the process at once with status 0: no other window's
// close handling runs and nothing is written.
[[noreturn]] void ChiudiProgramma(Sessione& sessione);

// A start that failed: says why, `causa` in the operator's words, on standard error and in one
// desktop notification (what the operator sees at login), releases what was opened and ends
// with a failure status. `dettaglio`, the engine's own text, goes to standard error alone.
[[noreturn]] void TerminaAvvioFallito(Sessione& sessione, const QString& causa,
                                      const QString& dettaglio, Notifier& notifiche);

// A copy already runs for this set-up but does not answer (stopped, hung): this start never
// runs beside it. Says so on standard error and in one notification; returns the status the
// start ends with.
int CopiaNonRisponde(Notifier& notifiche);

// A copy holds the lock on this set-up but takes no message here: it runs on another
// workstation, or its socket has gone. Said and ended as CopiaNonRisponde.
int CopiaAltrove(Notifier& notifiche);
