// A sound player that plays nothing: taking pictures makes no noise.
#pragma once

#include "platform/soundplayer.h"

class SilentSound : public SoundPlayer {
public:
    void play(const QString&, FailureHandler) override {}
};
