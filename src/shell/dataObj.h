#ifndef BROX_DATAOBJ_H
#define BROX_DATAOBJ_H

#include <allegro.h>

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "battle/arena.h"
#include "battle/videoSettings.h"
#include "configTable.h"
#include "input/inputObj.h"

// The one game data object: screen settings, input state, arena and the
// graphics datafile, handed to every unit operation.
class dataObj {
public:
    dataObj();
    ~dataObj();
    dataObj(const dataObj&) = delete;
    dataObj& operator=(const dataObj&) = delete;

    // Reads "broxConfig.txt" from the working directory; a missing file
    // leaves every default in place.
    void readConfig();
    // Reads configuration words from a stream; what readConfig does once
    // the file is open.
    void readConfig(std::istream& file);
    // Where and why the latest reading stopped before the end of the file
    // ("line 3: keyUp: ..."); empty when it read to the end.
    const std::string& getConfigStop() const;
    // The value of a key as the game now uses it, as a file would give it
    // (-1 for a word that is no key).
    int getConfigValue(const std::string& setting) const;

    videoSettings* getVideoSettings();
    void setVideoSettings(videoSettings* settings);
    inputObj* getInputObj();
    void setInputObj(inputObj* input);
    arena* getArena();
    void setArena(arena* newArena);
    // 0 (no sound at all) to 255.
    int getSoundVolume() const;
    // 0 (no music) to 255.
    int getMusicVolume() const;

    DATAFILE* getDatafile();
    // Loads the datafile, replacing (and unloading) any loaded before;
    // null when it cannot be loaded.
    DATAFILE* setDatafile(const char* name);
    // Unloads the datafile, for a caller that refuses what it loaded.
    void releaseDatafile();

private:
    void setConfigValue(const configKey& entry, int value);

    std::unique_ptr<videoSettings> video;
    std::unique_ptr<inputObj> input;
    std::unique_ptr<arena> battleArena;
    DATAFILE* datafile = nullptr;
    int soundVolume = 192;
    int musicVolume = 128;
    std::string configStop;
};

#endif
