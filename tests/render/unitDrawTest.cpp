#include <gtest/gtest.h>

#include "unitTestKit.h"

namespace {

// Draws a unit onto a black memory bitmap. Each picture is a solid square of
// its own colour, so the colour under the unit tells which one was drawn.
class UnitDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureHeadlessAllegro();
        canvas = create_bitmap(64, 64);
        clear_to_color(canvas, makecol(0, 0, 0));
        drawn.setUnitGraphics(&table);
        drawn.setPos(ftofix(10.5), itofix(20));
    }

    void TearDown() override
    {
        for (BITMAP* pic : pictures)
            destroy_bitmap(pic);
        destroy_bitmap(canvas);
    }

    int addPicture(int activity, int red)
    {
        pictures.push_back(create_bitmap(8, 8));
        clear_to_color(pictures.back(), makecol(red, 200, 0));
        table.insertPic(pictures.back(), activity);
        return makecol(red, 200, 0);
    }

    int colourUnderUnit() const { return getpixel(canvas, 11, 20); }

    BITMAP* canvas = nullptr;
    std::vector<BITMAP*> pictures;
    unitGraphics table;
    probeUnit drawn;
};

}  // namespace

TEST_F(UnitDrawTest, pictureIsCentredOnTheRoundedPosition)
{
    const int colour = addPicture(actIdle, 255);
    drawn.draw(canvas, false);
    EXPECT_EQ(drawn.getDrawPosX(), 11);
    // An 8-pixel square pivoted on its centre (4, 4) covers x 7..14, y 16..23.
    EXPECT_EQ(getpixel(canvas, 7, 16), colour);
    EXPECT_EQ(getpixel(canvas, 14, 23), colour);
    EXPECT_NE(getpixel(canvas, 6, 16), colour);
    EXPECT_NE(getpixel(canvas, 15, 23), colour);
    EXPECT_NE(getpixel(canvas, 14, 24), colour);
}

TEST_F(UnitDrawTest, pausedDrawNeitherAdvancesNorSwitchesActivity)
{
    const int first = addPicture(actIdle, 100);
    const int second = addPicture(actIdle, 150);
    addPicture(actMoving, 200);
    drawn.pendingActivity = actMoving;
    for (int draws = 0; draws < 3; ++draws) {
        drawn.draw(canvas, true);
        EXPECT_EQ(colourUnderUnit(), first);
    }
    EXPECT_EQ(drawn.getCurrentActivity(), actIdle);

    drawn.pendingActivity = actIdle;
    drawn.draw(canvas, false);
    drawn.draw(canvas, false);
    EXPECT_EQ(colourUnderUnit(), second);
}

TEST_F(UnitDrawTest, attackLoopsWhileACooldownRunsThenReturnsToIdle)
{
    addPicture(actAttack1, 100);
    addPicture(actAttack1, 150);
    drawn.pendingActivity = actAttack1;
    drawn.currentAttack = attackBit1;
    drawn.cooldown3 = 1;
    for (int draws = 0; draws < 4; ++draws)
        drawn.draw(canvas, false);
    EXPECT_EQ(drawn.getCurrentActivity(), actAttack1);
    EXPECT_EQ(drawn.currentAttack, attackBit1);

    drawn.cooldown3 = 0;
    drawn.draw(canvas, false);
    EXPECT_EQ(drawn.getCurrentActivity(), actAttack1);
    drawn.draw(canvas, false);
    EXPECT_EQ(drawn.getCurrentActivity(), actIdle);
    EXPECT_EQ(drawn.currentAttack, 0);
}

TEST_F(UnitDrawTest, activityWithoutPicturesDrawsNothingAndEndsTheIntro)
{
    addPicture(actIdle, 100);
    drawn.introPending = true;
    drawn.pendingActivity = actIntro;
    drawn.draw(canvas, false);
    EXPECT_EQ(drawn.getCurrentActivity(), actIntro);
    EXPECT_FALSE(drawn.introPending);
    EXPECT_EQ(colourUnderUnit(), makecol(0, 0, 0));
}
