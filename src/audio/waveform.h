#ifndef BROX_WAVEFORM_H
#define BROX_WAVEFORM_H

#include <cstdint>

// What the sound effects and the music are made of: a few oscillator shapes,
// a fixed noise generator and the envelope that keeps every part from
// clicking. Times are in milliseconds.
namespace waveform {

constexpr double pi = 3.14159265358979323846;
constexpr double attackMs = 6;
constexpr double releaseMs = 10;

enum class shape {
    sine,
    triangle,
    warm
};

// One cycle runs over a phase of 2 pi; the values stay within -1 to 1.
double oscillate(shape form, double phase);

// Rises over the attack, falls exponentially with the decay, and is zero at
// a part's first and last sample (sampleMs is one sample's length).
double envelope(double t, double length, double decay, double sampleMs, double attack = attackMs);

// White noise from -1 to 1, the same sequence from every start, so that
// every build and every loop of a piece sounds the same.
class noise {
public:
    double next();

private:
    std::uint32_t state = 12345;
};

}  // namespace waveform

#endif
