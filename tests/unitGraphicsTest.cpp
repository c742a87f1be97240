#include <gtest/gtest.h>

#include "allegroTestEnv.h"
#include "unitCreate.h"
#include "unitGraphics.h"

namespace {

class unitGraphicsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureHeadlessAllegro();
        small = create_bitmap(16, 16);
        large = create_bitmap(40, 40);
    }
    void TearDown() override
    {
        destroy_bitmap(small);
        destroy_bitmap(large);
    }

    unitGraphics table;
    BITMAP* small = nullptr;
    BITMAP* large = nullptr;
};

} // namespace

TEST_F(unitGraphicsTest, insertPicKeepsSlotsApartAndRejectsUnknownActivities)
{
    EXPECT_EQ(table.insertPic(small, 9), -1);
    EXPECT_EQ(table.insertPic(small, -1), -1);
    for (int slot = 0; slot < unitGraphics::activitySlots; ++slot)
        EXPECT_EQ(table.getSizeOfVector(slot), 0);
    EXPECT_EQ(table.insertPic(small, 8), 0);
    EXPECT_EQ(table.insertPic(large, 8), 0);
    EXPECT_EQ(table.getSizeOfVector(8), 2);
    EXPECT_EQ(table.getPic(8, 0), small);
    EXPECT_EQ(table.getPic(8, 1), large);
    EXPECT_EQ(table.getPicSize(), 0);
}

TEST_F(unitGraphicsTest, pictureSizeFollowsTheLatestIdlePicture)
{
    table.insertPic(large, 0);
    table.insertPic(small, 0);
    EXPECT_EQ(table.getPicSize(), 16);
    table.insertPic(large, 1);
    EXPECT_EQ(table.getPicSize(), 16);
}

TEST_F(unitGraphicsTest, lookupsOutsideASequenceFindNothing)
{
    table.insertPic(small, 0);
    table.insertPic(small, 0);
    EXPECT_EQ(table.getPic(0, 1), small);
    EXPECT_EQ(table.getPic(0, 2), nullptr);
    EXPECT_EQ(table.getPic(0, -1), nullptr);
    EXPECT_EQ(table.getPic(3, 0), nullptr);
    EXPECT_EQ(table.getSizeOfVector(3), 0);
    EXPECT_EQ(table.getPic(9, 0), nullptr);
    EXPECT_EQ(table.getSizeOfVector(9), -1);
    EXPECT_EQ(table.getSizeOfVector(-1), -1);
}

TEST(unitCreate, freshRequestHasNoOwnerAndZeroes)
{
    const unitCreate request;
    EXPECT_EQ(request.ownerID, -1);
    EXPECT_EQ(request.unitType, 0);
    EXPECT_EQ(request.posX, 0);
    EXPECT_EQ(request.posY, 0);
    EXPECT_EQ(request.moveAngle, 0);
    EXPECT_EQ(request.delay, 0);
    EXPECT_EQ(request.initArg0, 0);
    EXPECT_EQ(request.initArg1, 0);
    EXPECT_EQ(request.initArg2, 0);
}
