// One reminder as the main program hands it over on the alert program's command line.
#pragma once

#include <QString>

#include "reminder/argomentoavviso.h"
#include "reminder/chiavepromemoria.h"

// The alert program shows exactly what its argument carries.
using Avviso = ArgomentoAvviso;

// Reads the argument (ArgomentoAvviso::leggi) and checks that its configuration file is
// there. Throws ArgomentoErrato, with a message for the operator, on a malformed argument or
// a configuration file that is not there.
Avviso LeggiAvviso(const QString& argomento);

// The key of the reminder row the argument was made from.
ChiavePromemoria ChiaveDi(const Avviso& avviso);
