#include <gtest/gtest.h>

#include "unitTestKit.h"

namespace {

class StatusTest : public ::testing::Test {
protected:
    // The step (from 1) in which the unit is first found dead, 0 for never.
    int stepOfDeath(probeUnit* member, int steps)
    {
        for (int step = 1; step <= steps; ++step) {
            battle.step();
            if (member->getPendingActivity() == actDead)
                return step;
        }
        return 0;
    }

    bool holdAt(double x, double y)
    {
        int fx = ftofix(x), fy = ftofix(y);
        subject->hitWall = false;
        subject->arenaBoundaryCheck(fx, fy, subject->getUnitGraphics(), &battle.data);
        held = {fixtof(fx), fixtof(fy)};
        return subject->hitWall;
    }

    testBattle battle;
    probeUnit* subject = battle.add(2, 250, 200);
    std::pair<double, double> held;
};

}  // namespace

TEST_F(StatusTest, timeToLiveExpiresInTheStepAfterItRunsOut)
{
    const std::pair<int, int> expiries[] = {{30, 31}, {0, 1}, {-5, 1}, {-9, 0}, {-256, 0}};
    for (auto [timeToLive, deathStep] : expiries) {
        subject->setTimeToLive(timeToLive);
        subject->setHP(1);
        EXPECT_EQ(stepOfDeath(subject, 100), deathStep) << "time to live " << timeToLive;
    }
    subject->setTimeToLive(0);
    stepOfDeath(subject, 1);
    EXPECT_EQ(subject->getHP(), 0);
}

TEST_F(StatusTest, deathIsDecidedAgainEveryStep)
{
    subject->setHP(-40);
    battle.step();
    battle.step();
    EXPECT_EQ(subject->getPendingActivity(), actDead);
    EXPECT_EQ(subject->getHP(), -40);
    EXPECT_EQ(subject->getDeathTimeRemoval(), 8);
    subject->setHP(5);
    battle.step();
    EXPECT_EQ(subject->getPendingActivity(), actIdle);
}

TEST_F(StatusTest, hitDeathIsFoundInTheNextStepAndNeedsRealDamage)
{
    battle.hitboxOf(3).addCollide(2, collideFull, false);
    battle.hitboxOf(4).addCollide(2, collideKnockback, false);
    subject->diesWhenHit = true;
    battle.add(3, 260, 200);
    probeUnit* pushed = battle.add(2, 100, 100);
    pushed->diesWhenHit = true;
    battle.add(4, 110, 100);
    probeUnit* shielded = battle.add(2, 400, 300);
    shielded->diesWhenHit = true;
    shielded->addStatusAilment(ailmentInvincible, 100);
    battle.add(3, 410, 300);
    EXPECT_EQ(stepOfDeath(subject, 5), 2);
    EXPECT_EQ(subject->getHP(), 0);
    EXPECT_NE(pushed->getPendingActivity(), actDead);
    EXPECT_NE(shielded->getPendingActivity(), actDead);
}

TEST_F(StatusTest, wallDeathIsFoundInTheNextStepUnlessWallsAreIgnored)
{
    subject->setDiesWhenHitsWall(true);
    subject->setPos(itofix(10), itofix(200));
    probeUnit* ghost = battle.add(2, 10, 200);
    ghost->setDiesWhenHitsWall(true);
    ghost->setIgnoreWall(true);
    EXPECT_EQ(stepOfDeath(subject, 5), 2);
    EXPECT_EQ(subject->getHP(), 0);
    EXPECT_NE(ghost->getPendingActivity(), actDead);
    EXPECT_EQ(ghost->getPosX(), itofix(10));
}

TEST_F(StatusTest, stunOfSixFramesLastsThreeStepsThenClearsTheHitCounter)
{
    subject->addStatusAilment(ailmentStun, 6);
    subject->numHitsWhileStun = 2;
    subject->moveIntensity = 4;
    for (int step = 1; step <= 3; ++step) {
        battle.step();
        EXPECT_EQ(subject->getPendingActivity(), actStunned) << "step " << step;
    }
    EXPECT_EQ(subject->numHitsWhileStun, 2);
    battle.step();
    EXPECT_EQ(subject->getPendingActivity(), actMoving);
    EXPECT_EQ(subject->numHitsWhileStun, 0);
}

TEST_F(StatusTest, invincibilityOfThirtyFramesLastsFifteenSteps)
{
    subject->addStatusAilment(ailmentInvincible, 30);
    for (int step = 0; step < 14; ++step)
        battle.step();
    EXPECT_EQ(subject->getInvicTime(), 2);
    battle.step();
    EXPECT_EQ(subject->getInvicTime(), 0);
}

TEST_F(StatusTest, wallsHoldTheUnitsSquareAndBounceItsKnockback)
{
    subject->knockbackX = itofix(3);
    subject->knockbackY = itofix(2);
    EXPECT_TRUE(holdAt(10, 395));
    EXPECT_EQ(held, std::make_pair(16.0, 384.0));
    EXPECT_EQ(subject->knockbackX, -itofix(3));
    EXPECT_EQ(subject->knockbackY, -itofix(2));
    EXPECT_TRUE(holdAt(490, 200));
    EXPECT_EQ(held.first, 484.0);
    EXPECT_EQ(subject->knockbackX, itofix(3));
    EXPECT_FALSE(holdAt(16, 384));

    subject->setDrawScale(0);
    EXPECT_FALSE(holdAt(0, 400));
    EXPECT_TRUE(holdAt(-1, 401));
    EXPECT_EQ(held, std::make_pair(0.0, 400.0));
}

TEST_F(StatusTest, juiceIsBoostedRefusedByDeadOrBlockedPlayersAndCapped)
{
    probeUnit* player = battle.add(6, 100, 100, affiliationPlayer);
    player->addStatusAilment(ailmentJuiceBoost, 1);
    subject->giveJuiceToPlayer(player, 5, 2);
    EXPECT_EQ(player->pendingDamage, -30);

    player->setMaxHP(20);
    player->processPendingActions(&battle.data, &battle.list);
    EXPECT_EQ(player->getHP(), 20);

    player->addStatusAilment(ailmentJuiceBlock, 1);
    subject->giveJuiceToPlayer(player, 5, 2);
    EXPECT_EQ(player->pendingDamage, 0);
    player->statusAilments[ailmentJuiceBlock] = 0;
    player->currentActivity = actDead;
    subject->giveJuiceToPlayer(player, 5, 2);
    EXPECT_EQ(player->pendingDamage, 0);
    player->currentActivity = actIdle;
    player->setHP(0);
    subject->giveJuiceToPlayer(player, 5, 2);
    EXPECT_EQ(player->pendingDamage, 0);
}
