#include <gtest/gtest.h>

#include "units/hitbox.h"

namespace {

void expectEveryVictim(const hitbox& record, int kind)
{
    for (int type = 0; type < hitbox::victimTypes; ++type) {
        EXPECT_EQ(record.checkCollide(type, false), kind) << "victim type " << type;
        EXPECT_EQ(record.checkCollide(type, true), kind) << "stunned, victim type " << type;
    }
    EXPECT_EQ(record.checkCollide(-1, false), collideKnockback);
    EXPECT_EQ(record.checkCollide(10, true), collideKnockback);
}

}  // namespace

TEST(HitboxTest, freshAndFilledRecords)
{
    const hitbox fresh;
    EXPECT_EQ(fresh.damage, 0);
    EXPECT_EQ(fresh.knockbackPower, 0);
    EXPECT_EQ(fresh.inflictAilments[ailmentSlow], 0);
    expectEveryVictim(fresh, collideNone);
    const hitbox filled(collideDamage);
    EXPECT_EQ(filled.damage, 0);
    expectEveryVictim(filled, collideDamage);
}

TEST(HitboxTest, addCollideWritesOneEntryOfTheChosenTableOnly)
{
    hitbox record;
    record.addCollide(2, collideFull, true);
    record.addCollide(-1, collideFull, false);
    record.addCollide(10, collideFull, true);
    EXPECT_EQ(record.checkCollide(2, true), collideFull);
    EXPECT_EQ(record.checkCollide(2, false), collideNone);
    EXPECT_EQ(record.checkCollide(3, true), collideNone);
    EXPECT_EQ(record.checkCollide(10, true), collideKnockback);
}
