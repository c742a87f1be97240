#include <gtest/gtest.h>

#include <allegro.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "allegroTestEnv.h"
#include "dataObj.h"
#include "datafileInspector.h"
#include "sndLayout.h"
#include "soundDevice.h"

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

// A compressed datafile of silent samples; a declared length other than
// the stored one makes a damaged sample.
void writeSampleFile(const char* name, int samples, std::uint32_t declaredLength = 4)
{
    std::vector<unsigned char> bytes;
    putBig(bytes, DAT_MAGIC, 4);
    putBig(bytes, samples, 4);
    for (int index = 0; index < samples; ++index) {
        putBig(bytes, DAT_SAMPLE, 4);
        putBig(bytes, 8 + 2 * 4, 4);
        putBig(bytes, 8 + 2 * 4, 4);
        putBig(bytes, 16, 2);
        putBig(bytes, 22050, 2);
        putBig(bytes, index == samples - 1 ? declaredLength : 4, 4);
        bytes.insert(bytes.end(), 2 * 4, 0x80);
    }
    PACKFILE* out = pack_fopen(name, F_WRITE_PACKED);
    ASSERT_NE(out, nullptr);
    pack_fwrite(bytes.data(), static_cast<long>(bytes.size()), out);
    pack_fclose(out);
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

TEST(SoundDataTest, TheFileCheckRefusesWhatWouldNotPlay)
{
    scratchFolder folder;
    writeSampleFile("sndData.dat", soundEffectCount);
    EXPECT_EQ(datafileInspector::soundFileProblem("sndData.dat", soundEffectCount), "");
    writeSampleFile("short.dat", soundEffectCount - 1);
    EXPECT_EQ(datafileInspector::soundFileProblem("short.dat", soundEffectCount),
              "it holds 12 objects, 13 are needed");
    writeSampleFile("damaged.dat", soundEffectCount, 5);
    EXPECT_EQ(datafileInspector::soundFileProblem("damaged.dat", soundEffectCount),
              "object 12: its sample is damaged");
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
    const bool startedAtZero = sound.start(0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(startedAtZero);

    testing::internal::CaptureStderr();
    const bool startedWithoutFile = sound.start(192);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Playing without sound: sndData.dat was not found\n");
    EXPECT_FALSE(startedWithoutFile);

    writeSampleFile("sndData.dat", soundEffectCount, 5);
    testing::internal::CaptureStderr();
    const bool startedDamaged = sound.start(192);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Playing without sound: sndData.dat is unusable: object 12: its sample is damaged\n");
    EXPECT_FALSE(startedDamaged);
    sound.play(soundBolt, 128);  // nothing to play, and nothing breaks

    sound.followMuteKey(true);
    sound.followMuteKey(true);
    EXPECT_TRUE(sound.isMuted()) << "a held key toggles once";
    sound.followMuteKey(false);
    sound.followMuteKey(true);
    EXPECT_FALSE(sound.isMuted());
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
    dataObj data;
    std::istringstream in("soundVolume 10 resolution 1024 keyUp 17");
    data.readConfig(in);
    EXPECT_EQ(data.getVideoSettings()->getResolutionX(), 1024);
    EXPECT_EQ((*data.getInputObj()->getKeyMap())[keyUp], 17);
}
