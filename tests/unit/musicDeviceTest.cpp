#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "allegroTestEnv.h"
#include "audio/musicDevice.h"
#include "audio/musicScore.h"
#include "audio/musicSequencer.h"
#include "audio/soundEffects.h"

namespace {

constexpr int rate = musicSequencer::sampleRate;

std::vector<std::uint16_t> mixed(musicDevice& music, double seconds)
{
    std::vector<std::uint16_t> samples(static_cast<std::size_t>(seconds * rate));
    music.mix(samples.data(), static_cast<int>(samples.size()));
    return samples;
}

// Root mean square of unsigned 16-bit samples, in decibels below full scale.
double rmsDb(const std::uint16_t* samples, std::size_t count)
{
    double energy = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double value = (samples[i] - 0x8000) / 32768.0;
        energy += value * value;
    }
    return 10 * std::log10(energy / count);
}

}  // namespace

TEST(MusicDeviceTest, ANewPieceTakesOverWithinHalfASecondAndASilencedOneStaysSilent)
{
    musicDevice changing;
    changing.setLevel(128);
    changing.startPiece(musicRound2);
    mixed(changing, 2);
    changing.startPiece(musicRound0);
    musicDevice fresh;
    fresh.setLevel(128);
    fresh.startPiece(musicRound0);
    const std::vector<std::uint16_t> afterChange = mixed(changing, 1);
    const std::vector<std::uint16_t> alone = mixed(fresh, 1);
    // The old piece fades out over half a second, to the sample.
    const auto lastHeard =
        afterChange.rend()
        - std::mismatch(afterChange.rbegin(), afterChange.rend(), alone.rbegin()).first;
    EXPECT_GT(lastHeard, 0.48 * rate) << "the old piece went too soon";
    EXPECT_LE(lastHeard, rate / 2) << "the old piece still sounds";

    changing.setLevel(0);
    const std::vector<std::uint16_t> fading = mixed(changing, 0.2);
    EXPECT_NE(fading.front(), 0x8000) << "the level fell at once: a click";
    EXPECT_TRUE(std::all_of(fading.begin() + rate / 10 + 1, fading.end(),
                            [](std::uint16_t value) { return value == 0x8000; }));

    // After a silence, as under a banner, the next piece starts alone.
    changing.startPiece(musicRound1);
    changing.setLevel(128);
    musicDevice afterSilence;
    afterSilence.startPiece(musicRound1);
    afterSilence.setLevel(128);
    EXPECT_EQ(mixed(changing, 0.5), mixed(afterSilence, 0.5)) << "the silenced piece came back";
}

TEST(MusicDeviceTest, AtTheDefaultVolumesTheMusicSitsWellUnderTheEffects)
{
    ensureHeadlessAllegro();
    DATAFILE* effects = load_datafile(BROX_SNDDATA);
    ASSERT_NE(effects, nullptr);
    std::vector<double> effectLevels;
    for (int effect = 0; effect < soundEffectCount; ++effect) {
        const SAMPLE& sample = *static_cast<const SAMPLE*>(effects[effect].dat);
        // Played at soundVolume 192 of 255.
        effectLevels.push_back(rmsDb(static_cast<const std::uint16_t*>(sample.data), sample.len)
                               + 20 * std::log10(192.0 / 255));
    }
    unload_datafile(effects);
    std::sort(effectLevels.begin(), effectLevels.end());
    const double typicalEffect = effectLevels[effectLevels.size() / 2];
    for (int id = 0; id < musicPieceCount; ++id) {
        musicDevice music;
        music.setLevel(128);
        music.startPiece(id);
        const std::vector<std::uint16_t> loop = mixed(
            music,
            1 + static_cast<double>(musicSequencer(musicScore::piece(id)).loopLength()) / rate);
        const double level = rmsDb(loop.data() + rate, loop.size() - rate);
        EXPECT_LT(level, typicalEffect - 6) << musicScore::piece(id).name;
        EXPECT_GT(level, typicalEffect - 24) << musicScore::piece(id).name << " is barely there";
    }
}

TEST(MusicDeviceTest, TheLevelScalesTheMusicInProportionAndGlidesOverATenthOfASecond)
{
    // Centred samples of a piece long settled at each level.
    const auto heardAt = [](int level) {
        musicDevice music;
        music.setLevel(level);
        music.startPiece(musicRound1);
        mixed(music, 1);
        std::vector<int> centred;
        for (const std::uint16_t value : mixed(music, 0.5))
            centred.push_back(value - 0x8000);
        return centred;
    };
    const std::vector<int> full = heardAt(255);
    EXPECT_EQ(heardAt(1000), full) << "beyond full level";
    EXPECT_GT(*std::max_element(full.begin(), full.end()), 2000);
    for (const int level : {128, 32}) {
        const std::vector<int> part = heardAt(level);
        for (std::size_t i = 0; i < full.size(); ++i)
            ASSERT_NEAR(part[i], full[i] * level / 255.0, 1)
                << "level " << level << ", sample " << i;
    }

    // From full level to none: still heard in the glide's last hundredth.
    musicDevice music;
    music.setLevel(255);
    music.startPiece(musicRound1);
    mixed(music, 1);
    music.setLevel(0);
    const std::vector<std::uint16_t> fading = mixed(music, 0.2);
    const auto silent = [](std::uint16_t value) { return value == 0x8000; };
    EXPECT_FALSE(std::all_of(fading.begin() + rate * 9 / 100, fading.begin() + rate / 10, silent));
    EXPECT_TRUE(std::all_of(fading.begin() + rate / 10 + 1, fading.end(), silent));
}
