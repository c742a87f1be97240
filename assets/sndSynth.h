#ifndef BROX_SNDSYNTH_H
#define BROX_SNDSYNTH_H

#include <cstdint>
#include <vector>

// Makes every sound effect of the game in code: oscillators, noise and
// envelopes on one scale (A major), so that the effects sound like a family.
// Each wave is sndLayout's length for its effect, 16-bit mono, and starts
// and ends at silence.
std::vector<std::int16_t> synthesiseEffect(int effect);

#endif
