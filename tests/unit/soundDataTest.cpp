#include <gtest/gtest.h>

#include <allegro.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "allegroTestEnv.h"
#include "audio/sndLayout.h"
#include "sampleFile.h"
#include "scratchFolder.h"
#include "shell/datafileInspector.h"

namespace {

struct levels {
    double peak = 0;
    double rms = 0;
    double edgePeak = 0;  // loudest in the first and last millisecond
};

levels measure(const SAMPLE& sound)
{
    const auto* data = static_cast<const std::uint16_t*>(sound.data);
    const unsigned long edge = sndLayout::sampleRate / 1000;
    levels result;
    double energy = 0;
    for (unsigned long i = 0; i < sound.len; ++i) {
        const double value = std::fabs(static_cast<double>(data[i]) - 0x8000);
        result.peak = std::max(result.peak, value);
        energy += value * value;
        if (i < edge || i >= sound.len - edge)
            result.edgePeak = std::max(result.edgePeak, value);
    }
    result.rms = std::sqrt(energy / sound.len);
    return result;
}

}  // namespace

// Bolts come six times a second: each is over before the next.
static_assert(sndLayout::lengthMs[soundBolt] < 1000 / 6);

TEST(SoundDataTest, EveryEffectHasItsLengthNoClippingAndSilentEnds)
{
    ensureHeadlessAllegro();
    ASSERT_EQ(datafileInspector::soundFileProblem(BROX_SNDDATA, soundEffectCount), "");
    DATAFILE* file = load_datafile(BROX_SNDDATA);
    ASSERT_EQ(datafileInspector::loadedSoundProblem(file, soundEffectCount), "");
    std::vector<levels> measured;
    for (int effect = 0; effect < soundEffectCount; ++effect) {
        SCOPED_TRACE(effect);
        const SAMPLE& sound = *static_cast<SAMPLE*>(file[effect].dat);
        EXPECT_EQ(sound.bits, 16);
        EXPECT_EQ(sound.stereo, 0);
        EXPECT_EQ(sound.freq, sndLayout::sampleRate);
        ASSERT_EQ(sound.len, static_cast<unsigned long>(sndLayout::sampleCount(effect)));
        const auto* data = static_cast<const std::uint16_t*>(sound.data);
        EXPECT_EQ(data[0], 0x8000);
        EXPECT_EQ(data[sound.len - 1], 0x8000);
        measured.push_back(measure(sound));
        // Headroom below full scale, loud enough to hear, and faded in and
        // out rather than cut, which clicks.
        EXPECT_LT(measured.back().peak, 32000);
        EXPECT_GT(measured.back().peak, 3000);
        EXPECT_LT(measured.back().edgePeak, 0.25 * measured.back().peak);
    }
    unload_datafile(file);
    // The bolt, heard most often, is the softest sound of all.
    for (int effect = soundBolt + 1; effect < soundEffectCount; ++effect)
        EXPECT_LT(measured[soundBolt].rms, measured[effect].rms) << "effect " << effect;
}

namespace {

// How strongly one frequency sounds in a stretch of a sample (Goertzel),
// relative to full scale.
double strengthAt(const SAMPLE& sound, double hertz, int fromMs, int toMs)
{
    const auto* data = static_cast<const std::uint16_t*>(sound.data);
    const int first = fromMs * sndLayout::sampleRate / 1000;
    const int last = toMs * sndLayout::sampleRate / 1000;
    const double step = 2 * M_PI * hertz / sndLayout::sampleRate;
    double real = 0;
    double imaginary = 0;
    for (int i = first; i < last; ++i) {
        const double value = (static_cast<double>(data[i]) - 0x8000) / 0x8000;
        real += value * std::cos(step * i);
        imaginary += value * std::sin(step * i);
    }
    return 2 * std::hypot(real, imaginary) / (last - first);
}

}  // namespace

TEST(SoundDataTest, EffectsAreNamedInFileOrderAllDifferAndMixTheirParts)
{
    ensureHeadlessAllegro();
    DATAFILE* file = load_datafile(BROX_SNDDATA);
    ASSERT_EQ(datafileInspector::loadedSoundProblem(file, soundEffectCount), "");
    const auto bytesOf = [&](int effect) {
        const SAMPLE& sound = *static_cast<SAMPLE*>(file[effect].dat);
        const auto* data = static_cast<const unsigned char*>(sound.data);
        return std::vector<unsigned char>(data, data + sound.len * 2);
    };
    for (int effect = 0; effect < soundEffectCount; ++effect) {
        if (effect > 0) {
            EXPECT_LT(std::string(get_datafile_property(&file[effect - 1], DAT_NAME)),
                      get_datafile_property(&file[effect], DAT_NAME))
                << "a sorted listing would move effect " << effect;
        }
        for (int other = 0; other < effect; ++other)
            EXPECT_NE(bytesOf(effect), bytesOf(other)) << "effects " << other << " and " << effect;
    }
    // The won round ends on a chord of A5, C#6 and E6: every note of it is
    // heard together, none drowned by the one added last.
    const SAMPLE& won = *static_cast<SAMPLE*>(file[soundRoundWon].dat);
    for (const double note : {880.0, 1108.73, 1318.51})
        EXPECT_GT(strengthAt(won, note, 700, 900), 0.02) << note << " Hz";
    EXPECT_LT(strengthAt(won, 1000, 700, 900), 0.005) << "no note between them";
    unload_datafile(file);
}

TEST(SoundDataTest, TheFileCheckRefusesWhatWouldNotPlay)
{
    ensureHeadlessAllegro();
    inScratchFolder here;
    ASSERT_TRUE(here.entered());
    writeSampleFile("sndData.dat", soundEffectCount);
    EXPECT_EQ(datafileInspector::soundFileProblem("sndData.dat", soundEffectCount), "");
    writeSampleFile("short.dat", soundEffectCount - 1);
    EXPECT_EQ(datafileInspector::soundFileProblem("short.dat", soundEffectCount),
              "it holds 12 objects, 13 are needed");
    writeSampleFile("damaged.dat", soundEffectCount, {16, 4, 5});
    EXPECT_EQ(datafileInspector::soundFileProblem("damaged.dat", soundEffectCount),
              "object 12: its sample is damaged");
    // Empty and 8-bit stereo samples are Allegro's own formats too.
    for (const sampleShape& shape : {sampleShape{16, 0, 0}, sampleShape{-8, 3, 3}}) {
        writeSampleFile("sndData.dat", soundEffectCount, shape);
        EXPECT_EQ(datafileInspector::soundFileProblem("sndData.dat", soundEffectCount), "")
            << shape.bits << " bits, " << shape.frames << " frames";
        DATAFILE* file = load_datafile("sndData.dat");
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(datafileInspector::loadedSoundProblem(file, soundEffectCount), "");
        // An object the loader could not make is missing, whatever its type.
        void* loaded = file[soundPause].dat;
        file[soundPause].dat = nullptr;
        EXPECT_EQ(datafileInspector::loadedSoundProblem(file, soundEffectCount),
                  "object " + std::to_string(soundPause) + " is not a sample");
        file[soundPause].dat = loaded;
        unload_datafile(file);
    }
    EXPECT_EQ(datafileInspector::soundFileProblem(BROX_PICDATA, soundEffectCount),
              "object 0 is not a sample");
    // Nor do samples pass for pictures.
    EXPECT_EQ(datafileInspector::fileProblem(BROX_SNDDATA), "it holds 13 objects, 55 are needed");
}
