#include <gtest/gtest.h>

#include "allegroTestEnv.h"
#include "units/broxMath.h"

namespace {

fixed angleTo(double x, double y) { return calcAngle(0, 0, ftofix(x), ftofix(y), itofix(77)); }

}  // namespace

TEST(BroxMathTest, calcAngleAlongAxesDiagonalsAndCoincidingPoints)
{
    ensureHeadlessAllegro();
    EXPECT_EQ(calcAngle(itofix(5), itofix(5), itofix(5), itofix(5), -123), -123);
    EXPECT_EQ(angleTo(0, -10), 0);
    EXPECT_EQ(angleTo(10, 0), itofix(64));
    EXPECT_EQ(angleTo(0, 10), -itofix(128));
    EXPECT_EQ(angleTo(-10, 0), itofix(192));
    EXPECT_EQ(angleTo(10, -10), fixatan(itofix(1)));
    EXPECT_EQ(angleTo(-10, -10), fixatan(-itofix(1)));
    EXPECT_EQ(angleTo(10, 10), fixatan(-itofix(1)) - itofix(128));
    EXPECT_EQ(angleTo(-10, 10), fixatan(itofix(1)) - itofix(128));
}

TEST(BroxMathTest, calcAngleSaturatesAnOverflowingQuotient)
{
    ensureHeadlessAllegro();
    const fixed angle = calcAngle(0, 0, itofix(300), -1, itofix(77));
    EXPECT_EQ(angle, fixatan(0x7FFFFFFF));
    // Allegro's table stops half a unit short of a right angle.
    EXPECT_NEAR(fixtof(angle), 64.0, 0.5);
}

TEST(BroxMathTest, calcDistIsSymmetric)
{
    EXPECT_EQ(calcDist(0, 0, itofix(3), itofix(4)), itofix(5));
    EXPECT_EQ(calcDist(itofix(3), itofix(4), 0, 0), itofix(5));
}

TEST(BroxMathTest, angleDistTakesTheShortWayAndBreaksTiesAgainstTheDifference)
{
    EXPECT_EQ(angleDist(itofix(10), itofix(250)), itofix(16));
    EXPECT_EQ(angleDist(itofix(250), itofix(10)), -itofix(16));
    EXPECT_EQ(angleDist(itofix(600), 0), itofix(88));
    EXPECT_EQ(angleDist(itofix(128), 0), -itofix(128));
    EXPECT_EQ(angleDist(0, itofix(128)), itofix(128));
    EXPECT_EQ(angleDist(-itofix(64), itofix(64)), -itofix(128));
    EXPECT_EQ(angleDist(itofix(256), 0), 0);
    EXPECT_EQ(angleDist(0, itofix(256)), 0);
}
