// Restoring and saving any window's state, size and place in the configuration file, in the
// section named after the window's object name.
#pragma once

#include <QString>
#include <optional>

class QWidget;
class Screen;

// Called before the window is first shown: reopens it maximised, or at its saved outer size
// and place (or its default size), limited to the screen.
void RipristinaFinestra(QWidget& finestra, const QString& fileIni, const Screen& schermo);
// Called as the window closes: records its state and, in the normal state, its outer size
// (sizable windows only) and place, in one write; why nothing was stored, if nothing was.
std::optional<QString> SalvaFinestra(const QWidget& finestra, const QString& fileIni,
                                     const Screen& schermo);
