// A short alert chime as a waveform (WAV) file.
#include "wavtone.h"

#include <QDataStream>
#include <QIODevice>
#include <cmath>
#include <numbers>

namespace wavtone {

namespace {

constexpr qint32 kSampleRate = 22050;
constexpr qint16 kBitsPerSample = 16;
constexpr double kNoteSeconds = 0.16;
constexpr double kPeak = 0.4 * 32767;

// One note, faded in and out so that it does not click.
void appendNote(QDataStream& out, double frequency) {
    const int samples = static_cast<int>(kNoteSeconds * kSampleRate);
    for (int i = 0; i < samples; ++i) {
        const double envelope = std::sin(std::numbers::pi * i / samples);
        const double wave = std::sin(2 * std::numbers::pi * frequency * i / kSampleRate);
        out << static_cast<qint16>(std::lround(kPeak * envelope * wave));
    }
}

QByteArray samples() {
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    appendNote(out, 880.0);
    appendNote(out, 1318.5);
    return data;
}

}  // namespace

QByteArray chime() {
    const QByteArray data = samples();
    const qint16 blockAlign = kBitsPerSample / 8;
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << static_cast<quint32>(36 + data.size());
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(kSampleRate)
        << quint32(kSampleRate * blockAlign) << quint16(blockAlign) << quint16(kBitsPerSample);
    out.writeRawData("data", 4);
    out << static_cast<quint32>(data.size());
    out.writeRawData(data.constData(), static_cast<int>(data.size()));
    return file;
}

}  // namespace wavtone
