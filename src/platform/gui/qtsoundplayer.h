// Sound through QSoundEffect, with the platform's beep when the file cannot be played.
#pragma once

#include <QObject>
#include <memory>

#include "platform/soundplayer.h"

class QSoundEffect;

class QtSoundPlayer : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    void play(const QString& path, FailureHandler onFailure) override;

private:
    void playWhenReady();
    void fail(SoundFailure reason);

    std::unique_ptr<QSoundEffect> effect_;
    FailureHandler onFailure_;
};
