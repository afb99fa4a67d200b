// A short alert chime as a waveform (WAV) file.
#pragma once

#include <QByteArray>

namespace wavtone {

// Two rising notes, about a third of a second, 16-bit mono PCM.
QByteArray chime();

}  // namespace wavtone
