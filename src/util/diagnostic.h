// Diagnostics for whoever looks after the program: what failed and the engine's own details.
#pragma once

#include <QString>
#include <exception>

// Writes one line, "SCADEX: <what>: <details>", to the diagnostic output (Qt's message
// handler, standard error by default). The operator is told in a message of their own.
void logDiagnostic(const QString& what, const std::exception& error);
// "SCADEX: <what>", for what has no error of its own.
void logDiagnostic(const QString& what);
