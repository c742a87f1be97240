#include <gtest/gtest.h>

#include "unitTestKit.h"

namespace {

class ActionsTest : public ::testing::Test {
protected:
    void decide() { subject->makePendingActions(&battle.data, &battle.list); }

    // The unit's x after one processPendingActions, starting from 250.
    double xAfterMove()
    {
        subject->setPos(itofix(250), itofix(200));
        subject->processPendingActions(&battle.data, &battle.list);
        return fixtof(subject->getPosX());
    }

    // A bolt touching the subject for 100 damage, and a player at 100 hp
    // after the subject in the list, so juice heals it in the same step.
    probeUnit* boltAndPlayer()
    {
        battle.hitboxOf(3).addCollide(2, collideDamage, false);
        battle.hitboxOf(3).damage = 100;
        battle.add(3, 260, 200);
        probeUnit* player = battle.add(6, 100, 100, affiliationPlayer);
        player->setHP(100);
        return player;
    }

    testBattle battle;
    probeUnit* subject = battle.add(2, 250, 200, affiliationEnemy);
};

}  // namespace

TEST_F(ActionsTest, requestFiresOnceACooldownOfItsBitsHasRunOut)
{
    subject->attackRequest = attackBit2;
    subject->cooldown2 = 2;
    subject->moveIntensity = 4;
    for (int step = 0; step < 2; ++step) {
        decide();
        EXPECT_EQ(subject->getPendingActivity(), actMoving);
        EXPECT_EQ(subject->attackRequest, attackBit2);
    }
    decide();
    EXPECT_EQ(subject->getPendingActivity(), actAttack2);
    EXPECT_EQ(subject->attackRequest, 0);

    subject->attackRequest = attackBit1 | attackBit3;
    subject->cooldown1 = 3;
    decide();
    EXPECT_EQ(subject->getPendingActivity(), actAttack3);
    EXPECT_EQ(subject->attackCalls, (std::vector<int>{attackBit2, attackBit1 | attackBit3}));
}

TEST_F(ActionsTest, runningAttackThenMovementThenIntroChooseTheActivity)
{
    subject->currentAttack = attackBit2;
    subject->moveIntensity = 4;
    subject->introPending = true;
    decide();
    EXPECT_EQ(subject->getPendingActivity(), actAttack2);
    subject->currentAttack = 0;
    decide();
    EXPECT_EQ(subject->getPendingActivity(), actMoving);
    subject->moveIntensity = 0;
    decide();
    EXPECT_EQ(subject->getPendingActivity(), actIntro);

    subject->introPending = false;
    subject->currentActivity = actIntro;
    decide();
    EXPECT_EQ(subject->getPendingActivity(), actIntro);  // an intro runs to its end
    subject->currentActivity = actIdle;
    decide();
    EXPECT_EQ(subject->getPendingActivity(), actIdle);
}

TEST_F(ActionsTest, knockbackTimeIsCappedAndRunOutVelocityCleared)
{
    subject->knockbackX = itofix(5);
    decide();
    EXPECT_EQ(subject->knockbackX, 0);

    battle.hitboxOf(3).addCollide(2, collideKnockback, false);
    battle.hitboxOf(3).knockbackFrames = 50;
    battle.add(3, 260, 200);
    decide();
    EXPECT_EQ(subject->knockbackTime, 29);
    EXPECT_NE(subject->knockbackX, 0);
}

TEST_F(ActionsTest, fastKnockbackIsCappedAndScaled)
{
    subject->knockbackX = itofix(24);
    subject->knockbackY = itofix(32);  // 40 long
    EXPECT_NEAR(xAfterMove(), 262.0, 0.01);
    EXPECT_NEAR(fixtof(subject->getPosY()), 216.0, 0.01);

    subject->setKnockbackMul(0);
    subject->knockbackY = itofix(40);
    EXPECT_EQ(xAfterMove(), 250.0);
    subject->knockbackX = itofix(15);
    subject->knockbackY = 0;
    EXPECT_EQ(xAfterMove(), 265.0);
}

TEST_F(ActionsTest, damagedPlayerSideUnitEndsTheStepWithThirteenInvincibility)
{
    subject->setAffiliation(affiliationPlayer);
    subject->setHP(1000);
    boltAndPlayer();
    battle.step();
    EXPECT_EQ(subject->getHP(), 900);
    EXPECT_EQ(subject->getInvicTime(), 13);
    battle.step();
    EXPECT_EQ(subject->getHP(), 900);
}

TEST_F(ActionsTest, killPaysDoubleJuiceOnceAndAStunOutweighsTheHurt)
{
    probeUnit* player = boltAndPlayer();
    for (int step = 0; step < 3; ++step)
        battle.step();
    EXPECT_EQ(player->getHP(), 110);

    battle.hitboxOf(3).inflictAilments[ailmentStun] = 10;
    subject->setHP(1000);
    battle.step();
    EXPECT_EQ(player->getHP(), 135);
    battle.step();  // already stunned: only hurt now
    EXPECT_EQ(player->getHP(), 140);
}

TEST_F(ActionsTest, freeMovementScalesWithIntensityHasteAndSlow)
{
    subject->setMoveAngle(itofix(64));
    subject->moveIntensity = 2;
    EXPECT_DOUBLE_EQ(xAfterMove(), 252.5);
    subject->moveIntensity = 4;
    EXPECT_DOUBLE_EQ(xAfterMove(), 255.0);
    subject->addStatusAilment(ailmentHaste, 100);
    EXPECT_DOUBLE_EQ(xAfterMove(), 257.5);
    subject->addStatusAilment(ailmentSlow, 100);
    EXPECT_DOUBLE_EQ(xAfterMove(), 253.75);
    subject->statusAilments[ailmentHaste] = 0;
    EXPECT_DOUBLE_EQ(xAfterMove(), 252.5);
}

TEST_F(ActionsTest, fixedAndAttachedUnitsFollowTheirAnchor)
{
    subject->anchorX = itofix(30);
    subject->anchorY = itofix(40);
    subject->moveIntensity = 4;
    subject->setMoveType(moveFixed);
    EXPECT_EQ(xAfterMove(), 30.0);
    EXPECT_EQ(subject->getPosY(), itofix(40));

    unit* owner = battle.add(6, 100, 120);
    subject->setOwnerID(owner->getUnitID());
    subject->setMoveType(moveAttached);
    EXPECT_EQ(xAfterMove(), 130.0);
    EXPECT_EQ(subject->getPosY(), itofix(160));

    owner->setHP(0);
    owner->setDeathTimeRemoval(0);
    battle.list.cullUnits();
    EXPECT_EQ(xAfterMove(), 250.0);
}
