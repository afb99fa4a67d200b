// The commands a reminder window is answered with.
#pragma once

// The buttons cmdCli of the reminder window, in their order.
enum class Comando {
    ImpostaAvviso,   // a new alarm lead saved
    NonAvvisarePiu,  // the reminder stopped
    Uscita,          // left as it was
};
