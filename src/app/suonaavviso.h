// The alert sound and its test.
#pragma once

#include "platform/soundplayer.h"

class QString;
class MessageBox;

// Plays `fileSuono` in the background when the sound is switched on. A file that cannot be
// played gives the platform's default alert instead, and `alFallire`, when set, is told why;
// no box covers the reminder.
void SuonaAvviso(bool suonoAttivo, const QString& fileSuono, SoundPlayer& suono,
                 SoundPlayer::FailureHandler alFallire = {});
// The operator's words for why `fileSuono` did not play: "IL FILE /x/ding.wav NON ESISTE".
QString CausaSuono(SoundFailure perche, const QString& fileSuono);
// Plays `fileSuono` whatever the switch; when it cannot be played, says why in a box of
// `messaggi`, which must outlive the sound.
void ProvaAvviso(const QString& fileSuono, SoundPlayer& suono, MessageBox& messaggi);
