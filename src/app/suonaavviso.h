// The alert sound and its test.
#pragma once

struct Globali;
class SoundPlayer;

// Plays FileSuono in the background when the sound is switched on.
void SuonaAvviso(const Globali& globali, SoundPlayer& suono);
// Plays FileSuono whatever the switch, and leaves the switch as it was.
void ProvaAvviso(Globali& globali, SoundPlayer& suono);
