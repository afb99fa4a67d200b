// The alert sound and its test.
#pragma once

class QString;
class MessageBox;
class SoundPlayer;

// Plays `fileSuono` in the background when the sound is switched on. A file that cannot be
// played gives the platform's default alert instead; no box covers the reminder.
void SuonaAvviso(bool suonoAttivo, const QString& fileSuono, SoundPlayer& suono);
// Plays `fileSuono` whatever the switch; when it cannot be played, says why in a box of
// `messaggi`, which must outlive the sound.
void ProvaAvviso(const QString& fileSuono, SoundPlayer& suono, MessageBox& messaggi);
