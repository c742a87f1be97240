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

std::vector<float> rendered(musicSequencer& sequencer, long count)
{
    std::vector<float> samples(count);
    sequencer.render(samples.data(), static_cast<int>(count));
    return samples;
}

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

TEST(MusicSequencerTest, EachPieceLoopsForItsLengthWithNoSeamAndNoClipping)
{
    for (int id = 0; id < musicPieceCount; ++id) {
        const musicPiece& piece = musicScore::piece(id);
        SCOPED_TRACE(piece.name);
        musicSequencer sequencer(piece);
        const double seconds = piece.bars * 4 * 60.0 / piece.beatsPerMinute;
        EXPECT_EQ(sequencer.loopLength(), std::lround(seconds * rate));
        const long loop = sequencer.loopLength();
        const std::vector<float> wave = rendered(sequencer, 3 * loop);

        // From its second time round a loop is the same to the sample, so the
        // join sounds like any other moment of it.
        EXPECT_TRUE(
            std::equal(wave.begin() + loop, wave.begin() + 2 * loop, wave.begin() + 2 * loop));
        float largestStep = 0;
        float peak = 0;
        double energyOfLastBar = 0;
        for (long i = 1; i < 2 * loop; ++i) {
            if (i != loop)
                largestStep = std::max(largestStep, std::fabs(wave[i] - wave[i - 1]));
            peak = std::max(peak, std::fabs(wave[i]));
            if (i >= loop - loop / piece.bars && i < loop)
                energyOfLastBar += wave[i] * wave[i];
        }
        EXPECT_LE(std::fabs(wave[loop] - wave[loop - 1]), largestStep);
        EXPECT_LT(peak, 0.99F) << "the mix reaches full scale";
        EXPECT_GT(energyOfLastBar, 0) << "the patterns do not reach the piece's end";

        sequencer.rewind();
        EXPECT_EQ(rendered(sequencer, loop), std::vector<float>(wave.begin(), wave.begin() + loop));
    }
    EXPECT_EQ(musicScore::pieceOfRound(2), musicRound2);
    EXPECT_EQ(musicScore::pieceOfRound(-1), musicEndRound);
}

TEST(MusicSequencerTest, ThePiecesDifferAndRiseInPaceFromRoundToRound)
{
    std::vector<std::vector<float>> openings;
    for (int id = 0; id < musicPieceCount; ++id) {
        musicSequencer sequencer(musicScore::piece(id));
        openings.push_back(rendered(sequencer, 4 * rate));
    }
    for (int a = 0; a < musicPieceCount; ++a)
        for (int b = a + 1; b < musicPieceCount; ++b) {
            long same = 0;
            for (int i = 0; i < 4 * rate; ++i)
                same += openings[a][i] == openings[b][i];
            EXPECT_LT(same, rate) << "pieces " << a << " and " << b;
        }
    EXPECT_LT(musicScore::piece(musicRound0).beatsPerMinute,
              musicScore::piece(musicRound1).beatsPerMinute);
    EXPECT_LT(musicScore::piece(musicRound1).beatsPerMinute,
              musicScore::piece(musicRound2).beatsPerMinute);
}

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
    const auto settled = static_cast<std::ptrdiff_t>(0.6 * rate);
    EXPECT_FALSE(std::equal(afterChange.begin(), afterChange.begin() + settled, alone.begin()));
    EXPECT_TRUE(
        std::equal(afterChange.begin() + settled, afterChange.end(), alone.begin() + settled))
        << "the old piece still sounds";

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
