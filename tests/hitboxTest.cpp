#include <gtest/gtest.h>

#include "hitbox.h"

namespace {

void expectEveryVictim(const hitbox& record, bool stunned, int kind)
{
    for (int type = 0; type < hitbox::victimTypes; ++type)
        EXPECT_EQ(record.checkCollide(type, stunned), kind) << "victim type " << type;
}

} // namespace

TEST(hitbox, freshRecordTouchesNothingButPushesUnknownTypes)
{
    const hitbox record;
    EXPECT_EQ(record.damage, 0);
    EXPECT_EQ(record.knockbackType, 0);
    EXPECT_EQ(record.knockbackPower, 0);
    EXPECT_EQ(record.knockbackFrames, 0);
    EXPECT_EQ(record.ownerType, 0);
    for (int frames : record.inflictAilments)
        EXPECT_EQ(frames, 0);
    expectEveryVictim(record, false, collideNone);
    expectEveryVictim(record, true, collideNone);
    EXPECT_EQ(record.checkCollide(-1, false), collideKnockback);
    EXPECT_EQ(record.checkCollide(10, true), collideKnockback);
}

TEST(hitbox, fillValueSetsBothTablesOnly)
{
    const hitbox record(collideDamage);
    expectEveryVictim(record, false, collideDamage);
    expectEveryVictim(record, true, collideDamage);
    EXPECT_EQ(record.damage, 0);
    EXPECT_EQ(record.checkCollide(10, false), collideKnockback);
}

TEST(hitbox, addCollideWritesOneEntryOfTheChosenTable)
{
    hitbox record;
    record.addCollide(2, collideFull, true);
    EXPECT_EQ(record.checkCollide(2, true), collideFull);
    EXPECT_EQ(record.checkCollide(2, false), collideNone);
    EXPECT_EQ(record.checkCollide(3, true), collideNone);
    record.addCollide(9, collideDamage, false);
    EXPECT_EQ(record.checkCollide(9, false), collideDamage);
    EXPECT_EQ(record.checkCollide(9, true), collideNone);
}

TEST(hitbox, addCollideOutsideTheTablesChangesNothing)
{
    hitbox record;
    record.addCollide(-1, collideFull, false);
    record.addCollide(10, collideFull, true);
    expectEveryVictim(record, false, collideNone);
    expectEveryVictim(record, true, collideNone);
    EXPECT_EQ(record.checkCollide(10, true), collideKnockback);
}
