// Asynchronous play of a waveform file.
#include "platform/gui/qtsoundplayer.h"

#include <QApplication>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString& path) {
    // A new sound replaces one still playing.
    effect_ = std::make_unique<QSoundEffect>();
    if (!QFileInfo(path).isFile()) {
        QApplication::beep();
        return;
    }
    connect(effect_.get(), &QSoundEffect::statusChanged, this, &QtSoundPlayer::playWhenReady);
    effect_->setSource(QUrl::fromLocalFile(path));
}

void QtSoundPlayer::playWhenReady() {
    switch (effect_->status()) {
        case QSoundEffect::Ready:
            effect_->play();
            break;
        case QSoundEffect::Error:
            QApplication::beep();
            break;
        default:
            break;
    }
}
