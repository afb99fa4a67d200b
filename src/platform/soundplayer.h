// Plays a waveform file in the background, or the platform's default alert when it cannot.
#pragma once

#include <QString>

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Returns at once; an earlier sound still playing is stopped.
    virtual void play(const QString& path) = 0;
};
