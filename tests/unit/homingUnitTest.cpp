#include <gtest/gtest.h>

#include <cstdlib>

#include "behaviourTestKit.h"

namespace {

class ChaserTest : public ::testing::Test {
protected:
    unit* chaserAiming(int aim, int dash, int variant = 0)
    {
        return battle.spawn(chaser, 100, 200, -1, 0, {aim, dash, variant});
    }

    // The steps, counted from 1, on which the unit moved.
    std::vector<int> movingSteps(const unit* mover, int steps)
    {
        std::vector<int> moved;
        for (int step = 1; step <= steps; ++step) {
            const fixed x = mover->getPosX();
            const fixed y = mover->getPosY();
            battle.run();
            if (mover->getPosX() != x || mover->getPosY() != y)
                moved.push_back(step);
        }
        return moved;
    }

    static std::vector<int> stepsFromTo(int first, int last)
    {
        std::vector<int> steps;
        for (int step = first; step <= last; ++step)
            steps.push_back(step);
        return steps;
    }

    behaviourBattle battle;
    unit* fighter = battle.add(poleon, 450, 200, affiliationPlayer);
};

}  // namespace

TEST_F(ChaserTest, aimsThenDashesThenAimsAgain)
{
    const unit* hunter = chaserAiming(15, 60);
    EXPECT_EQ(hunter->getAffiliation(), affiliationEnemy);
    EXPECT_EQ(hunter->getHP(), 1000);
    EXPECT_EQ(movingSteps(hunter, 90), stepsFromTo(16, 75));
    EXPECT_EQ(hunter->getDrawAngle(), itofix(64));
    EXPECT_EQ(hunter->getPosX(), itofix(220));
}

TEST_F(ChaserTest, dashKeepsItsLineWhenTheFighterStepsAside)
{
    const unit* hunter = chaserAiming(1, 10);
    battle.run(2);
    fighter->setPos(itofix(100), itofix(50));
    battle.run(9);
    EXPECT_EQ(hunter->getDrawAngle(), itofix(64));
    EXPECT_EQ(hunter->getPosY(), itofix(200));
    battle.run();
    EXPECT_NEAR(offBy(hunter->getDrawAngle(), 0), 0, 10);
    EXPECT_NE(hunter->getDrawAngle(), itofix(64));
}

TEST_F(ChaserTest, withoutAimTimeDashesFollowOneAnother)
{
    const unit* hunter = chaserAiming(0, 3);
    battle.run();
    fighter->setPos(itofix(100), itofix(50));
    EXPECT_EQ(movingSteps(hunter, 10), stepsFromTo(1, 10));
    EXPECT_EQ(hunter->getDrawAngle(), itofix(64));
}

TEST_F(ChaserTest, stunnedChaserRunsOnWithItsPhaseStopped)
{
    unit* hunter = chaserAiming(1, 3);
    battle.run(2);
    fighter->setPos(itofix(100), itofix(50));
    hunter->addStatusAilment(ailmentStun, 20);
    EXPECT_EQ(movingSteps(hunter, 8), stepsFromTo(1, 8));
    EXPECT_EQ(hunter->getCurrentActivity(), actStunned);
    EXPECT_EQ(hunter->getDrawAngle(), itofix(64));
}

TEST_F(ChaserTest, withoutTargetKeepsItsRandomHeading)
{
    fighter->setHP(0);
    fighter->setDeathTimeRemoval(0);
    battle.list.cullUnits();
    srand(41);
    const int heading = rand() % 256;
    srand(41);
    const unit* hunter = chaserAiming(1, 4);
    const fixed x = hunter->getPosX();
    const fixed y = hunter->getPosY();
    battle.run(3);
    EXPECT_EQ(hunter->getDrawAngle(), itofix(heading));
    EXPECT_NEAR(offBy(calcAngle(x, y, hunter->getPosX(), hunter->getPosY(), 0), heading), 0, 1);
}

TEST_F(ChaserTest, largeChaserRaisesEveryChasersDamageForTheRestOfTheRun)
{
    battle.hitboxOf(chaser).damage = 400;
    battle.hitboxOf(chaser).addCollide(poleon, collideDamage, false);
    const unit* large = chaserAiming(5, 15, 1);
    EXPECT_EQ(large->getHP(), 5000);
    EXPECT_EQ(large->getMaxHP(), 5000);
    EXPECT_EQ(large->getDrawScale(), itofix(2));

    battle.list.clearAll();  // the round starts again
    unit* victim = battle.add(poleon, 250, 200, affiliationPlayer);
    victim->setHP(3000);
    battle.spawn(chaser, 250, 200, -1, 0, {15, 60, 0});
    battle.run();
    EXPECT_EQ(victim->getHP(), 2250);
}

TEST(SeekerTest, slowsDownOnlyWithin150Pixels)
{
    for (const auto& [gap, stride] : {std::pair{150.0, 5.0}, std::pair{149.9, 2.5}}) {
        behaviourBattle battle;
        battle.add(poleon, 250, 100, affiliationPlayer);
        const unit* missile = battle.spawn(seeker, 250, 100 + gap);
        battle.run();
        EXPECT_NEAR(fixtof(missile->getPosY()), 100 + gap - stride, 0.001) << gap;
        EXPECT_EQ(missile->getDrawAngle(), 0);
        EXPECT_EQ(missile->getAffiliation(), affiliationEnemy);
    }
}

TEST(SeekerTest, fliesOnWithoutTarget)
{
    behaviourBattle battle;
    const unit* missile = battle.spawn(seeker, 250, 300, -1, itofix(64));
    battle.run(2);
    EXPECT_EQ(missile->getPosX(), itofix(250));
    EXPECT_EQ(missile->getPosY(), itofix(290));
}
