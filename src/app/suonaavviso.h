// The alert sound and its test.
#pragma once

class QString;
class SoundPlayer;

// Plays `fileSuono` in the background when the sound is switched on.
void SuonaAvviso(bool suonoAttivo, const QString& fileSuono, SoundPlayer& suono);
// Plays `fileSuono` whatever the switch.
void ProvaAvviso(const QString& fileSuono, SoundPlayer& suono);
