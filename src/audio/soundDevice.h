#ifndef BROX_SOUNDDEVICE_H
#define BROX_SOUNDDEVICE_H

#include <allegro.h>

#include <string>

#include "samplePlayer.h"

// The game's sound: the samples of the sound datafile played through
// Allegro's digital sound driver. Anything missing leaves the game silent,
// never stopped.
class soundDevice : public samplePlayer {
public:
    // The sound datafile, read from the working directory.
    static constexpr const char* datafileName = "sndData.dat";

    soundDevice() = default;
    ~soundDevice() override;
    soundDevice(const soundDevice&) = delete;
    soundDevice& operator=(const soundDevice&) = delete;

    // Loads the samples when the effects' volume (0 to 255) is above 0, and
    // starts the sound driver when the effects or the music (its volume
    // given) will play; with both at 0 it starts nothing. Says in one line on
    // standard error why the effects or the whole game will be silent.
    // Returns whether the driver runs.
    bool start(int effectVolume, int musicVolume);
    bool playsEffects() const;
    void play(int effect, int pan) override;

private:
    // Empty when the samples are usable, else why not.
    std::string loadSamples();
    std::string startDriver();

    void releaseSamples();

    DATAFILE* samples = nullptr;
    int volume = 0;
    bool driverRunning = false;
};

#endif
