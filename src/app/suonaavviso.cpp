// Alert sound.
#include "app/suonaavviso.h"

#include <QString>
#include <utility>

#include "platform/messagebox.h"
#include "platform/soundplayer.h"

QString CausaSuono(SoundFailure perche, const QString& fileSuono) {
    switch (perche) {
        case SoundFailure::MissingFile:
            return QStringLiteral("IL FILE %1 NON ESISTE").arg(fileSuono);
        case SoundFailure::NotASound:
            return QStringLiteral("IL FILE %1 NON È UN SUONO LEGGIBILE").arg(fileSuono);
        case SoundFailure::NoOutputDevice:
            break;
    }
    return QStringLiteral("NESSUN DISPOSITIVO AUDIO DISPONIBILE");
}

void SuonaAvviso(bool suonoAttivo, const QString& fileSuono, SoundPlayer& suono,
                 SoundPlayer::FailureHandler alFallire) {
    if (suonoAttivo) suono.play(fileSuono, std::move(alFallire));
}

void ProvaAvviso(const QString& fileSuono, SoundPlayer& suono, MessageBox& messaggi) {
    suono.play(fileSuono, [fileSuono, &messaggi](SoundFailure perche) {
        messaggi.show({.text = QStringLiteral("IMPOSSIBILE SUONARE L'AVVISO: ") +
                               CausaSuono(perche, fileSuono),
                       .title = QString(),
                       .icon = MessageIcon::Stop,
                       .buttons = MessageButtons::Ok});
    });
}
