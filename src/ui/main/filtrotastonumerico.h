// The main window's filter of typed characters: digits, sign, decimal separator, editing keys.
#pragma once

// The character to let through in place of `carattere`, or 0 to drop it. A comma or a full
// stop becomes the decimal separator in force.
int FiltraTastoNumerico(int carattere);
