#include <gtest/gtest.h>

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
