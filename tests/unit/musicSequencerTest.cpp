#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
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

// One voice alone. At 60 beats a minute a step lasts a quarter of a second.
musicPiece solo(instrument voice, const char* pattern, int bars = 1)
{
    return {"solo", 60, bars, 1.0, {{voice, 0.5, pattern}}};
}

// The pitch of a stretch of samples, from the first to the last rising zero
// crossing within it.
double hertzOf(const std::vector<float>& wave, double fromSeconds, double toSeconds)
{
    double first = -1;
    double last = -1;
    int crossings = 0;
    for (auto i = static_cast<long>(fromSeconds * rate); i < toSeconds * rate; ++i)
        if (wave[i - 1] < 0 && wave[i] >= 0) {
            const double at = i - 1 + wave[i - 1] / (wave[i - 1] - wave[i]);
            first = first < 0 ? at : first;
            last = at;
            crossings += 1;
        }
    return crossings < 2 ? 0 : (crossings - 1) * rate / (last - first);
}

// How strongly one frequency sounds in a stretch of samples (Goertzel).
double strengthAt(const std::vector<float>& wave, double hertz, double fromSeconds,
                  double toSeconds)
{
    const double step = 2 * waveform::pi * hertz / rate;
    double real = 0;
    double imaginary = 0;
    for (auto i = static_cast<long>(fromSeconds * rate); i < toSeconds * rate; ++i) {
        real += wave[i] * std::cos(step * i);
        imaginary += wave[i] * std::sin(step * i);
    }
    return std::hypot(real, imaginary);
}

// When the given share of a second's energy has sounded, in milliseconds.
double msToShare(const std::vector<double>& energy, double share)
{
    double total = 0;
    for (double e : energy)
        total += e;
    double sum = 0;
    for (std::size_t i = 0; i < energy.size(); ++i) {
        sum += energy[i];
        if (sum >= share * total)
            return 1000.0 * i / rate;
    }
    return 1000;
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

        // Every time round a loop is the same to the sample, so the join
        // sounds like any other moment of it and nothing falls silent.
        EXPECT_TRUE(std::equal(wave.begin(), wave.begin() + loop, wave.begin() + loop));
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
        std::set<instrument> written;
        std::set<instrument> heard;
        for (const musicTrack& track : piece.tracks)
            written.insert(track.voice);
        for (const musicNote& note : musicScore::notesOf(piece))
            heard.insert(note.voice);
        EXPECT_EQ(heard, written) << "a voice is never heard";

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

TEST(MusicSequencerTest, EachInstrumentPlaysItsNoteAtItsPitchWithItsOvertones)
{
    // As heard: every instrument with a pitch plays A4 at 440 Hz, the lead
    // and the bell with their octave at 0.3 of it, and the pad C4, C5 an
    // octave above it, and a low and a high A.
    struct heard {
        instrument voice;
        const char* note;
        double hertz;
        double octave;
    };
    for (const heard& tone :
         {heard{instrument::bass, "A4", 440, 0}, heard{instrument::lead, "A4", 440, 0.3},
          heard{instrument::bell, "A4", 440, 0.3}, heard{instrument::pad, "A4", 440, 0},
          heard{instrument::pad, "C4", 261.626, 0}, heard{instrument::pad, "C5", 523.251, 0},
          heard{instrument::pad, "A1", 55, 0}, heard{instrument::pad, "A7", 3520, 0}}) {
        SCOPED_TRACE(std::string(tone.note) + " of voice "
                     + std::to_string(static_cast<int>(tone.voice)));
        const std::string held = std::string(tone.note) + " . . . . . . . . . . . . . . .";
        musicSequencer sequencer(solo(tone.voice, held.c_str()));
        const std::vector<float> wave = rendered(sequencer, rate / 2);
        EXPECT_NEAR(hertzOf(wave, 0.05, 0.45) / tone.hertz, 1, 2e-3);
        EXPECT_NEAR(strengthAt(wave, 2 * tone.hertz, 0.05, 0.45)
                        / strengthAt(wave, tone.hertz, 0.05, 0.45),
                    tone.octave, 0.03);
    }
}

TEST(MusicSequencerTest, EachInstrumentRisesRingsAndStopsWithItsOwnEnvelope)
{
    // How each is meant to sound: how long it takes to rise (attack) and to
    // fall to 1/e (decay), in milliseconds.
    struct sound {
        instrument voice;
        double attack;
        double decay;
    };
    constexpr double sampleMs = 1000.0 / rate;
    for (const sound& meant : {sound{instrument::bass, 6, 450}, sound{instrument::lead, 6, 350},
                               sound{instrument::pad, 120, 4000}, sound{instrument::bell, 6, 600},
                               sound{instrument::kick, 6, 120}, sound{instrument::snare, 6, 70},
                               sound{instrument::hat, 6, 18}}) {
        SCOPED_TRACE(static_cast<int>(meant.voice));
        // One second of A3, or of a drum hit, then rests.
        const bool drum = meant.voice >= instrument::kick;
        musicSequencer sequencer(solo(meant.voice, drum ? "x . . . - - - - - - - - - - - -"
                                                        : "A3 . . . - - - - - - - - - - - -"));
        const std::vector<float> wave = rendered(sequencer, 2 * rate);
        std::vector<double> heard;
        std::vector<double> shaped;
        for (int i = 0; i < rate; ++i) {
            heard.push_back(wave[i] * wave[i]);
            const double level =
                waveform::envelope(i * sampleMs, 1000, meant.decay, sampleMs, meant.attack);
            shaped.push_back(level * level);
        }
        for (const double share : {0.02, 0.1, 0.5}) {
            const double wanted = msToShare(shaped, share);
            EXPECT_NEAR(msToShare(heard, share), wanted, std::max(1.0, 0.1 * wanted))
                << "by " << share * 100 << "% of its energy";
        }
        EXPECT_EQ(wave[rate - 1], 0) << "cut off at the end";
        EXPECT_TRUE(std::all_of(wave.begin() + rate, wave.end(), [](float v) { return v == 0; }))
            << "sounds after its end";
        if (meant.decay > 300) {
            float lastMs = 0;
            float beforeRelease = 0;
            for (int i = rate - 1; i > rate - 1 - rate / 1000; --i)
                lastMs = std::max(lastMs, std::fabs(wave[i]));
            for (int i = rate - 1 - rate / 100; i > rate - 1 - rate / 50; --i)
                beforeRelease = std::max(beforeRelease, std::fabs(wave[i]));
            EXPECT_LT(lastMs, 0.2F * beforeRelease) << "no release";
        }
    }
    // The kick falls from a thump to a low hum; the hat is the bright part of
    // noise, crossing zero twice as often as what a low-pass would leave.
    musicSequencer kick(solo(instrument::kick, "x . . . - - - - - - - - - - - -"));
    const std::vector<float> thump = rendered(kick, rate / 2);
    EXPECT_GT(hertzOf(thump, 0.001, 0.02), 100);
    EXPECT_NEAR(hertzOf(thump, 0.15, 0.45), 45, 2);
    musicSequencer hat(solo(instrument::hat, "x . . . - - - - - - - - - - - -"));
    EXPECT_GT(hertzOf(rendered(hat, rate / 10), 0.001, 0.1), 4500);
}
