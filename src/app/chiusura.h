// The program's one way out.
#pragma once

struct Globali;

// Drops both database connections; a failure on one does not stop the other.
void RilasciaDatabase(Globali& globali) noexcept;

// Releases the databases and ends the process at once with status 0: no other window's
// close handling runs and nothing is written.
[[noreturn]] void ChiudiProgramma(Globali& globali);
