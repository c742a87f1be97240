#ifndef BROX_MUSICSCORE_H
#define BROX_MUSICSCORE_H

#include <vector>

// The game's music as notes: one looping piece per round, rising in
// intensity from round to round, and a short one for the end round. The
// won and lost banners have no piece; their sound effects are the stings.
enum musicPieceId {
    musicRound0 = 0,
    musicRound1 = 1,
    musicRound2 = 2,
    musicEndRound = 3,
    musicPieceCount = 4
};

enum class instrument {
    bass,
    lead,
    pad,
    bell,
    kick,
    snare,
    hat
};

// One voice's line, a bar after another, sixteen steps (sixteenth notes) to
// the bar. A step is a note name ("A2", "C#5"), "x" for a drum hit, "." to
// hold what sounds one step longer, or "-" for a rest; "|" marks a bar line
// for the reader. A pattern shorter than its piece repeats.
struct musicTrack {
    instrument voice;
    double level;
    const char* pattern;
};

struct musicPiece {
    const char* name;
    int beatsPerMinute;
    int bars;
    // Scales the whole mix so that its loudest moment stays below full scale.
    double gain;
    std::vector<musicTrack> tracks;
};

// A note as the sequencer plays it. Pitch counts semitones from A4 (440 Hz);
// drums have none.
struct musicNote {
    int step;
    int steps;
    int pitch;
    instrument voice;
    double level;
};

namespace musicScore {

constexpr int stepsPerBar = 16;
constexpr int stepsPerBeat = 4;

const musicPiece& piece(int id);
// The piece of a round; every round but 0, 1 and 2 is the end round.
int pieceOfRound(int round);
// Every note of a piece, each track's pattern repeated to the piece's end.
std::vector<musicNote> notesOf(const musicPiece& piece);

}  // namespace musicScore

#endif
