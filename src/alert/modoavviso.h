// Whether the alert program shows a window or prints a line, from its environment.
#pragma once

class QProcessEnvironment;

struct ModoAvviso {
    bool finestra = false;  // a window; otherwise one line per reminder on standard output
    bool eco = false;       // the window also prints the line of each reminder it takes in

    // Without a display (no DISPLAY nor WAYLAND_DISPLAY, or the offscreen or minimal
    // platform) nobody would see a window, and it would never be closed: a line is printed
    // instead. SCADEX_ALERT_ECHO asks for the window, even offscreen, and for the lines, so
    // that scripts and tests can follow what it takes in.
    static ModoAvviso daAmbiente(const QProcessEnvironment& ambiente);
};
