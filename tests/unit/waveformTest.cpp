#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "audio/waveform.h"

namespace {

using waveform::pi;
// A decay so long that nothing fades.
constexpr double endless = 1e12;

// The strength of one harmonic over a single cycle of a shape, as a share of
// full scale.
double harmonicOf(waveform::shape form, int harmonic)
{
    constexpr int points = 4096;
    double real = 0;
    double imaginary = 0;
    for (int i = 0; i < points; ++i) {
        const double phase = 2 * pi * i / points;
        const double value = waveform::oscillate(form, phase);
        real += value * std::cos(harmonic * phase);
        imaginary += value * std::sin(harmonic * phase);
    }
    return 2 * std::hypot(real, imaginary) / points;
}

}  // namespace

TEST(WaveformTest, EachShapeRepeatsEveryCycleWithinFullScaleAndHasItsOwnOvertones)
{
    for (const waveform::shape form :
         {waveform::shape::sine, waveform::shape::triangle, waveform::shape::warm}) {
        SCOPED_TRACE(static_cast<int>(form));
        double lowest = 0;
        double highest = 0;
        for (int i = 0; i < 1000; ++i) {
            const double phase = 2 * pi * i / 1000;
            const double value = waveform::oscillate(form, phase);
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
            // The sequencer's phase only grows: the tenth cycle is the first.
            EXPECT_NEAR(waveform::oscillate(form, phase + 20 * pi), value, 1e-9);
        }
        EXPECT_GE(lowest, -1);
        EXPECT_LE(highest, 1);
        EXPECT_GT(highest, 0.75) << "too quiet";
        EXPECT_NEAR(lowest, -highest, 1e-3) << "lopsided";
    }
    const auto strengths = [](waveform::shape form) {
        return std::vector<double>{harmonicOf(form, 1), harmonicOf(form, 2), harmonicOf(form, 3)};
    };
    const auto near = [](const std::vector<double>& measured, const std::vector<double>& wanted) {
        for (std::size_t i = 0; i < wanted.size(); ++i)
            EXPECT_NEAR(measured[i], wanted[i], 2e-3) << "harmonic " << i + 1;
    };
    near(strengths(waveform::shape::sine), {1, 0, 0});
    // A triangle reaches full scale; its third harmonic is a ninth of its first.
    const double triangleFirst = 8 / (pi * pi);
    near(strengths(waveform::shape::triangle), {triangleFirst, 0, triangleFirst / 9});
    EXPECT_NEAR(waveform::oscillate(waveform::shape::triangle, pi / 4), 0.5, 1e-9);
    // The soft bell: its octave at 0.3 and its twelfth at 0.12 of the tone.
    near(strengths(waveform::shape::warm), {1 / 1.42, 0.3 / 1.42, 0.12 / 1.42});
}

TEST(WaveformTest, TheEnvelopeRisesOverItsAttackDecaysAndEndsAtZeroOnThePartsLastSample)
{
    constexpr double sampleMs = 1000.0 / 22050;
    constexpr double length = 500;
    const double lastSample = length - sampleMs;
    const auto level = [&](double t, double decay = endless) {
        return waveform::envelope(t, length, decay, sampleMs);
    };
    EXPECT_EQ(level(0), 0);
    EXPECT_NEAR(level(waveform::attackMs / 2), 0.5, 1e-9);
    EXPECT_NEAR(level(waveform::attackMs), 1, 1e-9);
    EXPECT_NEAR(level(250), 1, 1e-9);
    EXPECT_NEAR(waveform::envelope(60, length, endless, sampleMs, 120), 0.5, 1e-9);
    EXPECT_NEAR(waveform::envelope(120, length, endless, sampleMs, 120), 1, 1e-9);
    // The decay is the time to fall to 1/e.
    EXPECT_NEAR(level(100, 100), std::exp(-1.0), 1e-9);
    EXPECT_NEAR(level(300, 100), std::exp(-3.0), 1e-9);
    // The release: a straight fall to nothing on the last sample, never below.
    EXPECT_NEAR(level(lastSample - waveform::releaseMs), 1, 1e-9);
    EXPECT_NEAR(level(lastSample - waveform::releaseMs / 2), 0.5, 1e-9);
    EXPECT_EQ(level(lastSample), 0);
    EXPECT_EQ(level(length + 5), 0);
}

TEST(WaveformTest, NoiseSwingsOverFullScaleAroundZeroAndIsTheSameFromEveryStart)
{
    waveform::noise first;
    waveform::noise second;
    constexpr int count = 1 << 16;
    std::vector<double> values;
    std::set<double> distinct;
    double sum = 0;
    double squares = 0;
    for (int i = 0; i < count; ++i) {
        values.push_back(first.next());
        ASSERT_EQ(second.next(), values.back()) << "sample " << i;
        sum += values.back();
        squares += values.back() * values.back();
        distinct.insert(values.back());
    }
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    EXPECT_GE(*lowest, -1);
    EXPECT_LT(*lowest, -0.999);
    EXPECT_LE(*highest, 1);
    EXPECT_GT(*highest, 0.999);
    // White noise spread evenly: mean 0, mean square 1/3.
    EXPECT_NEAR(sum / count, 0, 0.01);
    EXPECT_NEAR(squares / count, 1.0 / 3, 0.01);
    EXPECT_GT(distinct.size(), count * 99 / 100u) << "it repeats itself";
}
