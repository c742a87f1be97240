#include "dataObj.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char* const configFileName = "broxConfig.txt";

// The configuration keys of the six remappable key map slots, in slot order.
const char* const keyNames[] = {"keyUp", "keyDown", "keyLeft", "keyRight", "keyDefense", "keyMenu"};
constexpr int remappableKeys = 6;

int keySlotOf(const std::string& word)
{
    for (int slot = 0; slot < remappableKeys; ++slot)
        if (word == keyNames[slot])
            return slot;
    return -1;
}

// The pad's configuration keys, in the order of gamepad's axis and button roles.
const char* const padAxisNames[gamepad::axisRoleCount] = {
    "joyMoveAxisX", "joyMoveAxisY", "joyDpadAxisX", "joyDpadAxisY",
    "joyAimAxisX",  "joyAimAxisY",  "joyFireAxis",  "joyOrbitersAxis"};
const char* const padButtonNames[gamepad::buttonRoleCount] = {"joyFire", "joyOrbiters", "joyBlast",
                                                              "joyPause", "joyRestart"};

template <std::size_t count> int indexOf(const char* const (&names)[count], const std::string& word)
{
    const auto found = std::find(std::begin(names), std::end(names), word);
    return found == std::end(names) ? -1 : static_cast<int>(found - std::begin(names));
}

bool isPadWord(const std::string& word)
{
    return indexOf(padAxisNames, word) >= 0 || indexOf(padButtonNames, word) >= 0
           || word == "joyDeadZone" || word == "joystick";
}

// Values a pad cannot use leave the setting as it was.
void applyPadSetting(gamepad& pad, const std::string& word, int value)
{
    const int axisRole = indexOf(padAxisNames, word);
    const int buttonRole = indexOf(padButtonNames, word);
    if (axisRole >= 0)
        pad.setAxis(static_cast<gamepad::axisRole>(axisRole), value);
    else if (buttonRole >= 0)
        pad.setButton(static_cast<gamepad::buttonRole>(buttonRole), value);
    else if (word == "joyDeadZone")
        pad.setDeadZone(value);
    else if (value == 0 || value == 1)
        pad.setEnabled(value == 1);
}

}  // namespace

dataObj::dataObj()
    : video(std::make_unique<videoSettings>()),
      input(std::make_unique<inputObj>()),
      battleArena(std::make_unique<arena>())
{
}

dataObj::~dataObj() { releaseDatafile(); }

void dataObj::readConfig()
{
    // Anything but a regular file counts as no file: a FIFO or a device
    // would hold up the start.
    std::error_code error;
    if (!std::filesystem::is_regular_file(configFileName, error))
        return;
    std::ifstream file(configFileName);
    if (file)
        readConfig(file);
}

void dataObj::readConfig(std::istream& in)
{
    std::vector<int> keys(keySlotCount, -1);
    bool anyKeyRead = false;
    std::string word;
    int value = 0;
    // A value that is missing, not a number or too large ends the reading;
    // what was read before it stands.
    while (in >> word) {
        const int slot = keySlotOf(word);
        const bool known = slot >= 0 || word == "resolution" || word == "colorDepth"
                           || word == "windowed" || word == "controlThreshold"
                           || word == "soundVolume" || word == "musicVolume" || isPadWord(word);
        if (!known)
            continue;
        if (!(in >> value))
            break;
        if (word == "resolution") {
            if (value == 800)
                video->setResolution(800, 600);
            else if (value == 1024)
                video->setResolution(1024, 768);
            else
                video->setResolution(640, 480);
        } else if (word == "colorDepth") {
            video->setColorDepth(value == 32 ? 32 : 24);
        } else if (word == "windowed") {
            video->setWindowed(value == 1);
        } else if (word == "controlThreshold") {
            input->setControlThreshold(value);
        } else if (word == "soundVolume") {
            soundVolume = std::clamp(value, 0, 255);
        } else if (word == "musicVolume") {
            musicVolume = std::clamp(value, 0, 255);
        } else if (isPadWord(word)) {
            applyPadSetting(*input->getGamepad(), word, value);
        } else {
            keys[slot] = value;
            anyKeyRead = true;
        }
    }
    if (anyKeyRead)
        input->setKeyMap(&keys);
}

videoSettings* dataObj::getVideoSettings() { return video.get(); }

void dataObj::setVideoSettings(videoSettings* settings)
{
    if (settings != video.get())
        video.reset(settings);
}

inputObj* dataObj::getInputObj() { return input.get(); }

void dataObj::setInputObj(inputObj* newInput)
{
    if (newInput != input.get())
        input.reset(newInput);
}

arena* dataObj::getArena() { return battleArena.get(); }
int dataObj::getSoundVolume() const { return soundVolume; }
int dataObj::getMusicVolume() const { return musicVolume; }

void dataObj::setArena(arena* newArena)
{
    if (newArena != battleArena.get())
        battleArena.reset(newArena);
}

DATAFILE* dataObj::getDatafile() { return datafile; }

DATAFILE* dataObj::setDatafile(const char* name)
{
    releaseDatafile();
    datafile = load_datafile(name);
    return datafile;
}

void dataObj::releaseDatafile()
{
    if (datafile != nullptr)
        unload_datafile(datafile);
    datafile = nullptr;
}
