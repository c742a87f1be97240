#ifndef BROX_MUSICDEVICE_H
#define BROX_MUSICDEVICE_H

#include <allegro.h>

#include <cstdint>
#include <memory>

#include "musicPlayer.h"
#include "musicSequencer.h"

// The music, made while it plays and fed to an Allegro audio stream beside
// the sound effects. A new piece fades in over half a second while the one
// before it fades out; a change of level glides, so that nothing clicks.
class musicDevice : public musicPlayer {
public:
    // Frames per stream buffer: 93 ms, far more than one pass of the main
    // loop takes, so the stream never runs dry.
    static constexpr int bufferFrames = 2048;

    musicDevice() = default;
    // Stops the stream; before the sound driver goes.
    ~musicDevice() override;
    musicDevice(const musicDevice&) = delete;
    musicDevice& operator=(const musicDevice&) = delete;

    // Starts the stream on the running sound driver; false if it cannot.
    bool start();
    void startPiece(int piece) override;
    void setLevel(int level) override;
    // Refills what the stream has played; called on every pass of the main loop.
    void fillStream();
    // The next samples as the stream plays them: 16-bit unsigned, silence
    // at 0x8000.
    void mix(std::uint16_t* out, int count);

private:
    struct channel {
        std::unique_ptr<musicSequencer> piece;
        double gain = 0;
    };

    // Adds one sample of a channel, moving its gain a step toward the target.
    static double take(channel& from, double target);

    AUDIOSTREAM* stream = nullptr;
    channel playing;
    channel outgoing;
    double level = 0;
    double targetLevel = 0;
};

#endif
