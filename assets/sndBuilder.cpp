// sndbuilder: makes every sound effect of the game and writes sndData.dat,
// or prints each effect's and each piece of music's length and levels.
// Usage: sndbuilder <output.dat> | sndbuilder --measure
#include <allegro.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/musicDevice.h"
#include "audio/sndLayout.h"
#include "datWriter.h"
#include "sndSynth.h"

namespace {

// Object names, in file order; the index leads so that a sorted listing
// keeps the order.
const char* const effectNames[soundEffectCount] = {
    "BOLT",         "ORBITERS",   "BLAST",   "ENEMY_HURT",  "ENEMY_DESTROYED",
    "FIGHTER_HURT", "HEAL_TAKEN", "AILMENT", "ROUND_TITLE", "ROUND_WON",
    "ROUND_LOST",   "PAUSE",      "RESUME"};

std::string objectName(int effect)
{
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02d_", effect);
    return prefix + std::string(effectNames[effect]);
}

double decibels(double level) { return level > 0 ? 20 * std::log10(level / 32768) : -INFINITY; }

struct loudness {
    double peak = 0;
    double rms = 0;
};

// Of samples centred on zero, in Allegro's 16-bit range.
template <typename Samples> loudness loudnessOf(const Samples& wave, double centre)
{
    loudness result;
    double energy = 0;
    for (const auto sample : wave) {
        const double value = static_cast<double>(sample) - centre;
        result.peak = std::max(result.peak, std::fabs(value));
        energy += value * value;
    }
    result.rms = std::sqrt(energy / wave.size());
    return result;
}

// Each piece as the game plays it at the default musicVolume, over one loop
// once it has faded in.
void measureMusic()
{
    std::printf("\n| music at musicVolume 128 | loop | peak | RMS |\n|---|---|---|---|\n");
    for (int piece = 0; piece < musicPieceCount; ++piece) {
        musicDevice music;
        music.setLevel(128);
        music.startPiece(piece);
        std::vector<std::uint16_t> wave(musicSequencer::sampleRate);
        music.mix(wave.data(), static_cast<int>(wave.size()));
        wave.resize(musicSequencer(musicScore::piece(piece)).loopLength());
        music.mix(wave.data(), static_cast<int>(wave.size()));
        const loudness level = loudnessOf(wave, 0x8000);
        std::printf("| %s | %.1f s | %.1f dBFS | %.1f dBFS |\n", musicScore::piece(piece).name,
                    static_cast<double>(wave.size()) / musicSequencer::sampleRate,
                    decibels(level.peak), decibels(level.rms));
    }
}

// What a listener would check by ear: how long, how loud at the top and on
// average, and whether the ends are silent.
int measure()
{
    std::printf("| effect | length | peak | RMS | first / last sample |\n|---|---|---|---|---|\n");
    for (int effect = 0; effect < soundEffectCount; ++effect) {
        const std::vector<std::int16_t> wave = synthesiseEffect(effect);
        const loudness level = loudnessOf(wave, 0);
        std::printf("| %s | %.1f ms | %.1f dBFS | %.1f dBFS | %d / %d |\n", effectNames[effect],
                    wave.size() * 1000.0 / sndLayout::sampleRate, decibels(level.peak),
                    decibels(level.rms), wave.front(), wave.back());
    }
    measureMusic();
    return 0;
}

int writeSounds(const char* path)
{
    std::vector<NamedSample> sounds;
    for (int effect = 0; effect < soundEffectCount; ++effect)
        sounds.push_back({objectName(effect), sndLayout::sampleRate, synthesiseEffect(effect)});
    if (!writeDatafile(path, sounds)) {
        std::fprintf(stderr, "sndbuilder: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output.dat> | %s --measure\n", argv[0], argv[0]);
        return 2;
    }
    if (std::string(argv[1]) == "--measure")
        return measure();
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "sndbuilder: cannot start Allegro\n");
        return 1;
    }
    return writeSounds(argv[1]);
}
END_OF_MAIN()
