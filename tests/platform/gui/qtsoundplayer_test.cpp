// The platform's sound: what it tells when a file cannot be played.
#include "platform/gui/qtsoundplayer.h"

#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QDataStream>
#include <QMediaDevices>
#include <QtTest/QTest>
#include <optional>

#include "support/tempdir.h"

namespace {

// A tenth of a second of 16-bit mono silence at 8 kHz, as a WAV file.
QByteArray silenzioWav() {
    constexpr quint32 kByte = 1600;
    QByteArray wav;
    QDataStream dati(&wav, QIODevice::WriteOnly);
    dati.setByteOrder(QDataStream::LittleEndian);
    dati.writeRawData("RIFF", 4);
    dati << quint32(36 + kByte);
    dati.writeRawData("WAVEfmt ", 8);
    dati << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(16000) << quint16(2)
         << quint16(16);
    dati.writeRawData("data", 4);
    dati << kByte;
    dati.writeRawData(QByteArray(kByte, '\0').constData(), kByte);
    return wav;
}

struct CasoSuono {
    const char* nome;
    std::optional<QByteArray> contenuto;  // nothing: no file
    // NoOutputDevice: only where the machine has no audio output; elsewhere the file plays.
    SoundFailure guasto;
};

class QtSoundPlayerTest : public ::testing::TestWithParam<CasoSuono> {};

TEST_P(QtSoundPlayerTest, TellsWhyAFileCannotPlay) {
    TestFolder cartella;
    const QString file = cartella.path(QStringLiteral("avviso.wav"));
    if (GetParam().contenuto) cartella.write(QStringLiteral("avviso.wav"), *GetParam().contenuto);
    std::optional<SoundFailure> atteso = GetParam().guasto;
    if (atteso == SoundFailure::NoOutputDevice && !QMediaDevices::defaultAudioOutput().isNull())
        atteso.reset();

    std::optional<SoundFailure> detto;
    QtSoundPlayer suono;
    suono.play(file, [&detto](SoundFailure perche) { detto = perche; });
    EXPECT_FALSE(detto) << "told inside play()";
    if (atteso) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return detto.has_value(); }, 5000));
        EXPECT_EQ(detto, atteso);
    } else {
        QTest::qWait(1000);
        EXPECT_FALSE(detto);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, QtSoundPlayerTest,
    ::testing::Values(CasoSuono{"MissingFile", std::nullopt, SoundFailure::MissingFile},
                      CasoSuono{"NotASound", QByteArray("not a sound"), SoundFailure::NotASound},
                      CasoSuono{"AWaveFileCutShort", silenzioWav().left(50),
                                SoundFailure::NotASound},
                      CasoSuono{"AWaveFile", silenzioWav(), SoundFailure::NoOutputDevice}),
    [](const auto& info) { return std::string(info.param.nome); });

}  // namespace
