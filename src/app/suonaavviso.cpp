// Alert sound.
#include "app/suonaavviso.h"

#include <QString>

#include "platform/soundplayer.h"

void SuonaAvviso(bool suonoAttivo, const QString& fileSuono, SoundPlayer& suono) {
    if (suonoAttivo) suono.play(fileSuono);
}

void ProvaAvviso(const QString& fileSuono, SoundPlayer& suono) {
    SuonaAvviso(true, fileSuono, suono);
}
