// The two ways the alert program runs; each returns the program's exit status.
#pragma once

#include <QString>

// Exit status of an argument that cannot be used.
inline constexpr int kEsitoArgomentoErrato = 2;

// Prints the reminder of `argomento` as one line on standard output.
int AvvisaSuTerminale(const QString& argomento);
// Hands the reminder to the alert window already open, or opens it and runs until it is
// closed. `eco`: the window also prints each reminder it takes in.
int AvvisaInFinestra(const QString& argomento, bool eco);
