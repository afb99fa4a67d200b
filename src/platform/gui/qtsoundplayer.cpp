// Asynchronous play of a waveform file.
#include "platform/gui/qtsoundplayer.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QScopeGuard>
#include <QSoundEffect>
#include <QUrl>
#include <QWaveDecoder>
#include <cstdlib>

namespace {

// Whether `path` holds a whole waveform: QWaveDecoder, given the file, knows its format at once
// only when all the data its header announces is there. Qt's sound loader waits for ever for the
// rest of a file cut short, and every later sound waits behind it; destroying such an effect
// then freezes the program. A file cut short must never reach it.
bool isWholeWave(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    QWaveDecoder decoder(&file);
    return decoder.open(QIODevice::ReadOnly) && decoder.audioFormat().isValid();
}

void dropMessage(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type == QtFatalMsg) std::abort();
}

// Whether the system has an audio output. Asked before any effect is made: an effect without
// one says so in English on standard error from the event loop, and Qt's audio service says
// in English when it finds no sound server. The player tells its caller instead, who says it
// in the operator's words.
bool hasAudioOutput() {
    const QtMessageHandler previous = qInstallMessageHandler(dropMessage);
    const auto restore = qScopeGuard([previous] { qInstallMessageHandler(previous); });
    return !QMediaDevices::defaultAudioOutput().isNull();
}

}  // namespace

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString& path, FailureHandler onFailure) {
    // A new sound replaces one still playing.
    effect_ = std::make_unique<QSoundEffect>();
    onFailure_ = std::move(onFailure);
    if (!QFileInfo(path).isFile()) {
        fail(SoundFailure::MissingFile);
    } else if (!isWholeWave(path)) {
        fail(SoundFailure::NotASound);
    } else if (!hasAudioOutput()) {
        fail(SoundFailure::NoOutputDevice);
    } else {
        connect(effect_.get(), &QSoundEffect::statusChanged, this, &QtSoundPlayer::playWhenReady);
        effect_->setSource(QUrl::fromLocalFile(path));
    }
}

void QtSoundPlayer::playWhenReady() {
    switch (effect_->status()) {
        case QSoundEffect::Ready:
            // Without an output device the effect would play in silence, saying so only on
            // standard error.
            if (effect_->audioDevice().isNull()) {
                fail(SoundFailure::NoOutputDevice);
            } else {
                effect_->play();
            }
            break;
        case QSoundEffect::Error:
            fail(SoundFailure::NotASound);
            break;
        default:
            break;
    }
}

// The handler is told from the event loop: it may show a modal box, and must not run inside
// play() or inside the effect's own signal, which a later play() would destroy.
void QtSoundPlayer::fail(SoundFailure reason) {
    QApplication::beep();
    if (!onFailure_) return;
    QMetaObject::invokeMethod(
        this, [handler = onFailure_, reason] { handler(reason); }, Qt::QueuedConnection);
}
