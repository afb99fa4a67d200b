// Diagnostics for whoever looks after the program: what failed and the engine's own details.
#pragma once

#include <QString>
#include <exception>

// Writes one line, "SCADEX: <fatto>: <details>", to the diagnostic output (Qt's message
// handler, standard error by default). The operator is told in a message of their own.
void Diagnostica(const QString& fatto, const std::exception& errore);
// "SCADEX: <fatto>", for what has no error of its own.
void Diagnostica(const QString& fatto);
