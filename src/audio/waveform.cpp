#include "waveform.h"

#include <algorithm>
#include <cmath>

namespace waveform {

double oscillate(shape form, double phase)
{
    switch (form) {
    case shape::triangle:
        return 2 / pi * std::asin(std::sin(phase));
    // A sine with a little of its octave and twelfth, like a soft bell.
    case shape::warm:
        return (std::sin(phase) + 0.3 * std::sin(2 * phase) + 0.12 * std::sin(3 * phase)) / 1.42;
    default:
        return std::sin(phase);
    }
}

double envelope(double t, double length, double decay, double sampleMs, double attack)
{
    const double rise = std::min(1.0, t / attack);
    const double release = std::min(1.0, (length - sampleMs - t) / releaseMs);
    return std::max(0.0, rise * release * std::exp(-t / decay));
}

double noise::next()
{
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / (1u << 23) - 1;
}

}  // namespace waveform
