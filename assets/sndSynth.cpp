#include "sndSynth.h"

#include <algorithm>
#include <cmath>

#include "audio/sndLayout.h"
#include "audio/waveform.h"

namespace {

constexpr double rate = sndLayout::sampleRate;
constexpr double sampleMs = 1000 / rate;

// Notes of A major (and the C of A minor for the lost round), in hertz.
constexpr double noteA3 = 220.00;
constexpr double noteC4 = 261.63;
constexpr double noteE4 = 329.63;
constexpr double noteA4 = 440.00;
constexpr double noteCs5 = 554.37;
constexpr double noteE5 = 659.26;
constexpr double noteA5 = 880.00;
constexpr double noteCs6 = 1108.73;
constexpr double noteE6 = 1318.51;

using waveform::shape;

// One oscillator: gliding from one pitch to another, falling away
// exponentially after its attack, with an optional vibrato.
struct tone {
    double startMs;
    double lengthMs;
    double fromHz;
    double toHz;
    double level;
    double decayMs;
    shape form;
    double vibratoHz = 0;
    double vibratoDepth = 0;  // share of the pitch
};

// Low-passed white noise; brightness 0 to 1 sets the filter's cut-off.
struct hiss {
    double startMs;
    double lengthMs;
    double level;
    double decayMs;
    double brightness;
};

class mixdown {
public:
    explicit mixdown(int effect) : samples(sndLayout::sampleCount(effect), 0.0) {}

    mixdown& add(const tone& part)
    {
        double phase = 0;
        forEachSample(part.startMs, part.lengthMs, [&](double t, double length) {
            const double glide = part.fromHz * std::pow(part.toHz / part.fromHz, t / length);
            const double wobble =
                1 + part.vibratoDepth * std::sin(2 * waveform::pi * part.vibratoHz * t / 1000);
            phase += 2 * waveform::pi * glide * wobble / rate;
            return part.level * waveform::envelope(t, length, part.decayMs, sampleMs)
                   * waveform::oscillate(part.form, phase);
        });
        return *this;
    }

    mixdown& add(const hiss& part)
    {
        double filtered = 0;
        forEachSample(part.startMs, part.lengthMs, [&](double t, double length) {
            filtered += part.brightness * (noise.next() - filtered);
            return part.level * waveform::envelope(t, length, part.decayMs, sampleMs) * filtered;
        });
        return *this;
    }

    // Scales the mix to the peak level, in decibels below full scale.
    std::vector<std::int16_t> finish(double peakDb) const
    {
        double loudest = 0;
        for (double value : samples)
            loudest = std::max(loudest, std::fabs(value));
        const double gain = loudest > 0 ? 32767 * std::pow(10, peakDb / 20) / loudest : 0;
        std::vector<std::int16_t> wave;
        wave.reserve(samples.size());
        for (double value : samples)
            wave.push_back(static_cast<std::int16_t>(std::lround(value * gain)));
        return wave;
    }

private:
    // Calls part(t, length) for every sample of a part that falls inside the
    // effect, t and length in milliseconds, and adds what it returns.
    template <typename Part> void forEachSample(double startMs, double lengthMs, Part part)
    {
        const std::size_t first = static_cast<std::size_t>(startMs * rate / 1000);
        const double length = std::min(lengthMs, samples.size() * 1000 / rate - startMs);
        const std::size_t count = static_cast<std::size_t>(length * rate / 1000);
        for (std::size_t i = 0; i < count && first + i < samples.size(); ++i)
            samples[first + i] += part(i * 1000 / rate, length);
    }

    std::vector<double> samples;
    waveform::noise noise;
};

std::vector<std::int16_t> arpeggio(int effect, const double* notes, int count, double stepMs,
                                   double noteMs, double peakDb)
{
    mixdown mix(effect);
    for (int i = 0; i < count; ++i)
        mix.add(tone{i * stepMs, noteMs, notes[i], notes[i], 1, noteMs / 2, shape::warm});
    return mix.finish(peakDb);
}

}  // namespace

std::vector<std::int16_t> synthesiseEffect(int effect)
{
    mixdown mix(effect);
    switch (effect) {
    case soundBolt:
        // Short and soft: it comes six times a second.
        return mix.add(tone{0, 70, 1500, 650, 1, 25, shape::warm})
            .add(hiss{0, 25, 0.25, 8, 0.5})
            .finish(-15);
    case soundOrbiters: {
        const double notes[] = {noteE5, noteA5, noteCs6};
        return arpeggio(effect, notes, 3, 90, 150, -9);
    }
    case soundBlast:
        return mix.add(tone{0, 650, 140, 38, 1, 220, shape::sine})
            .add(hiss{0, 650, 0.9, 160, 0.06})
            .add(hiss{0, 80, 0.4, 20, 0.5})
            .finish(-4);
    case soundEnemyHurt:
        return mix.add(tone{0, 110, 420, 260, 0.8, 35, shape::triangle})
            .add(hiss{0, 40, 0.6, 12, 0.35})
            .finish(-11);
    case soundEnemyDestroyed:
        return mix.add(tone{0, 420, 620, 110, 0.7, 130, shape::triangle})
            .add(hiss{0, 420, 1, 110, 0.15})
            .finish(-6);
    case soundFighterHurt:
        // Two voices a semitone apart beat against each other: a harsh buzz.
        return mix.add(tone{0, 280, 233, 180, 0.8, 110, shape::triangle})
            .add(tone{0, 280, 220, 170, 0.8, 110, shape::triangle})
            .add(hiss{0, 60, 0.5, 20, 0.3})
            .finish(-6);
    case soundHealTaken:
        return mix.add(tone{0, 160, noteA5, noteA5, 1, 90, shape::warm, 6, 0.01})
            .add(tone{80, 160, noteCs6, noteCs6, 1, 90, shape::warm, 6, 0.01})
            .add(tone{160, 220, noteE6, noteE6, 1, 90, shape::warm, 6, 0.01})
            .finish(-8);
    case soundAilment:
        return mix.add(tone{0, 340, 520, 300, 1, 160, shape::warm, 11, 0.04})
            .add(tone{0, 340, 527, 304, 1, 160, shape::warm, 11, 0.04})
            .finish(-9);
    case soundRoundTitle:
        return mix.add(tone{0, 220, noteA4, noteA4, 1, 180, shape::warm})
            .add(tone{160, 220, noteCs5, noteCs5, 1, 180, shape::warm})
            .add(tone{320, 440, noteE5, noteE5, 1, 300, shape::warm})
            .add(tone{320, 440, noteA4, noteA4, 0.7, 300, shape::warm})
            .finish(-5);
    case soundRoundWon: {
        const double notes[] = {noteA4, noteCs5, noteE5, noteA5};
        for (int i = 0; i < 4; ++i)
            mix.add(tone{i * 130.0, 250, notes[i], notes[i], 1, 120, shape::warm});
        for (double note : {noteA5, noteCs6, noteE6})
            mix.add(tone{520, 580, note, note, 0.8, 260, shape::warm});
        return mix.finish(-4);
    }
    case soundRoundLost:
        return mix.add(tone{0, 300, noteE4, noteE4 * 0.98, 1, 200, shape::triangle})
            .add(tone{260, 300, noteC4, noteC4 * 0.98, 1, 200, shape::triangle})
            .add(tone{520, 580, noteA3, noteA3 * 0.96, 1, 300, shape::triangle})
            .finish(-5);
    case soundPause: {
        const double notes[] = {noteE5, noteA4};
        return arpeggio(effect, notes, 2, 70, 90, -11);
    }
    case soundResume: {
        const double notes[] = {noteA4, noteE5};
        return arpeggio(effect, notes, 2, 70, 90, -11);
    }
    default:
        return {};
    }
}
