#include <gtest/gtest.h>

#include "population/unitCreate.h"

TEST(UnitCreateTest, freshRequestHasNoOwnerAndZeroes)
{
    const unitCreate request;
    EXPECT_EQ(request.ownerID, -1);
    EXPECT_EQ(request.unitType | request.posX | request.posY | request.moveAngle | request.delay
                  | request.initArg0 | request.initArg1 | request.initArg2,
              0);
}
