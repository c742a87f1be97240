#include <gtest/gtest.h>

#include <allegro.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "scratchFolder.h"
#include "settings/settingsFile.h"
#include "shell/configTable.h"
#include "shell/dataObj.h"

namespace {

namespace fs = std::filesystem;

// Each test works in a scratch folder of its own, as the settings program
// and the game work in theirs.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(here.entered()); }

    static void writeFile(const std::string& text)
    {
        std::ofstream(settingsFile::fileName, std::ios::binary) << text;
    }
    static std::string fileText()
    {
        std::ifstream in(settingsFile::fileName, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    inScratchFolder here;
};

// A value other than the default for every key, each one the game uses as
// it is written.
const std::map<std::string, int> changed = {
    {"resolution", 1024},      {"colorDepth", 32},       {"windowed", 1},
    {"windowScale", 2},        {"controlThreshold", 12}, {"keyUp", KEY_I},
    {"keyDown", KEY_K},        {"keyLeft", KEY_J},       {"keyRight", KEY_L},
    {"keyDefense", KEY_ENTER}, {"keyMenu", KEY_F5},      {"soundVolume", 40},
    {"musicVolume", 0},        {"joystick", 0},          {"joyDeadZone", 60},
    {"joyMoveAxisX", 2},       {"joyMoveAxisY", 3},      {"joyDpadAxisX", 10},
    {"joyDpadAxisY", 11},      {"joyAimAxisX", 0},       {"joyAimAxisY", 1},
    {"joyFireAxis", 13},       {"joyOrbitersAxis", 14},  {"joyFire", 31},
    {"joyOrbiters", 1},        {"joyBlast", -1},         {"joyPause", 9},
    {"joyRestart", 8}};

TEST_F(SettingsFileTest, EveryKeyWrittenIsReadBackByTheGameOnceInTheReadersOrder)
{
    settingsFile settings;
    settings.load();
    ASSERT_EQ(changed.size(), configTable::keys().size()) << "a key without a test value";
    for (const auto& entry : configTable::keys()) {
        const std::string setting = entry.name;
        ASSERT_NE(settings.get(setting), changed.at(setting)) << setting << " is at its default";
        EXPECT_EQ(settings.set(setting, changed.at(setting)), "") << setting;
    }
    ASSERT_EQ(settings.save(), "");

    dataObj game;
    game.readConfig();
    EXPECT_EQ(game.getConfigStop(), "");
    std::istringstream lines(fileText());
    std::string word;
    int value = 0;
    for (const auto& entry : configTable::keys()) {
        const std::string setting = entry.name;
        EXPECT_EQ(game.getConfigValue(setting), changed.at(setting)) << setting;
        ASSERT_TRUE(lines >> word >> value);
        EXPECT_EQ(word, setting);
    }
    EXPECT_FALSE(lines >> word) << "more than every key once";
    EXPECT_FALSE(fs::exists(std::string(settingsFile::fileName) + ".new"));

    settingsFile again;
    again.load();
    EXPECT_EQ(again.text(), settings.text());
}

// The settings program reads with the table's rules, the game with its
// objects: both must end with the same values, defaults included.
TEST(SettingsFileReadingTest, EveryFileGivesTheValuesTheGamePlaysWith)
{
    const char* const files[] = {
        "",
        "resolution 1280 colorDepth 16 windowed 2 controlThreshold -40000 soundVolume 300 "
        "musicVolume -5 joystick 5 joyDeadZone 95 joyAimAxisX 15 joyDpadAxisY -1",
        "keyUp 17 keyUp 0 keyDown -1 keyLeft 200 keyRight 16 joyFire 3 joyFire 99 joyPause 31",
        "resolution 800x600 Resolution 1024 12 13 joystick 0 joyDeadZone 90 keyMenu",
        "resolution 1024 colorDepth 32 windowed 1 keyDefense 59 soundVolume 0 joyRestart -1"};
    for (const char* text : files) {
        std::istringstream forGame(text);
        std::istringstream forProgram(text);
        dataObj game;
        game.readConfig(forGame);
        settingsFile program;
        program.load(forProgram);
        EXPECT_EQ(program.getReadingStop(), game.getConfigStop()) << text;
        for (const auto& entry : configTable::keys())
            EXPECT_EQ(program.get(entry.name), game.getConfigValue(entry.name))
                << entry.name << " after \"" << text << "\"";
    }
}

TEST_F(SettingsFileTest, RefusalsSayWhyAndChangeNothing)
{
    const std::string original = "resolution 800\nkeyUp 17\n";
    writeFile(original);
    settingsFile settings;
    settings.load();
    const std::string before = settings.text();
    const std::pair<const char*, const char*> refused[] = {
        {"fullscreen=1", "no setting \"fullscreen\""},
        {"resolution=1280", "resolution is 640, 800 or 1024, not 1280"},
        {"soundVolume=256", "soundVolume is 0 to 255, not 256"},
        {"joyFire=32", "joyFire is -1 to 31, not 32"},
        {"windowed=yes", "\"yes\" is not a whole number"},
        {"keyDefense=TAB", "TAB is fixed"},
        {"keyDefense=59", "ESC is fixed"},
        {"keyDefense=m", "M is fixed"},
        {"keyDefense=KEYQ", "not a whole number or a key name"},
        {"keyDefense=S", "S is already the key of keyDown"},
        {"keyDown=q", "Q is already the key of keyUp"},
        {"keyMenu", "is not key=value"}};
    for (const auto& [assignment, why] : refused)
        EXPECT_NE(settings.assign(assignment).find(why), std::string::npos) << assignment;
    EXPECT_EQ(settings.text(), before);
    EXPECT_EQ(fileText(), original);

    EXPECT_EQ(settings.assign("keyDefense=f1"), "");
    EXPECT_EQ(settings.get("keyDefense"), KEY_F1);
}

TEST_F(SettingsFileTest, AHandEditedClashIsToldByItsLineAndKeysSwapInOneCall)
{
    writeFile("resolution 800\nkeyUp 19\nkeyDown 19\n\nkeyMenu 64\n");
    settingsFile settings;
    settings.load();
    const std::vector<std::string> clashes = settings.conflicts();
    ASSERT_EQ(clashes.size(), 2u);
    EXPECT_EQ(clashes[0].rfind("line 3: keyDown: S is already the key of keyUp", 0), 0u)
        << clashes[0];
    EXPECT_EQ(clashes[1].rfind("line 5: keyMenu: TAB is fixed", 0), 0u) << clashes[1];

    // Mended in one call, then swapped in one: checked once all are made.
    EXPECT_EQ(settings.assignAll({"keyUp=W", "keyMenu=F10"}), "");
    EXPECT_TRUE(settings.conflicts().empty());
    EXPECT_EQ(settings.assignAll({"keyUp=S", "keyDown=W"}), "");
    EXPECT_EQ(settings.get("keyUp"), KEY_S);
    EXPECT_EQ(settings.get("keyDown"), KEY_W);
    // A clash left after all the changes refuses every one of them.
    EXPECT_NE(settings.assignAll({"resolution=1024", "keyLeft=W"}).find("W is already the key"),
              std::string::npos);
    EXPECT_EQ(settings.get("resolution"), 800);
    EXPECT_EQ(settings.get("keyLeft"), KEY_A);
}

TEST_F(SettingsFileTest, AFileThatCannotBeWrittenIsKeptAsItWas)
{
    writeFile("resolution 800\n");
    // The temporary file's place is taken by a folder, so nothing can be
    // written there, not even by root.
    fs::create_directory(std::string(settingsFile::fileName) + ".new");
    settingsFile settings;
    settings.load();
    ASSERT_EQ(settings.set("resolution", 1024), "");
    const std::string failed = settings.save();
    EXPECT_NE(failed.find("cannot write"), std::string::npos) << failed;
    EXPECT_NE(failed.find("nothing was saved"), std::string::npos) << failed;
    EXPECT_EQ(fileText(), "resolution 800\n");
}

TEST_F(SettingsFileTest, WhereTheGamesReaderStoppedIsToldByLineKeyAndWord)
{
    writeFile("resolution 800\n# keys\nkeyUp I\nwindowed 1\n");
    settingsFile settings;
    settings.load();
    EXPECT_EQ(settings.getReadingStop(),
              "line 3: keyUp: its value \"I\" is not a whole number; the game stops reading "
              "there, and ignores every setting after it");
    // The values shown are those the game plays with: nothing after the stop.
    EXPECT_EQ(settings.get("resolution"), 800);
    EXPECT_EQ(settings.get("windowed"), 0);

    writeFile("soundVolume\n 99999999999 windowed 1");
    settings.load();
    EXPECT_NE(
        settings.getReadingStop().find("line 1: soundVolume: its value 99999999999 is too large"),
        std::string::npos)
        << settings.getReadingStop();
    writeFile("windowed 1\r\nmusicVolume -99999999999");
    settings.load();
    EXPECT_NE(
        settings.getReadingStop().find("line 2: musicVolume: its value -99999999999 is too large"),
        std::string::npos)
        << settings.getReadingStop();
    writeFile("windowed 1 colorDepth");
    settings.load();
    EXPECT_NE(settings.getReadingStop().find("colorDepth: the file ends where its value belongs"),
              std::string::npos)
        << settings.getReadingStop();
    EXPECT_EQ(settings.get("windowed"), 1);
    writeFile("windowed 1 colorDepth 32\n");
    settings.load();
    EXPECT_EQ(settings.getReadingStop(), "");
}

TEST_F(SettingsFileTest, TheDefaultsAreWrittenByteForByteAndEveryRangeTakesItsEndsOnly)
{
    // DirectInput numbers a pad's axes otherwise than Linux's joystick driver.
#ifdef ALLEGRO_WINDOWS
    const std::string padAxes = "joyDpadAxisX 3\njoyDpadAxisY 4\njoyAimAxisX -1\njoyAimAxisY -1\n"
                                "joyFireAxis -1\n";
#else
    const std::string padAxes = "joyDpadAxisX 6\njoyDpadAxisY 7\njoyAimAxisX 3\njoyAimAxisY 4\n"
                                "joyFireAxis 5\n";
#endif
    settingsFile settings;
    settings.load();
    ASSERT_EQ(settings.save(), "");
    EXPECT_EQ(fileText(),
              "resolution 640\ncolorDepth 24\nwindowed 0\ncontrolThreshold 0\nkeyUp 23\n"
              "keyDown 19\nkeyLeft 1\nkeyRight 4\nkeyDefense 75\nkeyMenu 56\nwindowScale 1\n"
              "soundVolume 192\nmusicVolume 128\njoystick 1\njoyDeadZone 25\njoyMoveAxisX 0\n"
              "joyMoveAxisY 1\n"
                  + padAxes
                  + "joyOrbitersAxis 2\njoyFire 5\njoyOrbiters 4\njoyBlast 0\njoyPause 7\n"
                    "joyRestart 6\n");

    struct range {
        const char* setting;
        std::vector<int> taken;
        std::vector<int> refused;
    };
    const int lastAxis = MAX_JOYSTICK_STICKS * MAX_JOYSTICK_AXIS - 1;
    for (const range& r :
         {range{"resolution", {640, 800, 1024}, {0, 1280}}, range{"colorDepth", {24, 32}, {16}},
          range{"windowed", {0, 1}, {-1, 2}}, range{"windowScale", {0, 4}, {-1, 5}},
          range{"joystick", {0, 1}, {-1, 2}}, range{"controlThreshold", {-1, 32768}, {-2, 32769}},
          range{"soundVolume", {0, 255}, {-1, 256}}, range{"musicVolume", {0, 255}, {-1, 256}},
          range{"joyDeadZone", {0, 90}, {-1, 91}},
          range{"joyMoveAxisX", {-1, lastAxis}, {-2, lastAxis + 1}},
          range{"joyOrbitersAxis", {-1, lastAxis}, {-2, lastAxis + 1}},
          range{"joyFire", {-1, MAX_JOYSTICK_BUTTONS - 1}, {-2, MAX_JOYSTICK_BUTTONS}},
          range{"joyRestart", {-1, MAX_JOYSTICK_BUTTONS - 1}, {-2, MAX_JOYSTICK_BUTTONS}},
          range{"keyLeft", {1, KEY_MAX - 1}, {0, KEY_MAX}}}) {
        for (const int value : r.taken) {
            EXPECT_EQ(settings.set(r.setting, value), "") << r.setting << " " << value;
            EXPECT_EQ(settings.get(r.setting), value) << r.setting;
        }
        for (const int value : r.refused) {
            EXPECT_NE(settings.set(r.setting, value), "") << r.setting << " " << value;
            EXPECT_EQ(settings.get(r.setting), r.taken.back()) << r.setting;
        }
    }
    // A key set again to the key it has is no clash; a number is all digits.
    EXPECT_EQ(settings.assign("keyUp=W"), "");
    EXPECT_NE(settings.assign("soundVolume=12abc"), "");
    EXPECT_NE(settings.assign("soundVolume=W"), "") << "a key's name for a number";
    EXPECT_EQ(settings.assign("soundVolume=12"), "");
    EXPECT_EQ(settings.get("soundVolume"), 12);
}

}  // namespace
