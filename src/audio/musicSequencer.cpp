#include "musicSequencer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double sampleMs = 1000.0 / musicSequencer::sampleRate;

long sampleAtStep(long step, int beatsPerMinute)
{
    const double stepSeconds = 60.0 / beatsPerMinute / musicScore::stepsPerBeat;
    return std::lround(step * stepSeconds * musicSequencer::sampleRate);
}

double tone(waveform::shape form, double& phase, double hertz)
{
    phase += 2 * waveform::pi * hertz / musicSequencer::sampleRate;
    return waveform::oscillate(form, phase);
}

// One step of a one-pole low-pass; brightness 0 to 1 sets its cut-off.
double lowPass(double& filtered, double value, double brightness)
{
    filtered += brightness * (value - filtered);
    return filtered;
}

}  // namespace

musicSequencer::musicSequencer(const musicPiece& piece)
    : loop(sampleAtStep(static_cast<long>(piece.bars) * musicScore::stepsPerBar,
                        piece.beatsPerMinute)),
      gain(piece.gain)
{
    for (const musicNote& note : musicScore::notesOf(piece)) {
        const long start = sampleAtStep(note.step, piece.beatsPerMinute);
        notes.push_back({start, sampleAtStep(note.step + note.steps, piece.beatsPerMinute) - start,
                         440 * std::pow(2.0, note.pitch / 12.0), note.voice, note.level});
    }
    std::stable_sort(
        notes.begin(), notes.end(),
        [](const scheduledNote& a, const scheduledNote& b) { return a.start < b.start; });
}

long musicSequencer::loopLength() const { return loop; }

void musicSequencer::rewind()
{
    position = 0;
    nextNote = 0;
    sounding.clear();
}

void musicSequencer::render(float* out, int count)
{
    for (int i = 0; i < count; ++i) {
        startDueNotes();
        double mix = 0;
        for (voice& playing : sounding)
            mix += sampleOf(playing);
        sounding.erase(std::remove_if(sounding.begin(), sounding.end(),
                                      [](const voice& v) { return v.age >= v.note->length; }),
                       sounding.end());
        out[i] = static_cast<float>(std::clamp(mix * gain, -1.0, 1.0));
        if (++position == loop) {
            position = 0;
            nextNote = 0;
        }
    }
}

void musicSequencer::startDueNotes()
{
    while (nextNote < notes.size() && notes[nextNote].start == position)
        sounding.emplace_back(&notes[nextNote++]);
}

// One sample of a sounding note: the instrument's oscillator or noise under
// the envelope of its length; a voice that ends starts at zero and ends there.
double musicSequencer::sampleOf(voice& playing)
{
    const scheduledNote& note = *playing.note;
    const double t = playing.age * sampleMs;
    const double length = note.length * sampleMs;
    playing.age += 1;
    const auto shaped = [&](double decayMs, double attackMs = waveform::attackMs) {
        return note.level * waveform::envelope(t, length, decayMs, sampleMs, attackMs);
    };
    switch (note.voice) {
    case instrument::bass:
        return shaped(450) * tone(waveform::shape::triangle, playing.phase, note.hertz);
    case instrument::lead:
        return shaped(350) * tone(waveform::shape::warm, playing.phase, note.hertz);
    case instrument::bell:
        return shaped(600) * tone(waveform::shape::warm, playing.phase, note.hertz);
    case instrument::pad:
        return shaped(4000, 120) * tone(waveform::shape::sine, playing.phase, note.hertz);
    case instrument::kick: {
        // A sine falling from a thump to a low hum.
        const double hertz = 45 + 115 * std::exp(-t / 30);
        return shaped(120) * tone(waveform::shape::sine, playing.phase, hertz);
    }
    case instrument::snare:
        return shaped(70)
               * (0.8 * lowPass(playing.filtered, playing.hiss.next(), 0.45)
                  + 0.4 * tone(waveform::shape::triangle, playing.phase, 190));
    case instrument::hat: {
        // What a low-pass leaves out of noise: a bright tick.
        const double value = playing.hiss.next();
        return shaped(18) * (value - lowPass(playing.filtered, value, 0.3));
    }
    }
    return 0;
}
