#include <gtest/gtest.h>

#include "unitTestKit.h"

namespace {

// A type-2 victim at (100, 100) and bolts (type 3) that hit type 2 in full
// for 100 damage.
class CollisionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bolts.addCollide(2, collideFull, false);
        bolts.damage = 100;
    }

    probeUnit* boltAt(double x, double y = 100) { return battle.add(3, x, y); }
    void collide() { victim->collideCheck(&battle.data, &battle.list); }

    testBattle battle;
    probeUnit* victim = battle.add(2, 100, 100, affiliationEnemy);
    hitbox& bolts = battle.hitboxOf(3);
};

}  // namespace

TEST_F(CollisionTest, contactAtExactlyTheReachButNotOneStepFarther)
{
    probeUnit* bolt = boltAt(132);
    collide();
    EXPECT_EQ(victim->pendingDamage, 100);
    EXPECT_TRUE(victim->wasHit);

    victim->pendingDamage = 0;
    victim->wasHit = false;
    bolt->setPos(itofix(132) + 1, itofix(100));
    collide();
    EXPECT_EQ(victim->pendingDamage, 0);
    EXPECT_FALSE(victim->wasHit);
}

TEST_F(CollisionTest, unitNeverHitsItself)
{
    battle.hitboxOf(2).addCollide(2, collideFull, false);
    battle.hitboxOf(2).damage = 100;
    collide();
    EXPECT_EQ(victim->pendingDamage, 0);
    EXPECT_EQ(victim->knockbackX, 0);
}

TEST_F(CollisionTest, coincidingCentresPushAlongTheVictimsHeading)
{
    bolts.knockbackType = knockbackRadialDirected;
    bolts.knockbackPower = itofix(10);
    victim->setMoveAngle(itofix(64));
    boltAt(100);
    collide();
    // No radial push at distance 0; the directed push points against the
    // heading (64 + 128, to the left).
    EXPECT_NEAR(fixtof(victim->knockbackX), -10.0, 0.01);
    EXPECT_NEAR(fixtof(victim->knockbackY), 0.0, 0.01);
}

TEST_F(CollisionTest, invincibleVictimIsPushedAndBuffedButNotHurt)
{
    bolts.knockbackType = knockbackDirected;
    bolts.knockbackPower = itofix(10);
    for (int ailment = 0; ailment < statusAilmentCount; ++ailment)
        bolts.inflictAilments[ailment] = 10;
    victim->addStatusAilment(ailmentInvincible, 5);
    boltAt(120);
    collide();
    EXPECT_EQ(victim->pendingDamage, 0);
    EXPECT_FALSE(victim->wasHit);
    EXPECT_NE(victim->knockbackX, 0);
    EXPECT_EQ(victim->numHitsWhileStun, 1);
    const int expected[statusAilmentCount] = {10, 0, 0, 0, 15, 10, 0};
    for (int ailment = 0; ailment < statusAilmentCount; ++ailment)
        EXPECT_EQ(victim->getStatusAilment(ailment), expected[ailment]) << "ailment " << ailment;
    EXPECT_EQ(victim->getBiggestStatusTime(ailmentInvincible), 15);
    EXPECT_EQ(victim->getBiggestStatusTime(ailmentStun), 1);
}

TEST_F(CollisionTest, immuneVictimIsHurtAndPushedButKeepsItsAilments)
{
    bolts.inflictAilments[ailmentStun] = 50;
    victim->setImmuneToAilments(true);
    boltAt(120);
    collide();
    EXPECT_EQ(victim->pendingDamage, 100);
    EXPECT_NE(victim->knockbackX, 0);
    EXPECT_EQ(victim->getStunTime(), 0);
    EXPECT_EQ(victim->numHitsWhileStun, 0);
}

TEST_F(CollisionTest, weakenedOwnerHalvesDamageAndCutsTheDirectedPush)
{
    bolts.damage = 101;
    bolts.knockbackType = knockbackRadialDirected;
    bolts.knockbackPower = itofix(10);
    bolts.knockbackFrames = 10;
    probeUnit* owner = battle.add(6, 400, 300);
    owner->addStatusAilment(ailmentWeaken, 1);
    boltAt(120)->setOwnerID(owner->getUnitID());
    collide();
    EXPECT_EQ(victim->pendingDamage, 50);
    EXPECT_NEAR(fixtof(victim->knockbackX), -21.0, 0.01);  // radial 20 + a tenth of 10
    EXPECT_EQ(victim->knockbackTime, 1);
}

TEST_F(CollisionTest, laterContactsInAStepDecayInSinglePrecision)
{
    bolts.knockbackFrames = 10;
    for (int bolt = 0; bolt < 3; ++bolt)
        boltAt(110);
    collide();
    EXPECT_EQ(victim->pendingDamage, 100 + 69 + 48);
    EXPECT_EQ(victim->numHitsWhileStun, 3);
    EXPECT_EQ(victim->knockbackTime, 10 + 3 + 1);  // 10 x k^3 for k = 1, 0.7, 0.49
}

TEST_F(CollisionTest, knockbackOnlyEntryNeverDamages)
{
    bolts.addCollide(2, collideKnockback, false);
    bolts.inflictAilments[ailmentStun] = 50;
    boltAt(120);
    collide();
    EXPECT_EQ(victim->pendingDamage, 0);
    EXPECT_FALSE(victim->wasHit);
    EXPECT_EQ(victim->getStunTime(), 0);
    EXPECT_NE(victim->knockbackX, 0);
}

TEST_F(CollisionTest, deadHitterSparesThePlayerUnlessItHelpsThePlayer)
{
    battle.hitboxOf(2).addCollide(6, collideFull, false);
    battle.hitboxOf(2).addCollide(3, collideFull, false);
    battle.hitboxOf(2).damage = 100;
    victim->currentActivity = actDead;
    probeUnit* fighter = battle.add(6, 110, 100, affiliationPlayer);
    probeUnit* bolt = boltAt(90);
    fighter->collideCheck(&battle.data, &battle.list);
    bolt->collideCheck(&battle.data, &battle.list);
    EXPECT_EQ(fighter->pendingDamage, 0);
    EXPECT_EQ(bolt->pendingDamage, 100);

    victim->helpsPlayer = true;
    fighter->collideCheck(&battle.data, &battle.list);
    EXPECT_EQ(fighter->pendingDamage, 100);
}

TEST_F(CollisionTest, stunnedHitterUsesItsStunnedTable)
{
    probeUnit* bolt = boltAt(120);
    bolt->currentActivity = actStunned;
    collide();
    EXPECT_EQ(victim->pendingDamage, 0);

    bolts.addCollide(2, collideDamage, true);
    collide();
    EXPECT_EQ(victim->pendingDamage, 100);
}
