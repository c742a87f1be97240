#include "dataObj.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "battle/screenFit.h"

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

// A number too large to read, as against a word that is no number at all.
bool startsWithDigits(const std::string& word)
{
    const std::size_t first = word[0] == '-' || word[0] == '+' ? 1 : 0;
    return first < word.size() && std::isdigit(static_cast<unsigned char>(word[first]));
}

// Where and why the reading ended early, in words for the player: the
// value after `key`, which ends at `keyEnd` in the text, is unusable.
std::string describeStop(const std::string& text, std::size_t keyEnd, const std::string& key)
{
    const auto line = 1 + std::count(text.begin(), text.begin() + keyEnd, '\n');
    std::istringstream rest(text.substr(keyEnd));
    std::string found;
    rest >> found;
    std::string why;
    if (found.empty())
        why = "the file ends where its value belongs";
    else if (startsWithDigits(found))
        why = "its value " + found + " is too large";
    else
        why = "its value \"" + found + "\" is not a whole number";
    return "line " + std::to_string(line) + ": " + key + ": " + why
           + "; the game stops reading there, and ignores every setting after it";
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

void dataObj::readConfig(std::istream& file)
{
    // The whole text is kept so that a stop can be told by its line.
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::istringstream in(text);
    std::vector<int> keys(keySlotCount, -1);
    bool anyKeyRead = false;
    std::string word;
    int value = 0;
    configStop.clear();
    // A value that is missing, not a number or too large ends the reading;
    // what was read before it stands.
    while (in >> word) {
        const auto& known = configKeys();
        if (std::find(known.begin(), known.end(), word) == known.end())
            continue;
        const int slot = keySlotOf(word);
        const std::size_t keyEnd = in.eof() ? text.size() : static_cast<std::size_t>(in.tellg());
        if (!(in >> value)) {
            configStop = describeStop(text, keyEnd, word);
            break;
        }
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
        } else if (word == "windowScale") {
            video->setWindowScale(value >= 0 && value <= screenFit::maxWindowScale ? value : 1);
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

const std::string& dataObj::getConfigStop() const { return configStop; }

const std::vector<std::string>& dataObj::configKeys()
{
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> list = {"resolution", "colorDepth", "windowed", "windowScale",
                                         "controlThreshold"};
        list.insert(list.end(), std::begin(keyNames), std::end(keyNames));
        list.insert(list.end(), {"soundVolume", "musicVolume", "joystick", "joyDeadZone"});
        list.insert(list.end(), std::begin(padAxisNames), std::end(padAxisNames));
        list.insert(list.end(), std::begin(padButtonNames), std::end(padButtonNames));
        return list;
    }();
    return keys;
}

int dataObj::getConfigValue(const std::string& setting) const
{
    const gamepad& pad = *input->getGamepad();
    const int slot = keySlotOf(setting);
    const int axisRole = indexOf(padAxisNames, setting);
    const int buttonRole = indexOf(padButtonNames, setting);
    if (slot >= 0)
        return (*input->getKeyMap())[slot];
    if (axisRole >= 0)
        return pad.getAxis(static_cast<gamepad::axisRole>(axisRole));
    if (buttonRole >= 0)
        return pad.getButton(static_cast<gamepad::buttonRole>(buttonRole));
    const std::pair<const char*, int> others[] = {
        {"resolution", video->getResolutionX()},
        {"colorDepth", video->getColorDepth()},
        {"windowed", video->getWindowed() ? 1 : 0},
        {"windowScale", video->getWindowScale()},
        {"controlThreshold", input->getControlThreshold()},
        {"soundVolume", soundVolume},
        {"musicVolume", musicVolume},
        {"joystick", pad.isEnabled() ? 1 : 0},
        {"joyDeadZone", pad.getDeadZone()}};
    for (const auto& [name, value] : others)
        if (setting == name)
            return value;
    return -1;
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
