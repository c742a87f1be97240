// libFuzzer target: arbitrary bytes as the contents of broxConfig.txt.
// Beyond not crashing, whatever the file says must leave settings the game
// can use: one of the three resolutions, 24 or 32 bits, and a key map that
// only names keys of the keyboard.

#include <allegro.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "shell/dataObj.h"

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool isKnownResolution(int x, int y)
{
    return (x == 640 && y == 480) || (x == 800 && y == 600) || (x == 1024 && y == 768);
}

void checkSettings(dataObj& settings)
{
    int x = 0;
    int y = 0;
    videoSettings* video = settings.getVideoSettings();
    video->getResolution(x, y);
    require(isKnownResolution(x, y));
    require(video->getColorDepth() == 24 || video->getColorDepth() == 32);
    for (int code : *settings.getInputObj()->getKeyMap())
        require(code >= 1 && code < KEY_MAX);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    install_allegro(SYSTEM_NONE, &errno, atexit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    std::istringstream file(std::string(reinterpret_cast<const char*>(bytes), size));
    dataObj settings;
    settings.readConfig(file);
    checkSettings(settings);
    // The first poll reads the keyboard state at every mapped key code.
    int x = 0;
    int y = 0;
    settings.getVideoSettings()->getResolution(x, y);
    settings.getInputObj()->processInput(x, y, true);
    return 0;
}
