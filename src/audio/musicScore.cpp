#include "musicScore.h"

#include <cctype>
#include <sstream>
#include <string>

namespace {

// Bars of one held note or chord tone, for the pads.
#define HELD(note) note " . . . . . . . . . . . . . . . | "

// Round 0: a soft pulse under slow chords (A, F#m, D, E); the tune comes in
// on the second time round.
const musicPiece firstRound{
    "round 0",
    105,
    8,
    0.62,
    {{instrument::pad, 0.2, HELD("E4") HELD("C#4") HELD("D4") HELD("E4")},
     {instrument::pad, 0.2, HELD("C#4") HELD("A3") HELD("A3") HELD("B3")},
     {instrument::pad, 0.2, HELD("A3") HELD("F#3") HELD("F#3") HELD("G#3")},
     {instrument::bass, 0.5,
      "A2 . . . . . - - A2 . . . E2 . - - | F#2 . . . . . - - F#2 . . . C#3 . - - | "
      "D2 . . . . . - - D2 . . . A2 . - - | E2 . . . . . - - E2 . . . B2 . - -"},
     {instrument::hat, 0.1, "- - x - - - x - - - x - - - x -"},
     {instrument::lead, 0.32,
      "- - - - - - - - - - - - - - - - | - - - - - - - - - - - - - - - - | "
      "- - - - - - - - - - - - - - - - | - - - - - - - - - - - - - - - - | "
      "C#5 . . . E5 . . . A5 . . . . . E5 . | F#5 . . . E5 . C#5 . . . . . - - - - | "
      "D5 . . . F#5 . . . A5 . . . F#5 . D5 . | E5 . . . . . . . B4 . . . G#4 . . ."}}};

// Round 1: a beat and a walking bass (A, D, F#m, E); a call first, then
// running arpeggios.
const musicPiece secondRound{
    "round 1",
    126,
    8,
    0.55,
    {{instrument::kick, 0.75, "x - - - - - - - x - - - - - - -"},
     {instrument::snare, 0.4, "- - - - x - - - - - - - x - - -"},
     {instrument::hat, 0.12, "x - x - x - x - x - x - x - x -"},
     {instrument::bass, 0.5,
      "A2 . A2 . A3 . A2 . A2 . A2 . E3 . A2 . | D2 . D2 . D3 . D2 . D2 . D2 . A2 . D2 . | "
      "F#2 . F#2 . F#3 . F#2 . F#2 . F#2 . C#3 . F#2 . | E2 . E2 . E3 . E2 . E2 . E2 . B2 . E2 ."},
     {instrument::pad, 0.14, HELD("E4") HELD("F#4") HELD("C#4") HELD("E4")},
     {instrument::pad, 0.14, HELD("C#4") HELD("D4") HELD("A3") HELD("B3")},
     {instrument::pad, 0.14, HELD("A3") HELD("A3") HELD("F#3") HELD("G#3")},
     {instrument::lead, 0.26,
      "A4 . . . - - C#5 . E5 . . . - - - - | F#5 . . . - - E5 . D5 . . . - - - - | "
      "C#5 . . . - - A4 . C#5 . . . - - - - | B4 . . . . . . . - - - - - - - - | "
      "A4 C#5 E5 A5 E5 C#5 A4 C#5 E5 A5 E5 C#5 A4 C#5 E5 C#5 | "
      "D5 F#5 A5 D6 A5 F#5 D5 F#5 A5 D6 A5 F#5 D5 F#5 A5 F#5 | "
      "C#5 F#5 A5 C#6 A5 F#5 C#5 F#5 A5 C#6 A5 F#5 C#5 F#5 A5 F#5 | "
      "B4 E5 G#5 B5 G#5 E5 B4 E5 G#5 B5 G#5 E5 B4 E5 G#5 E5"}}};

// Round 2: fast and driving (F#m, D, A, E): four to the floor, sixteenths
// on the hat and the bass, the tune high above.
const musicPiece thirdRound{
    "round 2",
    147,
    8,
    0.5,
    {{instrument::kick, 0.8, "x - - - x - - - x - - - x - x -"},
     {instrument::snare, 0.45, "- - - - x - - - - - - - x - - x"},
     {instrument::hat, 0.08, "x x x x x x x x x x x x x x x x"},
     {instrument::bass, 0.45,
      "F#2 F#2 F#3 F#2 F#2 F#3 F#2 F#2 F#2 F#2 F#3 F#2 F#2 F#3 F#2 C#3 | "
      "D2 D2 D3 D2 D2 D3 D2 D2 D2 D2 D3 D2 D2 D3 D2 A2 | "
      "A2 A2 A3 A2 A2 A3 A2 A2 A2 A2 A3 A2 A2 A3 A2 E3 | "
      "E2 E2 E3 E2 E2 E3 E2 E2 E2 E2 E3 E2 E2 E3 E2 B2"},
     {instrument::pad, 0.12, HELD("C#5") HELD("D5") HELD("C#5") HELD("B4")},
     {instrument::pad, 0.12, HELD("A4") HELD("A4") HELD("A4") HELD("G#4")},
     {instrument::pad, 0.12, HELD("F#4") HELD("F#4") HELD("E4") HELD("E4")},
     {instrument::lead, 0.28,
      "F#5 . A5 . C#6 . A5 . F#5 . A5 . C#6 . E6 . | D6 . C#6 . A5 . F#5 . D5 . F#5 . A5 . C#6 . | "
      "E5 . A5 . C#6 . E6 . C#6 . A5 . E5 . C#6 . | B5 . G#5 . E5 . G#5 . B5 . . . . . - - | "
      "F#5 . A5 . C#6 . A5 . F#5 . A5 . C#6 . E6 . | D6 . C#6 . A5 . F#5 . D5 . F#5 . A5 . C#6 . | "
      "C#6 . . . E6 . . . A5 . . . C#6 . . . | B5 . . . . . . . G#5 . . . E5 . . ."}}};

// The end round: a breath between cycles, bells over two chords.
const musicPiece endRound{
    "end round",
    90,
    2,
    0.8,
    {{instrument::pad, 0.18, HELD("E4") HELD("E4")},
     {instrument::pad, 0.18, HELD("C#4") HELD("B3")},
     {instrument::pad, 0.18, HELD("A3") HELD("G#3")},
     {instrument::bass, 0.4, HELD("A2") HELD("E2")},
     {instrument::bell, 0.3,
      "A4 . C#5 . E5 . A5 . E5 . C#5 . A4 . C#5 . | B4 . E5 . G#5 . B5 . G#5 . E5 . B4 . G#4 ."}}};

#undef HELD

const musicPiece* const pieces[musicPieceCount] = {&firstRound, &secondRound, &thirdRound,
                                                   &endRound};

constexpr int noPitch = -1000;

// Semitones from A4 of a note name such as "C#5"; noPitch for anything else.
int pitchOf(const std::string& name)
{
    static const int fromA[] = {0, 2, -9, -7, -5, -4, -2};  // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G')
        return noPitch;
    const bool sharp = name[1] == '#';
    const std::size_t octaveAt = sharp ? 2 : 1;
    if (name.size() != octaveAt + 1 || !std::isdigit(static_cast<unsigned char>(name[octaveAt])))
        return noPitch;
    return fromA[name[0] - 'A'] + (sharp ? 1 : 0) + 12 * (name[octaveAt] - '4');
}

// Adds one pass of a pattern, starting at a step, ending no later than the
// piece; returns how many steps the pattern has.
int addPattern(const musicTrack& track, int firstStep, int lastStep, std::vector<musicNote>& notes)
{
    std::istringstream steps(track.pattern);
    std::string token;
    int step = firstStep;
    bool holding = false;
    while (steps >> token) {
        if (token == "|")
            continue;
        if (step < lastStep) {
            if (token == "." && holding) {
                notes.back().steps += 1;
            } else {
                const int pitch = token == "x" ? 0 : pitchOf(token);
                holding = pitch != noPitch;
                if (holding)
                    notes.push_back({step, 1, pitch, track.voice, track.level});
            }
        }
        step += 1;
    }
    return step - firstStep;
}

}  // namespace

namespace musicScore {

const musicPiece& piece(int id) { return *pieces[id]; }

int pieceOfRound(int round)
{
    return round >= musicRound0 && round <= musicRound2 ? round : musicEndRound;
}

std::vector<musicNote> notesOf(const musicPiece& music)
{
    std::vector<musicNote> notes;
    const int lastStep = music.bars * stepsPerBar;
    for (const musicTrack& track : music.tracks) {
        int step = 0;
        while (step < lastStep) {
            const int length = addPattern(track, step, lastStep, notes);
            if (length == 0)
                break;
            step += length;
        }
    }
    return notes;
}

}  // namespace musicScore
