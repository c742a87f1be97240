#include "screenFit.h"

#include <algorithm>

namespace {

// Below this share of the screen's height, a whole factor leaves too much
// of the screen black and a finer factor is used instead.
constexpr int wholeFactorMinFillPercent = 85;
// Room for a window's title bar and border, and a task bar beside it.
constexpr int windowFrameWidth = 16;
constexpr int windowFrameHeight = 80;

int scaledMovement(int movement, int gameSize, int screenSize, int& carry)
{
    const int total = movement * gameSize + carry;
    const int scaled = total / screenSize;
    carry = total - scaled * screenSize;
    return scaled;
}

}  // namespace

screenFit::screenFit(int gameW, int gameH)
    : gameWidth(gameW),
      gameHeight(gameH),
      width(gameW),
      height(gameH)
{
}

screenFit screenFit::onScreen(int gameW, int gameH, int screenW, int screenH)
{
    screenFit fit(gameW, gameH);
    const int whole = std::min(screenW / gameW, screenH / gameH);
    if (whole >= 1 && whole * gameH * 100 >= wholeFactorMinFillPercent * screenH) {
        fit.width = whole * gameW;
        fit.height = whole * gameH;
    } else if (static_cast<long long>(screenW) * gameH <= static_cast<long long>(screenH) * gameW) {
        fit.width = screenW;
        fit.height = static_cast<int>(static_cast<long long>(gameH) * screenW / gameW);
    } else {
        fit.height = screenH;
        fit.width = static_cast<int>(static_cast<long long>(gameW) * screenH / gameH);
    }
    fit.x = (screenW - fit.width) / 2;
    fit.y = (screenH - fit.height) / 2;
    return fit;
}

int screenFit::largestWindowScale(int gameW, int gameH, int desktopW, int desktopH)
{
    int scale = maxWindowScale;
    while (scale > 1
           && (scale * gameW + windowFrameWidth > desktopW
               || scale * gameH + windowFrameHeight > desktopH))
        --scale;
    return scale;
}

int screenFit::getX() const { return x; }
int screenFit::getY() const { return y; }
int screenFit::getWidth() const { return width; }
int screenFit::getHeight() const { return height; }
int screenFit::getGameWidth() const { return gameWidth; }
int screenFit::getGameHeight() const { return gameHeight; }
bool screenFit::isOneToOne() const { return width == gameWidth && height == gameHeight; }

void screenFit::toGame(int& px, int& py) const
{
    px = (px - x) * gameWidth / width;
    py = (py - y) * gameHeight / height;
}

void screenFit::movementToGame(int& dx, int& dy, int& carryX, int& carryY) const
{
    dx = scaledMovement(dx, gameWidth, width, carryX);
    dy = scaledMovement(dy, gameHeight, height, carryY);
}
