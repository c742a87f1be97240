#include <gtest/gtest.h>

#include "allegroTestEnv.h"
#include "population/unitGraphics.h"

TEST(UnitGraphicsTest, slotsPictureSizeAndBounds)
{
    ensureHeadlessAllegro();
    BITMAP* small = create_bitmap(16, 16);
    BITMAP* large = create_bitmap(40, 40);
    unitGraphics table;
    EXPECT_EQ(table.insertPic(small, 9), -1);
    EXPECT_EQ(table.getSizeOfVector(8), 0);
    EXPECT_EQ(table.insertPic(small, 8), 0);
    EXPECT_EQ(table.getPicSize(), 0);  // only idle pictures set the size
    table.insertPic(large, 0);
    table.insertPic(small, 0);
    EXPECT_EQ(table.getPicSize(), 16);

    EXPECT_EQ(table.getPic(0, 0), large);
    EXPECT_EQ(table.getPic(0, 1), small);
    EXPECT_EQ(table.getPic(0, 2), nullptr);
    EXPECT_EQ(table.getPic(0, -1), nullptr);
    EXPECT_EQ(table.getPic(3, 0), nullptr);
    EXPECT_EQ(table.getSizeOfVector(3), 0);
    EXPECT_EQ(table.getPic(9, 0), nullptr);
    EXPECT_EQ(table.getSizeOfVector(-1), -1);
    destroy_bitmap(small);
    destroy_bitmap(large);
}
