#ifndef BROX_MUSICSEQUENCER_H
#define BROX_MUSICSEQUENCER_H

#include <vector>

#include "musicScore.h"
#include "waveform.h"

// Plays one piece of the score as a loop of samples, made while playing from
// the same oscillators, noise and envelopes as the sound effects. Every pass
// of the loop after the first is sample for sample the same, so the loop
// point cannot be heard.
class musicSequencer {
public:
    static constexpr int sampleRate = 22050;

    explicit musicSequencer(const musicPiece& piece);

    // Samples in one pass of the loop.
    long loopLength() const;
    // Back to the piece's first sample, with nothing sounding.
    void rewind();
    // Writes the next count samples, each between -1 and 1.
    void render(float* out, int count);

private:
    struct scheduledNote {
        long start;
        long length;
        double hertz;
        instrument voice;
        double level;
    };

    struct voice {
        explicit voice(const scheduledNote* playing) : note(playing) {}
        const scheduledNote* note;
        long age = 0;
        double phase = 0;
        double filtered = 0;
        waveform::noise hiss;
    };

    static double sampleOf(voice& playing);
    void startDueNotes();

    std::vector<scheduledNote> notes;  // in order of their start
    std::vector<voice> sounding;
    long loop = 0;
    long position = 0;
    std::size_t nextNote = 0;
    double gain = 1;
};

#endif
