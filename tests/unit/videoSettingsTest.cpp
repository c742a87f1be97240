#include <gtest/gtest.h>

#include "battle/screenFit.h"
#include "battle/videoSettings.h"

namespace {

videoSettings laidOut(int rx, int ry, int w, int h)
{
    videoSettings video;
    video.setResolution(rx, ry);
    video.setObjectPositions(w, h);
    return video;
}

int shownWidth(const videoSettings& video, int w) { return fixtoi(w * video.getArenaScale()); }

}  // namespace

TEST(LayoutTest, DefaultsBeforeAnyLayout)
{
    videoSettings video;
    EXPECT_EQ(video.getResolutionX(), 640);
    EXPECT_EQ(video.getResolutionY(), 480);
    EXPECT_EQ(video.getColorDepth(), 24);
    EXPECT_FALSE(video.getWindowed());
    int r = 0, g = 0, b = 0;
    video.getBackgroundColor(r, g, b);
    EXPECT_EQ(r, 48);
    EXPECT_EQ(g, 48);
    EXPECT_EQ(b, 48);
    EXPECT_EQ(video.getArenaScale(), itofix(1));
}

TEST(LayoutTest, SquareArenaIsFittedByHeight)
{
    const videoSettings video = laidOut(640, 480, 300, 300);
    EXPECT_EQ(video.getArenaScale(), 73400);
    EXPECT_EQ(shownWidth(video, 300), 336);
    EXPECT_EQ(video.getArenaPosX(), 152);
    EXPECT_EQ(video.getArenaPosY(), 72);
    EXPECT_EQ(video.getHPBarStartX(), 96);
    EXPECT_EQ(video.getHPBarSizeX(), 448);
    EXPECT_EQ(video.getHPBarSizeY(), 24);
    EXPECT_EQ(video.getHPBarStartY(), 38);
}

TEST(LayoutTest, WideArenaIsFittedByWidth)
{
    const videoSettings video = laidOut(640, 480, 600, 300);
    EXPECT_EQ(video.getArenaScale(), 48934);
    EXPECT_EQ(shownWidth(video, 600), 448);
    EXPECT_EQ(shownWidth(video, 300), 224);
    EXPECT_EQ(video.getArenaPosX(), 96);
    EXPECT_EQ(video.getArenaPosY(), 128);
    EXPECT_EQ(video.getHPBarStartY(), 94);
}

TEST(LayoutTest, ScreenProportionsTieIsFittedByWidth)
{
    // Q = 300 * 640 / 480 = 400 = W: the width decides.
    const videoSettings video = laidOut(640, 480, 400, 300);
    EXPECT_EQ(video.getArenaScale(), ftofix(640 * 0.7 / 400));
    EXPECT_EQ(video.getArenaPosX(), 96);
    EXPECT_EQ(video.getArenaPosY(), 72);
}

TEST(LayoutTest, NonPositiveArenaPutsTheCornerBelowTheScreen)
{
    for (const auto& size : {std::pair<int, int>{0, 300}, {300, -1}}) {
        const videoSettings video = laidOut(800, 600, size.first, size.second);
        EXPECT_EQ(video.getArenaScale(), itofix(1));
        EXPECT_EQ(video.getArenaPosX(), 0);
        EXPECT_EQ(video.getArenaPosY(), 600);
        EXPECT_EQ(video.getHPBarSizeY(), 30);
        EXPECT_EQ(video.getHPBarStartY(), 600 - 30 - 10);
    }
}

TEST(LayoutTest, NewArenaSizeMovesArenaAndBarButNotTheBarsLength)
{
    videoSettings video;
    video.setResolution(1024, 768);
    video.setObjectPositions(300, 300);
    const int barX = video.getHPBarStartX();
    const int barLength = video.getHPBarSizeX();
    const int firstY = video.getHPBarStartY();
    video.setObjectPositions(600, 300);
    EXPECT_EQ(video.getHPBarStartX(), barX);
    EXPECT_EQ(video.getHPBarSizeX(), barLength);
    EXPECT_NE(video.getHPBarStartY(), firstY);
    EXPECT_EQ(video.getHPBarStartY(), video.getArenaPosY() - video.getHPBarSizeY() - 10);
}

TEST(LayoutTest, ThePictureFillsTheScreenByAWholeFactorOnlyWhereThatFillsEnoughOfIt)
{
    struct placement {
        int gameW, gameH, screenW, screenH, x, y, w, h;
    };
    const placement cases[] = {
        // 2x fills 960 of 1080 lines, 89 %: whole pixels, bars all round.
        {640, 480, 1920, 1080, 320, 60, 1280, 960},
        {640, 480, 3840, 2160, 640, 120, 2560, 1920},
        // 1x would fill 56 % and 71 %: the largest factor that fits instead.
        {800, 600, 1920, 1080, 240, 0, 1440, 1080},
        {1024, 768, 1920, 1080, 240, 0, 1440, 1080},
        // A screen narrower than the picture's aspect: fitted by width.
        {800, 600, 1280, 1024, 0, 32, 1280, 960},
        // A window opened at a whole factor, and the safe mode's own size.
        {640, 480, 1280, 960, 0, 0, 1280, 960},
        {640, 480, 640, 480, 0, 0, 640, 480},
        // A desktop smaller than the picture shrinks it.
        {1024, 768, 800, 600, 0, 0, 800, 600},
    };
    for (const placement& c : cases) {
        SCOPED_TRACE(testing::Message() << c.gameW << " on " << c.screenW << "x" << c.screenH);
        const screenFit fit = screenFit::onScreen(c.gameW, c.gameH, c.screenW, c.screenH);
        EXPECT_EQ(fit.getX(), c.x);
        EXPECT_EQ(fit.getY(), c.y);
        EXPECT_EQ(fit.getWidth(), c.w);
        EXPECT_EQ(fit.getHeight(), c.h);
        EXPECT_EQ(fit.isOneToOne(), c.w == c.gameW);
    }
}

TEST(LayoutTest, TheLargestWindowThatFitsTheDesktopWithItsFrame)
{
    EXPECT_EQ(screenFit::largestWindowScale(640, 480, 1920, 1080), 2);
    EXPECT_EQ(screenFit::largestWindowScale(640, 480, 3840, 2160), 4);
    EXPECT_EQ(screenFit::largestWindowScale(640, 480, 2560, 1440), 2);
    EXPECT_EQ(screenFit::largestWindowScale(800, 600, 1920, 1080), 1);
    // Never below today's window, even where that does not fit either.
    EXPECT_EQ(screenFit::largestWindowScale(1024, 768, 1024, 768), 1);
    // 960 lines and a frame fit 1080, but not a desktop of 1024.
    EXPECT_EQ(screenFit::largestWindowScale(640, 480, 1280, 1024), 1);
}
