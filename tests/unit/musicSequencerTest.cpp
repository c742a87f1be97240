#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/musicScore.h"
#include "audio/musicSequencer.h"

namespace {

constexpr int rate = musicSequencer::sampleRate;

std::vector<float> rendered(musicSequencer& sequencer, long count)
{
    std::vector<float> samples(count);
    sequencer.render(samples.data(), static_cast<int>(count));
    return samples;
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
