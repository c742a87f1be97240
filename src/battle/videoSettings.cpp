#include "videoSettings.h"

videoSettings::videoSettings() = default;

void videoSettings::getResolution(int& x, int& y) const
{
    x = resolutionX;
    y = resolutionY;
}

int videoSettings::getResolutionX() const { return resolutionX; }
int videoSettings::getResolutionY() const { return resolutionY; }

void videoSettings::setResolution(int x, int y)
{
    resolutionX = x;
    resolutionY = y;
}

void videoSettings::getBackgroundColor(int& r, int& g, int& b) const
{
    r = backgroundRed;
    g = backgroundGreen;
    b = backgroundBlue;
}

void videoSettings::setBackgroundColor(int r, int g, int b)
{
    backgroundRed = r;
    backgroundGreen = g;
    backgroundBlue = b;
}

bool videoSettings::getWindowed() const { return windowed; }
void videoSettings::setWindowed(bool value) { windowed = value; }
int videoSettings::getWindowScale() const { return windowScale; }
void videoSettings::setWindowScale(int scale) { windowScale = scale; }
int videoSettings::getColorDepth() const { return colorDepth; }
void videoSettings::setColorDepth(int bits) { colorDepth = bits; }
int videoSettings::getArenaPosX() const { return arenaPosX; }
int videoSettings::getArenaPosY() const { return arenaPosY; }
fixed videoSettings::getArenaScale() const { return arenaScale; }
int videoSettings::getHPBarStartX() const { return HPBarStartX; }
int videoSettings::getHPBarStartY() const { return HPBarStartY; }
int videoSettings::getHPBarSizeX() const { return HPBarSizeX; }
int videoSettings::getHPBarSizeY() const { return HPBarSizeY; }

void videoSettings::setObjectPositions(int arenaSizeX, int arenaSizeY)
{
    const int RX = resolutionX;
    const int RY = resolutionY;
    if (arenaSizeX <= 0 || arenaSizeY <= 0) {
        arenaScale = itofix(1);
        arenaPosX = 0;
        arenaPosY = RY;
    } else {
        // Fit the arena into 70 % of the screen along the side that limits it.
        const int q = (arenaSizeY * RX) / RY;
        if (q > arenaSizeX)
            arenaScale = ftofix(RY * 0.7 / arenaSizeY);
        else
            arenaScale = ftofix(RX * 0.7 / arenaSizeX);
        arenaPosX = (RX - fixtoi(arenaSizeX * arenaScale)) / 2;
        arenaPosY = (RY - fixtoi(arenaSizeY * arenaScale)) / 2;
    }
    HPBarStartX = static_cast<int>(RX * 0.15);
    HPBarSizeX = static_cast<int>(RX * 0.7);
    HPBarSizeY = static_cast<int>(RY * 0.05);
    HPBarStartY = arenaPosY - HPBarSizeY - 10;
}
