#include <gtest/gtest.h>

#include <allegro.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "behaviourTestKit.h"
#include "fifoGuard.h"
#include "scratchFolder.h"
#include "shell/dataObj.h"

namespace {

struct configResult {
    int resolutionX;
    int resolutionY;
    int colorDepth;
    bool windowed;
    int threshold;
    std::vector<int> keys;
};

configResult readFrom(const std::string& text)
{
    dataObj data;
    std::istringstream in(text);
    data.readConfig(in);
    configResult result;
    data.getVideoSettings()->getResolution(result.resolutionX, result.resolutionY);
    result.colorDepth = data.getVideoSettings()->getColorDepth();
    result.windowed = data.getVideoSettings()->getWindowed();
    result.threshold = data.getInputObj()->getControlThreshold();
    result.keys = *data.getInputObj()->getKeyMap();
    return result;
}

const std::vector<int> defaultKeys = {KEY_W,     KEY_S,   KEY_A,   KEY_D,
                                      KEY_SPACE, KEY_F10, KEY_TAB, KEY_ESC};

// Reads the configuration the way the game does, from the working directory:
// a fresh folder in which `make` makes broxConfig.txt, or not. False when
// the reading waited on a FIFO.
bool readInFolder(dataObj& data, const std::function<void(const char* name)>& make)
{
    const char* const name = "broxConfig.txt";
    inScratchFolder inScratch;
    if (!inScratch.entered()) {
        ADD_FAILURE() << "no folder to read the configuration in";
        return false;
    }
    make(name);
    const bool prompt = returnsWithoutWaitingOn(name, [&data] { data.readConfig(); });
    EXPECT_TRUE(inScratch.leave());
    return prompt;
}

// The same with broxConfig.txt holding the given text, or no file.
void readInFolder(dataObj& data, const char* fileText)
{
    readInFolder(data, [fileText](const char* name) {
        if (fileText != nullptr)
            std::ofstream(name) << fileText;
    });
}

// The aiming marker's angle after one step with the mouse movement, from
// angle 0, with the threshold as the configuration file gives it.
fixed markerAngleWith(const std::string& threshold, int mx, int my)
{
    behaviourBattle battle;
    std::istringstream config("controlThreshold " + threshold);
    battle.data.readConfig(config);
    unit* owner = battle.spawn(poleon, 250, 200);
    unit* marker = battle.spawn(aimMarker, 250, 200, owner->getUnitID());
    battle.moveMouse(mx, my);
    battle.run();
    return marker->getDrawAngle();
}

}  // namespace

TEST(ConfigTest, DefaultsWhenTheFileIsMissing)
{
    dataObj data;
    readInFolder(data, nullptr);

    EXPECT_EQ(data.getVideoSettings()->getResolutionX(), 640);
    EXPECT_EQ(data.getVideoSettings()->getResolutionY(), 480);
    EXPECT_EQ(data.getVideoSettings()->getColorDepth(), 24);
    EXPECT_FALSE(data.getVideoSettings()->getWindowed());
    EXPECT_EQ(data.getInputObj()->getControlThreshold(), 0);
    EXPECT_EQ(*data.getInputObj()->getKeyMap(), defaultKeys);
}

TEST(ConfigTest, ReadsTheFileFromTheWorkingDirectory)
{
    dataObj data;
    readInFolder(data, "resolution 800\nwindowed 1\ncolorDepth 32\n");

    EXPECT_EQ(data.getVideoSettings()->getResolutionX(), 800);
    EXPECT_EQ(data.getVideoSettings()->getResolutionY(), 600);
    EXPECT_TRUE(data.getVideoSettings()->getWindowed());
    EXPECT_EQ(data.getVideoSettings()->getColorDepth(), 32);
}

TEST(ConfigTest, ResolutionChoices)
{
    EXPECT_EQ(readFrom("resolution 1024").resolutionX, 1024);
    EXPECT_EQ(readFrom("resolution 1024").resolutionY, 768);
    const configResult unknown = readFrom("resolution 800 resolution 1280");
    EXPECT_EQ(unknown.resolutionX, 640);
    EXPECT_EQ(unknown.resolutionY, 480);
    EXPECT_EQ(readFrom("resolution 800\nresolution 1024").resolutionX, 1024);
    // The number stops at the letter; "x600" is then an unknown word.
    const configResult word = readFrom("resolution 800x600 windowed 1");
    EXPECT_EQ(word.resolutionX, 800);
    EXPECT_EQ(word.resolutionY, 600);
    EXPECT_TRUE(word.windowed);
}

TEST(ConfigTest, DepthAndWindowedChoices)
{
    EXPECT_EQ(readFrom("colorDepth 16").colorDepth, 24);
    EXPECT_EQ(readFrom("colorDepth 8").colorDepth, 24);
    EXPECT_EQ(readFrom("colorDepth 32").colorDepth, 32);
    EXPECT_FALSE(readFrom("windowed 2").windowed);
    EXPECT_TRUE(readFrom("windowed 1").windowed);
    EXPECT_FALSE(readFrom("windowed 1 windowed 0").windowed);
    EXPECT_EQ(readFrom("controlThreshold -7").threshold, -7);
}

TEST(ConfigTest, UnknownWordsAreSkippedOneByOne)
{
    // A capital R is not the key: both words are skipped.
    EXPECT_EQ(readFrom("Resolution 800").resolutionX, 640);
    // An unknown key with a value skips both words...
    EXPECT_EQ(readFrom("fullscreen 1 colorDepth 32").colorDepth, 32);
    // ...but a key name right after an unknown word is read as a key.
    EXPECT_EQ(readFrom("fullscreen resolution 1024").resolutionX, 1024);
    // Numbers where a key is expected are words like any other.
    const configResult numbers = readFrom("12 34 resolution 800 keyUp 17");
    EXPECT_EQ(numbers.resolutionX, 800);
    EXPECT_EQ(numbers.keys[keyUp], KEY_Q);
}

TEST(ConfigTest, KeyRemapping)
{
    std::vector<int> expected = defaultKeys;
    EXPECT_EQ(readFrom("keyUp -1").keys, expected);
    expected[keyUp] = KEY_Q;
    EXPECT_EQ(readFrom("keyUp 17").keys, expected);
    // A key and its value split over lines read like one line.
    EXPECT_EQ(readFrom("keyUp\n\n   17\n").keys, expected);

    const configResult all =
        readFrom("keyUp 38 keyDown 39 keyLeft 40 keyRight 41 keyDefense 42 keyMenu 43");
    EXPECT_EQ(all.keys, (std::vector<int>{38, 39, 40, 41, 42, 43, KEY_TAB, KEY_ESC}));
}

TEST(ConfigTest, KeyCodesOutsideTheKeyboardAreIgnored)
{
    const configResult result =
        readFrom("keyUp 0 keyDown -2 keyLeft " + std::to_string(KEY_MAX) + " keyRight 5");
    EXPECT_EQ(result.keys[keyUp], KEY_W);
    EXPECT_EQ(result.keys[keyDown], KEY_S);
    EXPECT_EQ(result.keys[keyLeft], KEY_A);
    EXPECT_EQ(result.keys[keyRight], KEY_E);
}

TEST(ConfigTest, AFaultyValueEndsTheReadingAndKeepsWhatCameBefore)
{
    const configResult notNumber = readFrom("resolution 800 keyUp 17 windowed yes colorDepth 32");
    EXPECT_EQ(notNumber.resolutionX, 800);
    EXPECT_EQ(notNumber.keys[keyUp], KEY_Q);
    EXPECT_FALSE(notNumber.windowed);
    EXPECT_EQ(notNumber.colorDepth, 24);

    const configResult missing = readFrom("resolution 1024 windowed");
    EXPECT_EQ(missing.resolutionX, 1024);
    EXPECT_FALSE(missing.windowed);

    const configResult tooLarge = readFrom("windowed 1 controlThreshold 99999999999 colorDepth 32");
    EXPECT_TRUE(tooLarge.windowed);
    EXPECT_EQ(tooLarge.threshold, 0);
    EXPECT_EQ(tooLarge.colorDepth, 24);
}

// FIFOs are Linux files; Windows has none to give the game.
#ifndef _WIN32
TEST(ConfigTest, AConfigurationThatIsNotARegularFileCountsAsNone)
{
    // A FIFO would hold up the start until something wrote to it.
    dataObj data;
    EXPECT_TRUE(readInFolder(data, [](const char* name) { ASSERT_EQ(mkfifo(name, 0644), 0); }));
    EXPECT_EQ(data.getVideoSettings()->getResolutionX(), 640);
    EXPECT_EQ(*data.getInputObj()->getKeyMap(), defaultKeys);
}
#endif

TEST(ConfigTest, AnyThresholdIsUsableByTheAimingMarker)
{
    const fixed snapped = itofix(64);
    const fixed tenth = itofix(64) / 10;
    // A threshold beyond the fixed-point range is above every movement,
    // even the largest the marker can tell...
    const int fastest = 40000;
    EXPECT_EQ(markerAngleWith("32767", fastest, 0), snapped);
    for (const char* threshold : {"32768", "40000", "65536", "2147483647"})
        EXPECT_EQ(markerAngleWith(threshold, fastest, 0), tenth) << threshold;
    // ...and any negative one below the slowest movement that turns it.
    EXPECT_EQ(markerAngleWith("2", 2, 0), tenth);
    for (const char* threshold : {"-1", "-32767", "-32768", "-40000", "-65536", "-2147483648"})
        EXPECT_EQ(markerAngleWith(threshold, 2, 0), snapped) << threshold;
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
