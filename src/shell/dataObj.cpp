#include "dataObj.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

dataObj::dataObj()
    : video(std::make_unique<videoSettings>()),
      input(std::make_unique<inputObj>()),
      battleArena(std::make_unique<arena>())
{
}

dataObj::~dataObj() { releaseDatafile(); }

void dataObj::readConfig()
{
    std::ifstream file;
    if (configTable::open(file))
        readConfig(file);
}

void dataObj::readConfig(std::istream& file)
{
    std::vector<int> keys(keySlotCount, -1);
    bool anyKeyRead = false;
    // The key map takes its slots once the whole file is read; every other
    // setting takes effect at once.
    configStop = configTable::read(file, [&](const configKey& entry, int value) {
        if (entry.what == configKey::keySlot) {
            keys[entry.role] = value;
            anyKeyRead = true;
        } else {
            setConfigValue(entry, value);
        }
    });
    if (anyKeyRead)
        input->setKeyMap(&keys);
}

const std::string& dataObj::getConfigStop() const { return configStop; }

int dataObj::getConfigValue(const std::string& setting) const
{
    const configKey* entry = configTable::find(setting);
    if (entry == nullptr)
        return -1;
    const gamepad& pad = *input->getGamepad();
    switch (entry->what) {
    case configKey::resolution:
        return video->getResolutionX();
    case configKey::colorDepth:
        return video->getColorDepth();
    case configKey::windowed:
        return video->getWindowed() ? 1 : 0;
    case configKey::controlThreshold:
        return input->getControlThreshold();
    case configKey::keySlot:
        return (*input->getKeyMap())[entry->role];
    case configKey::soundVolume:
        return soundVolume;
    case configKey::musicVolume:
        return musicVolume;
    case configKey::joystick:
        return pad.isEnabled() ? 1 : 0;
    case configKey::joyDeadZone:
        return pad.getDeadZone();
    case configKey::padAxis:
        return pad.getAxis(static_cast<gamepad::axisRole>(entry->role));
    case configKey::padButton:
        return pad.getButton(static_cast<gamepad::buttonRole>(entry->role));
    }
    return -1;
}

// A value as the file gives it; the settings program's table predicts what
// each setting makes of it. Values a pad cannot use leave the setting as it
// was. The key map's slots are set as a whole, by setKeyMap.
void dataObj::setConfigValue(const configKey& entry, int value)
{
    gamepad& pad = *input->getGamepad();
    switch (entry.what) {
    case configKey::resolution:
        if (value == 800)
            video->setResolution(800, 600);
        else if (value == 1024)
            video->setResolution(1024, 768);
        else
            video->setResolution(640, 480);
        break;
    case configKey::colorDepth:
        video->setColorDepth(value == 32 ? 32 : 24);
        break;
    case configKey::windowed:
        video->setWindowed(value == 1);
        break;
    case configKey::controlThreshold:
        input->setControlThreshold(value);
        break;
    case configKey::soundVolume:
        soundVolume = std::clamp(value, 0, 255);
        break;
    case configKey::musicVolume:
        musicVolume = std::clamp(value, 0, 255);
        break;
    case configKey::joystick:
        if (value == 0 || value == 1)
            pad.setEnabled(value == 1);
        break;
    case configKey::joyDeadZone:
        pad.setDeadZone(value);
        break;
    case configKey::padAxis:
        pad.setAxis(static_cast<gamepad::axisRole>(entry.role), value);
        break;
    case configKey::padButton:
        pad.setButton(static_cast<gamepad::buttonRole>(entry.role), value);
        break;
    case configKey::keySlot:
        break;
    }
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
