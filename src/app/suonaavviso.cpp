// Alert sound.
#include "app/suonaavviso.h"

#include "app/globali.h"
#include "platform/soundplayer.h"

void SuonaAvviso(const Globali& globali, SoundPlayer& suono) {
    if (!globali.SuonoAttivo) return;
    suono.play(globali.FileSuono);
}

void ProvaAvviso(Globali& globali, SoundPlayer& suono) {
    const bool attivo = globali.SuonoAttivo;
    globali.SuonoAttivo = true;
    SuonaAvviso(globali, suono);
    globali.SuonoAttivo = attivo;
}
