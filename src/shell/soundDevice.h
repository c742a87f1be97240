#ifndef BROX_SOUNDDEVICE_H
#define BROX_SOUNDDEVICE_H

#include <allegro.h>

#include <string>

#include "soundCues.h"

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

    // Loads the samples and starts the sound driver, to play at the volume
    // (1 to 255). A volume of 0 starts nothing. Says in one line on standard
    // error why the game will be silent, and returns false, when it will be.
    bool start(int volume);
    // Edge-triggered: one press mutes, the next one unmutes.
    void followMuteKey(bool keyDown);
    bool isMuted() const;
    void play(int effect, int pan) override;

private:
    // Empty when the samples are usable, else why not.
    std::string loadSamples();
    std::string startDriver();

    DATAFILE* samples = nullptr;
    int volume = 0;
    bool muted = false;
    bool muteKeyWasDown = false;
};

#endif
