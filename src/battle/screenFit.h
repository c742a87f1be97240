#ifndef BROX_SCREENFIT_H
#define BROX_SCREENFIT_H

// Where the game's picture, always drawn at its configured size, lands on a
// screen of another size, and how the pointer there is read back in game
// pixels.
class screenFit {
public:
    // The picture shown 1:1 on a screen of its own size.
    screenFit(int gameWidth, int gameHeight);

    // The picture scaled onto the screen keeping its aspect, centred: by the
    // largest whole factor where that fills at least 85 % of the screen's
    // height (sharp, even pixels), else by the largest factor that fits.
    static screenFit onScreen(int gameWidth, int gameHeight, int screenWidth, int screenHeight);

    // The largest whole factor, up to 4, at which a window of the game and
    // its frame fits the desktop; 1 when even that does not.
    static int largestWindowScale(int gameWidth, int gameHeight, int desktopWidth,
                                  int desktopHeight);
    static constexpr int maxWindowScale = 4;

    int getX() const;
    int getY() const;
    int getWidth() const;
    int getHeight() const;
    int getGameWidth() const;
    int getGameHeight() const;
    bool isOneToOne() const;

    // A screen pixel as the game pixel shown there; on the bars around the
    // picture it lies at or beyond the game's edge, for the caller to clamp.
    void toGame(int& x, int& y) const;
    // A movement on the screen in game pixels. What the division leaves over
    // is carried into the next call, so that slow movement is not lost.
    void movementToGame(int& dx, int& dy, int& carryX, int& carryY) const;

private:
    int gameWidth;
    int gameHeight;
    int x = 0;
    int y = 0;
    int width;
    int height;
};

#endif
