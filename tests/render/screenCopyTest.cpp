#include <gtest/gtest.h>

#include <allegro.h>

#include <set>
#include <vector>

#include "allegroTestEnv.h"
#include "battle/screenFit.h"
#include "shell/screenCopy.h"

namespace {

// A picture whose every pixel has a colour of its own, copied onto a screen
// first filled with something other than black.
struct copiedPicture {
    copiedPicture(int depth, int gameW, int gameH, int screenW, int screenH)
        : fit(screenFit::onScreen(gameW, gameH, screenW, screenH))
    {
        ensureHeadlessAllegro(depth);
        picture = create_bitmap(gameW, gameH);
        screenBitmap = create_bitmap(screenW, screenH);
        for (int y = 0; y < gameH; ++y)
            for (int x = 0; x < gameW; ++x)
                putpixel(picture, x, y, colourOf(x, y));
        clear_to_color(screenBitmap, makecol(255, 255, 255));
        screenCopy copy(fit);
        copy.show(picture, screenBitmap, true);
        copy.show(picture, screenBitmap, false);
    }
    ~copiedPicture()
    {
        destroy_bitmap(picture);
        destroy_bitmap(screenBitmap);
    }

    static int colourOf(int x, int y) { return makecol(40 + 20 * x, 30 + 20 * y, 200); }

    screenFit fit;
    BITMAP* picture;
    BITMAP* screenBitmap;
};

}  // namespace

TEST(ScreenCopyTest, AWholeFactorShowsEveryPixelAsASharpBlockBetweenBlackBars)
{
    for (const int depth : {16, 24, 32}) {
        SCOPED_TRACE(depth);
        // 4 x 3 twice its size fills 6 of 7 rows, 86 %: 8 x 6 from (1, 0).
        const copiedPicture copied(depth, 4, 3, 10, 7);
        ASSERT_EQ(copied.fit.getWidth(), 8);
        ASSERT_EQ(copied.fit.getX(), 1);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool inside = x >= 1 && x < 9 && y < 6;
                const int expected =
                    inside ? copiedPicture::colourOf((x - 1) / 2, y / 2) : makecol(0, 0, 0);
                EXPECT_EQ(getpixel(copied.screenBitmap, x, y), expected) << x << ", " << y;
            }
    }
}

TEST(ScreenCopyTest, AFinerFactorKeepsEveryPixelInOrderAndNothingElse)
{
    // 4 x 3 onto 12 x 8: 2x fills only 6 of 8 rows, so 10 x 8 from (1, 0).
    const copiedPicture copied(32, 4, 3, 12, 8);
    ASSERT_EQ(copied.fit.getWidth(), 10);
    ASSERT_EQ(copied.fit.getHeight(), 8);
    std::set<int> shown;
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(getpixel(copied.screenBitmap, 0, y), makecol(0, 0, 0));
        EXPECT_EQ(getpixel(copied.screenBitmap, 11, y), makecol(0, 0, 0));
        int lastColumn = -1;
        for (int x = 1; x < 11; ++x) {
            const int colour = getpixel(copied.screenBitmap, x, y);
            shown.insert(colour);
            const int column = (getr(colour) - 40) / 20;
            EXPECT_GE(column, lastColumn) << "columns out of order in row " << y;
            EXPECT_LE(column, lastColumn + 1) << "a column skipped in row " << y;
            lastColumn = column;
        }
        EXPECT_EQ(lastColumn, 3);
    }
    EXPECT_EQ(shown.size(), 12u) << "not every pixel of the picture, or not only them";
}
