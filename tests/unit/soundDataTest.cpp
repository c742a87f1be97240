#include <gtest/gtest.h>

#include <allegro.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "allegroTestEnv.h"
#include "audio/sndLayout.h"
#include "audio/soundDevice.h"
#include "shell/dataObj.h"
#include "shell/datafileInspector.h"

namespace {

// A working folder of its own for one test, left again at its end.
class scratchFolder {
public:
    scratchFolder()
    {
        ensureHeadlessAllegro();
        if (getcwd(previous, sizeof previous) == nullptr || mkdtemp(dir) == nullptr
            || chdir(dir) != 0)
            ADD_FAILURE() << "cannot make a scratch folder";
    }

    ~scratchFolder()
    {
        for (const char* name : {"sndData.dat", "short.dat", "damaged.dat"})
            std::remove(name);
        if (chdir(previous) != 0)
            ADD_FAILURE() << "cannot go back to " << previous;
        rmdir(dir);
    }

private:
    char dir[32] = "/tmp/broxsndXXXXXX";
    char previous[4096] = "";
};

void putBig(std::vector<unsigned char>& out, std::uint32_t value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

// The last sample of a test file: bits (negative for stereo), the frames
// stored and the frames its header declares.
struct sampleShape {
    int bits = 16;
    std::uint32_t frames = 4;
    std::uint32_t declaredFrames = 4;
};

// A compressed datafile of silent samples; a declared length other than
// the stored one makes a damaged sample.
void writeSampleFile(const char* name, int samples, sampleShape last = {})
{
    std::vector<unsigned char> bytes;
    putBig(bytes, DAT_MAGIC, 4);
    putBig(bytes, samples, 4);
    for (int index = 0; index < samples; ++index) {
        const sampleShape shape = index == samples - 1 ? last : sampleShape{};
        const std::uint32_t dataBytes =
            shape.frames * (shape.bits < 0 ? 2 : 1) * (std::abs(shape.bits) / 8);
        putBig(bytes, DAT_SAMPLE, 4);
        putBig(bytes, 8 + dataBytes, 4);
        putBig(bytes, 8 + dataBytes, 4);
        putBig(bytes, static_cast<std::uint16_t>(shape.bits), 2);
        putBig(bytes, 22050, 2);
        putBig(bytes, shape.declaredFrames, 4);
        bytes.insert(bytes.end(), dataBytes, 0x80);
    }
    PACKFILE* out = pack_fopen(name, F_WRITE_PACKED);
    ASSERT_NE(out, nullptr);
    pack_fwrite(bytes.data(), static_cast<long>(bytes.size()), out);
    pack_fclose(out);
}

// A sound card of the test's own in place of the system's drivers: Allegro
// drives it as it would a real one, and it remembers every voice started.
// Without it present, Allegro's autodetection ends on no driver at all.
class standInCard {
public:
    struct voice {
        unsigned long frames;
        int volume;
        int pan;
        bool operator==(const voice& other) const
        {
            return frames == other.frames && volume == other.volume && pan == other.pan;
        }
    };

    explicit standInCard(bool present) : previousList(system_driver->digi_drivers)
    {
        cardPresent = present;
        started.clear();
        system_driver->digi_drivers = [] { return drivers.data(); };
    }
    ~standInCard() { system_driver->digi_drivers = previousList; }
    standInCard(const standInCard&) = delete;
    standInCard& operator=(const standInCard&) = delete;

    void setPresent(bool present) { cardPresent = present; }
    const std::vector<voice>& voicesStarted() const { return started; }

private:
    static constexpr int voiceCount = 8;
    static constexpr int cardId = AL_ID('T', 'E', 'S', 'T');

    static DIGI_DRIVER makeDriver()
    {
        DIGI_DRIVER card{};
        card.id = cardId;
        card.name = card.desc = card.ascii_name = "stand-in card";
        card.max_voices = card.def_voices = voiceCount;
        card.detect = [](int) { return cardPresent ? TRUE : FALSE; };
        card.init = [](int, int voices) {
            driver.voices = voices;
            return 0;
        };
        card.exit = [](int) {};
        card.init_voice = [](int v, const SAMPLE* sample) { playing[v] = {sample->len, 0, 0}; };
        card.release_voice = [](int) {};
        card.start_voice = [](int v) { started.push_back(playing[v]); };
        card.stop_voice = [](int) {};
        card.loop_voice = [](int, int) {};
        card.get_position = [](int) { return -1; };  // every sound is over at once
        card.set_position = [](int, int) {};
        card.get_volume = [](int v) { return playing[v].volume; };
        card.set_volume = [](int v, int volume) { playing[v].volume = volume; };
        card.ramp_volume = [](int, int, int) {};
        card.stop_volume_ramp = [](int) {};
        card.get_frequency = [](int) { return 22050; };
        card.set_frequency = [](int, int) {};
        card.sweep_frequency = [](int, int, int) {};
        card.stop_frequency_sweep = [](int) {};
        card.get_pan = [](int v) { return playing[v].pan; };
        card.set_pan = [](int v, int pan) { playing[v].pan = pan; };
        card.sweep_pan = [](int, int, int) {};
        card.stop_pan_sweep = [](int) {};
        return card;
    }

    static inline bool cardPresent = false;
    static inline std::vector<voice> started;
    static inline voice playing[voiceCount]{};
    static inline DIGI_DRIVER driver = makeDriver();
    static inline std::array<_DRIVER_INFO, 2> drivers{{{cardId, &driver, TRUE}, {0, nullptr, 0}}};

    _DRIVER_INFO* (*previousList)();
};

void PrintTo(const standInCard::voice& played, std::ostream* out)
{
    *out << "{" << played.frames << " frames, volume " << played.volume << ", pan " << played.pan
         << "}";
}

struct levels {
    double peak = 0;
    double rms = 0;
    double edgePeak = 0;  // loudest in the first and last millisecond
};

levels measure(const SAMPLE& sound)
{
    const auto* data = static_cast<const std::uint16_t*>(sound.data);
    const unsigned long edge = sndLayout::sampleRate / 1000;
    levels result;
    double energy = 0;
    for (unsigned long i = 0; i < sound.len; ++i) {
        const double value = std::fabs(static_cast<double>(data[i]) - 0x8000);
        result.peak = std::max(result.peak, value);
        energy += value * value;
        if (i < edge || i >= sound.len - edge)
            result.edgePeak = std::max(result.edgePeak, value);
    }
    result.rms = std::sqrt(energy / sound.len);
    return result;
}

}  // namespace

TEST(SoundDataTest, EveryEffectHasItsLengthNoClippingAndSilentEnds)
{
    ensureHeadlessAllegro();
    ASSERT_EQ(datafileInspector::soundFileProblem(BROX_SNDDATA, soundEffectCount), "");
    DATAFILE* file = load_datafile(BROX_SNDDATA);
    ASSERT_EQ(datafileInspector::loadedSoundProblem(file, soundEffectCount), "");
    std::vector<levels> measured;
    for (int effect = 0; effect < soundEffectCount; ++effect) {
        SCOPED_TRACE(effect);
        const SAMPLE& sound = *static_cast<SAMPLE*>(file[effect].dat);
        EXPECT_EQ(sound.bits, 16);
        EXPECT_EQ(sound.stereo, 0);
        EXPECT_EQ(sound.freq, sndLayout::sampleRate);
        ASSERT_EQ(sound.len, static_cast<unsigned long>(sndLayout::sampleCount(effect)));
        const auto* data = static_cast<const std::uint16_t*>(sound.data);
        EXPECT_EQ(data[0], 0x8000);
        EXPECT_EQ(data[sound.len - 1], 0x8000);
        measured.push_back(measure(sound));
        // Headroom below full scale, loud enough to hear, and faded in and
        // out rather than cut, which clicks.
        EXPECT_LT(measured.back().peak, 32000);
        EXPECT_GT(measured.back().peak, 3000);
        EXPECT_LT(measured.back().edgePeak, 0.25 * measured.back().peak);
    }
    unload_datafile(file);
    // Bolts come six times a second: each is over before the next, and the
    // softest sound of all.
    EXPECT_LT(sndLayout::lengthMs[soundBolt], 1000 / 6);
    for (int effect = soundBolt + 1; effect < soundEffectCount; ++effect)
        EXPECT_LT(measured[soundBolt].rms, measured[effect].rms) << "effect " << effect;
}

namespace {

// How strongly one frequency sounds in a stretch of a sample (Goertzel),
// relative to full scale.
double strengthAt(const SAMPLE& sound, double hertz, int fromMs, int toMs)
{
    const auto* data = static_cast<const std::uint16_t*>(sound.data);
    const int first = fromMs * sndLayout::sampleRate / 1000;
    const int last = toMs * sndLayout::sampleRate / 1000;
    const double step = 2 * M_PI * hertz / sndLayout::sampleRate;
    double real = 0;
    double imaginary = 0;
    for (int i = first; i < last; ++i) {
        const double value = (static_cast<double>(data[i]) - 0x8000) / 0x8000;
        real += value * std::cos(step * i);
        imaginary += value * std::sin(step * i);
    }
    return 2 * std::hypot(real, imaginary) / (last - first);
}

}  // namespace

TEST(SoundDataTest, EffectsAreNamedInFileOrderAllDifferAndMixTheirParts)
{
    ensureHeadlessAllegro();
    DATAFILE* file = load_datafile(BROX_SNDDATA);
    ASSERT_EQ(datafileInspector::loadedSoundProblem(file, soundEffectCount), "");
    const auto bytesOf = [&](int effect) {
        const SAMPLE& sound = *static_cast<SAMPLE*>(file[effect].dat);
        const auto* data = static_cast<const unsigned char*>(sound.data);
        return std::vector<unsigned char>(data, data + sound.len * 2);
    };
    for (int effect = 0; effect < soundEffectCount; ++effect) {
        if (effect > 0) {
            EXPECT_LT(std::string(get_datafile_property(&file[effect - 1], DAT_NAME)),
                      get_datafile_property(&file[effect], DAT_NAME))
                << "a sorted listing would move effect " << effect;
        }
        for (int other = 0; other < effect; ++other)
            EXPECT_NE(bytesOf(effect), bytesOf(other)) << "effects " << other << " and " << effect;
    }
    // The won round ends on a chord of A5, C#6 and E6: every note of it is
    // heard together, none drowned by the one added last.
    const SAMPLE& won = *static_cast<SAMPLE*>(file[soundRoundWon].dat);
    for (const double note : {880.0, 1108.73, 1318.51})
        EXPECT_GT(strengthAt(won, note, 700, 900), 0.02) << note << " Hz";
    EXPECT_LT(strengthAt(won, 1000, 700, 900), 0.005) << "no note between them";
    unload_datafile(file);
}

TEST(SoundDataTest, TheFileCheckRefusesWhatWouldNotPlay)
{
    scratchFolder folder;
    writeSampleFile("sndData.dat", soundEffectCount);
    EXPECT_EQ(datafileInspector::soundFileProblem("sndData.dat", soundEffectCount), "");
    writeSampleFile("short.dat", soundEffectCount - 1);
    EXPECT_EQ(datafileInspector::soundFileProblem("short.dat", soundEffectCount),
              "it holds 12 objects, 13 are needed");
    writeSampleFile("damaged.dat", soundEffectCount, {16, 4, 5});
    EXPECT_EQ(datafileInspector::soundFileProblem("damaged.dat", soundEffectCount),
              "object 12: its sample is damaged");
    // Empty and 8-bit stereo samples are Allegro's own formats too.
    for (const sampleShape& shape : {sampleShape{16, 0, 0}, sampleShape{-8, 3, 3}}) {
        writeSampleFile("sndData.dat", soundEffectCount, shape);
        EXPECT_EQ(datafileInspector::soundFileProblem("sndData.dat", soundEffectCount), "")
            << shape.bits << " bits, " << shape.frames << " frames";
        DATAFILE* file = load_datafile("sndData.dat");
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(datafileInspector::loadedSoundProblem(file, soundEffectCount), "");
        // An object the loader could not make is missing, whatever its type.
        void* loaded = file[soundPause].dat;
        file[soundPause].dat = nullptr;
        EXPECT_EQ(datafileInspector::loadedSoundProblem(file, soundEffectCount),
                  "object " + std::to_string(soundPause) + " is not a sample");
        file[soundPause].dat = loaded;
        unload_datafile(file);
    }
    EXPECT_EQ(datafileInspector::soundFileProblem(BROX_PICDATA, soundEffectCount),
              "object 0 is not a sample");
    // Nor do samples pass for pictures.
    EXPECT_EQ(datafileInspector::fileProblem(BROX_SNDDATA), "it holds 13 objects, 55 are needed");
}

TEST(SoundDeviceTest, WithoutUsableSamplesTheGameIsSilentAfterOneLine)
{
    scratchFolder folder;
    soundDevice sound;
    testing::internal::CaptureStderr();
    const bool startedAtZero = sound.start(0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(startedAtZero);

    testing::internal::CaptureStderr();
    const bool startedWithoutFile = sound.start(192, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Playing without sound: sndData.dat was not found\n");
    EXPECT_FALSE(startedWithoutFile);

    writeSampleFile("sndData.dat", soundEffectCount, {16, 4, 5});
    testing::internal::CaptureStderr();
    const bool startedDamaged = sound.start(192, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Playing without sound: sndData.dat is unusable: object 12: its sample is damaged\n");
    EXPECT_FALSE(startedDamaged);
    sound.play(soundBolt, 128);  // nothing to play, and nothing breaks

    // Autodetection that ends on no driver, as on a machine without a sound
    // card, is no sound; and what it installed is gone again, so that a
    // card found later is used.
    // Removed first: mingw's copy_file refuses to overwrite whatever the options.
    std::remove("sndData.dat");
    std::filesystem::copy_file(BROX_SNDDATA, "sndData.dat");
    standInCard card(false);
    testing::internal::CaptureStderr();
    const bool startedWithoutDriver = sound.start(192, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Playing without sound: no sound device\n");
    EXPECT_FALSE(startedWithoutDriver);
    EXPECT_EQ(digi_card, DIGI_NONE);
    sound.play(soundBolt, 128);
    card.setPresent(true);
    EXPECT_TRUE(sound.start(192, 0));
    sound.play(soundBolt, 128);
    EXPECT_EQ(card.voicesStarted().size(), 1u);

    // The music needs no samples: without them only the effects are missing.
    std::remove("sndData.dat");
    soundDevice musicOnly;
    testing::internal::CaptureStderr();
    const bool startedForMusic = musicOnly.start(192, 128);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Playing without sound effects: sndData.dat was not found\n");
    EXPECT_TRUE(startedForMusic);
    EXPECT_FALSE(musicOnly.playsEffects());
    musicOnly.play(soundBolt, 128);
    EXPECT_EQ(card.voicesStarted().size(), 1u);
}

TEST(SoundConfigTest, VolumeIsReadLikeTheOtherKeysAndKeptInRange)
{
    struct reading {
        const char* text;
        int volume;
    };
    for (const reading& r :
         {reading{"", 192}, reading{"soundVolume 0", 0},
          reading{"windowed 1 soundVolume 77 resolution 800", 77}, reading{"soundVolume 999", 255},
          reading{"soundVolume -5", 0}, reading{"soundVolume loud", 192}}) {
        dataObj data;
        std::istringstream in(r.text);
        data.readConfig(in);
        EXPECT_EQ(data.getSoundVolume(), r.volume) << r.text;
    }
    for (const reading& r : {reading{"", 128}, reading{"musicVolume 0 soundVolume 9", 0},
                             reading{"musicVolume 300", 255}, reading{"musicVolume -1", 0}}) {
        dataObj data;
        std::istringstream in(r.text);
        data.readConfig(in);
        EXPECT_EQ(data.getMusicVolume(), r.volume) << r.text;
    }
    dataObj data;
    std::istringstream in("soundVolume 10 musicVolume 20 resolution 1024 keyUp 17");
    data.readConfig(in);
    EXPECT_EQ(data.getVideoSettings()->getResolutionX(), 1024);
    EXPECT_EQ((*data.getInputObj()->getKeyMap())[keyUp], 17);
}

TEST(SoundDeviceTest, EachEffectPlaysAtTheVolumeFromItsPlace)
{
    scratchFolder folder;
    std::filesystem::copy_file(BROX_SNDDATA, "sndData.dat");
    standInCard card(true);
    soundDevice sound;
    ASSERT_TRUE(sound.start(77, 0));
    sound.play(soundBolt, 30);
    sound.play(soundBlast, 220);
    // Numbers that are no effect play nothing.
    sound.play(-1, 128);
    sound.play(soundEffectCount, 128);
    const auto framesOf = [](int effect) {
        return static_cast<unsigned long>(sndLayout::sampleCount(effect));
    };
    const std::vector<standInCard::voice> heard{{framesOf(soundBolt), 77, 30},
                                                {framesOf(soundBlast), 77, 220}};
    EXPECT_EQ(card.voicesStarted(), heard);
}
