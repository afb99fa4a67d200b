// The two ways the alert program runs; each returns the program's exit status.
#pragma once

#include <QString>

// Exit status of an argument that cannot be used.
inline constexpr int kEsitoArgomentoErrato = 2;

// Prints the reminder of `argomento` as one line on standard output.
int AvvisaSuTerminale(const QString& argomento);
// Hands the reminder to the alert window already open, before this start makes any window or
// display connection; or else opens the window and runs until it is closed; where that window
// cannot be reached safely, opens a window of its own. `eco`: the window also prints each
// reminder it takes in. `argc` and `argv` are the application's.
int AvvisaInFinestra(int& argc, char** argv, const QString& argomento, bool eco);
