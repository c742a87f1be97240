#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "audio/musicScore.h"

namespace {

// A piece of one track at 60 beats a minute.
musicPiece oneTrack(instrument voice, const char* pattern, int bars = 1)
{
    return {"one track", 60, bars, 1.0, {{voice, 0.5, pattern}}};
}

}  // namespace

TEST(MusicScoreTest, EveryNoteNameHasItsPitchInEveryOctaveAndHoldsLengthenOnlyNotes)
{
    // Equal temperament around A4 = 440 Hz: the fourth octave from C.
    const std::vector<std::pair<std::string, double>> octaveFour = {
        {"C", 261.626},  {"C#", 277.183}, {"D", 293.665},  {"D#", 311.127},
        {"E", 329.628},  {"F", 349.228},  {"F#", 369.994}, {"G", 391.995},
        {"G#", 415.305}, {"A", 440.0},    {"A#", 466.164}, {"B", 493.883}};
    std::string pattern;
    std::vector<double> wanted;
    for (int octave = 0; octave <= 9; ++octave)
        for (const auto& [name, hertz] : octaveFour) {
            pattern += name + std::to_string(octave) + " ";
            wanted.push_back(hertz * std::pow(2.0, octave - 4));
        }
    // Not names of notes: each is a rest, and the pattern fills eight bars.
    pattern += "H4 C c4 Cb4 C10 C# - -";
    const std::vector<musicNote> notes =
        musicScore::notesOf(oneTrack(instrument::lead, pattern.c_str(), 8));
    ASSERT_EQ(notes.size(), wanted.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        EXPECT_EQ(notes[i].step, static_cast<int>(i));
        EXPECT_NEAR(440 * std::pow(2.0, notes[i].pitch / 12.0) / wanted[i], 1, 1e-5)
            << "note " << i % 12 << " of octave " << i / 12;
    }

    // Holds lengthen what sounds but not a rest, and a bar line takes no step.
    const std::vector<musicNote> rhythm =
        musicScore::notesOf(oneTrack(instrument::snare, "x . - . x . . | - . . . . . . . x"));
    std::vector<int> stepsAndLengths;
    for (const musicNote& note : rhythm)
        stepsAndLengths.insert(stepsAndLengths.end(), {note.step, note.steps});
    EXPECT_EQ(stepsAndLengths, (std::vector<int>{0, 2, 4, 3, 15, 1}));
}
