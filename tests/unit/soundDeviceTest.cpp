#include <gtest/gtest.h>

#include <allegro.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "allegroTestEnv.h"
#include "audio/sndLayout.h"
#include "audio/soundDevice.h"
#include "sampleFile.h"
#include "scratchFolder.h"

namespace {

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

}  // namespace

TEST(SoundDeviceTest, WithoutUsableSamplesTheGameIsSilentAfterOneLine)
{
    ensureHeadlessAllegro();
    inScratchFolder here;
    ASSERT_TRUE(here.entered());
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

TEST(SoundDeviceTest, EachEffectPlaysAtTheVolumeFromItsPlace)
{
    ensureHeadlessAllegro();
    inScratchFolder here;
    ASSERT_TRUE(here.entered());
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
