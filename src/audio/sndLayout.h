#ifndef BROX_SNDLAYOUT_H
#define BROX_SNDLAYOUT_H

// The samples of sndData.dat: their rate and, per effect in file order, their
// length. sndbuilder makes every effect exactly this long and the tests read
// the lengths back.
#include "soundEffects.h"

namespace sndLayout {

constexpr int sampleRate = 22050;

// Milliseconds. Bolts fire six times a second, so theirs ends well before
// the next one; the round's banners take their time.
constexpr int lengthMs[soundEffectCount] = {
    70,    // bolt
    320,   // orbiters called
    650,   // blast
    110,   // enemy hurt
    420,   // enemy destroyed
    280,   // fighter hurt
    380,   // heal orb taken
    340,   // ailment received
    760,   // round title
    1100,  // round won
    1100,  // round lost
    160,   // pause
    160,   // resume
};

constexpr int sampleCount(int effect) { return lengthMs[effect] * sampleRate / 1000; }

}  // namespace sndLayout

#endif
