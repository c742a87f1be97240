#ifndef BROX_VIDEOSETTINGS_H
#define BROX_VIDEOSETTINGS_H

#include <allegro.h>

// Screen settings from the configuration and the screen layout derived from
// them and from the arena's size.
class videoSettings {
public:
    videoSettings();

    void getResolution(int& x, int& y) const;
    int getResolutionX() const;
    int getResolutionY() const;
    void setResolution(int x, int y);

    void getBackgroundColor(int& r, int& g, int& b) const;
    void setBackgroundColor(int r, int g, int b);

    bool getWindowed() const;
    void setWindowed(bool value);
    // How many times its size the window opens: 1 to 4, or 0 for the
    // largest that fits the desktop.
    int getWindowScale() const;
    void setWindowScale(int scale);

    int getColorDepth() const;
    void setColorDepth(int bits);

    int getArenaPosX() const;
    int getArenaPosY() const;
    fixed getArenaScale() const;
    int getHPBarStartX() const;
    int getHPBarStartY() const;
    int getHPBarSizeX() const;
    int getHPBarSizeY() const;

    // The only writer of the derived layout fields.
    void setObjectPositions(int arenaSizeX, int arenaSizeY);

private:
    int resolutionX = 640;
    int resolutionY = 480;
    int backgroundRed = 48;
    int backgroundGreen = 48;
    int backgroundBlue = 48;
    bool windowed = false;
    int windowScale = 1;
    int colorDepth = 24;
    int arenaPosX = 0;
    int arenaPosY = 0;
    fixed arenaScale = itofix(1);
    int HPBarStartX = 0;
    int HPBarStartY = 0;
    int HPBarSizeX = 0;
    int HPBarSizeY = 0;
};

#endif
