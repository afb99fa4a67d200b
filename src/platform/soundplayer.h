// Plays a waveform file in the background, or the platform's default alert when it cannot.
#pragma once

#include <QString>
#include <functional>

// Why a sound file could not be played.
enum class SoundFailure {
    MissingFile,     // no regular file at the path
    NotASound,       // the file does not decode as a waveform
    NoOutputDevice,  // the system has no audio output to play it on
};

class SoundPlayer {
public:
    // Told why the sound could not be played.
    using FailureHandler = std::function<void(SoundFailure)>;

    virtual ~SoundPlayer() = default;
    // Returns at once; an earlier sound still playing is stopped. When the file cannot be
    // played the platform's default alert sounds instead and `onFailure`, when set, is told
    // why, possibly after play() has returned.
    virtual void play(const QString& path, FailureHandler onFailure) = 0;
};
