#include "soundDevice.h"

#include <cstdio>
#include <string>

#ifdef ALLEGRO_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

#include "shell/datafileInspector.h"
#include "soundEffects.h"

namespace {

// While Allegro probes its sound drivers, the ALSA library reports every
// device it cannot open on standard error, a dozen lines on a machine without
// a sound card; the one line that matters is the game's own.
class quietStandardError {
public:
    quietStandardError()
    {
#ifdef ALLEGRO_UNIX
        std::fflush(stderr);
        saved = dup(STDERR_FILENO);
        const int sink = open("/dev/null", O_WRONLY);
        if (saved >= 0 && sink >= 0)
            dup2(sink, STDERR_FILENO);
        if (sink >= 0)
            close(sink);
#endif
    }

    ~quietStandardError()
    {
#ifdef ALLEGRO_UNIX
        if (saved >= 0) {
            dup2(saved, STDERR_FILENO);
            close(saved);
        }
#endif
    }

    quietStandardError(const quietStandardError&) = delete;
    quietStandardError& operator=(const quietStandardError&) = delete;

private:
    int saved = -1;
};

}  // namespace

soundDevice::~soundDevice()
{
    if (driverRunning)
        remove_sound();
    releaseSamples();
}

bool soundDevice::start(int effectVolume, int musicVolume)
{
    volume = effectVolume;
    const std::string effectProblem = volume > 0 ? loadSamples() : "";
    if (!effectProblem.empty())
        releaseSamples();
    // Unusable samples still leave the music to play.
    const bool anythingToPlay = samples != nullptr || musicVolume > 0;
    const std::string driverProblem = anythingToPlay ? startDriver() : "";
    driverRunning = anythingToPlay && driverProblem.empty();
    if (!driverRunning)
        releaseSamples();
    if (!driverProblem.empty())
        std::fprintf(stderr, "Playing without sound: %s\n", driverProblem.c_str());
    else if (!effectProblem.empty())
        std::fprintf(stderr, "Playing without sound%s: %s\n", driverRunning ? " effects" : "",
                     effectProblem.c_str());
    return driverRunning;
}

void soundDevice::releaseSamples()
{
    if (samples != nullptr)
        unload_datafile(samples);
    samples = nullptr;
}

bool soundDevice::playsEffects() const { return samples != nullptr && driverRunning; }

std::string soundDevice::loadSamples()
{
    if (!exists(datafileName))
        return std::string(datafileName) + " was not found";
    // Allegro's loader crashes on a damaged file, so it is checked first.
    std::string problem = datafileInspector::soundFileProblem(datafileName, soundEffectCount);
    if (problem.empty()) {
        samples = load_datafile(datafileName);
        problem = datafileInspector::loadedSoundProblem(samples, soundEffectCount);
    }
    return problem.empty() ? "" : std::string(datafileName) + " is unusable: " + problem;
}

std::string soundDevice::startDriver()
{
    quietStandardError quiet;
    if (install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) != 0)
        return allegro_error;
    // Autodetection settles for no driver at all when no device opens.
    if (digi_card == DIGI_NONE) {
        const std::string reason = allegro_error[0] != '\0' ? allegro_error : "no sound device";
        remove_sound();
        return reason;
    }
    return "";
}

void soundDevice::play(int effect, int pan)
{
    if (!playsEffects() || effect < 0 || effect >= soundEffectCount)
        return;
    play_sample(static_cast<SAMPLE*>(samples[effect].dat), volume, pan, 1000, 0);
}
