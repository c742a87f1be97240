#include <gtest/gtest.h>

#include "unitTestKit.h"

TEST(UnitTest, freshUnitDefaults)
{
    const probeUnit fresh;
    EXPECT_EQ(fresh.getUnitID(), -1);
    EXPECT_EQ(fresh.getOwnerID(), -1);
    EXPECT_EQ(fresh.getAffiliation(), affiliationNeutral);
    EXPECT_EQ(fresh.getHP(), 1);
    EXPECT_EQ(fresh.getMaxHP(), 30000);
    EXPECT_EQ(fresh.juiceValue, 5);
    EXPECT_EQ(fresh.getDeathTimeRemoval(), 10);
    EXPECT_EQ(fresh.getTimeToLive(), -256);
    EXPECT_EQ(fresh.moveSpeed, itofix(5));
    EXPECT_EQ(fresh.getDrawScale(), itofix(1));
    EXPECT_EQ(fresh.getKnockbackMul(), itofix(1));
    EXPECT_EQ(fresh.getPosX(), itofix(400));
    EXPECT_EQ(fresh.getPosY(), itofix(300));
    for (int ailment = 0; ailment < statusAilmentCount; ++ailment) {
        EXPECT_EQ(fresh.getStatusAilment(ailment), 0);
        EXPECT_EQ(fresh.getBiggestStatusTime(ailment), 1);
    }
}
