#include <gtest/gtest.h>

#include <cmath>

#include "behaviourTestKit.h"

namespace {

// Where an orbiter at the angle sits relative to its owner: below it at 0,
// to its right at 64.
void expectOrbiting(const unit* guard, const unit* owner, int angle)
{
    const double radians = angle * M_PI / 128;
    EXPECT_NEAR(fixtof(guard->getPosX() - owner->getPosX()), 50 * std::sin(radians), 0.05);
    EXPECT_NEAR(fixtof(guard->getPosY() - owner->getPosY()), 50 * std::cos(radians), 0.05);
}

void removeFromBattle(unit* member, unitList& list)
{
    member->setHP(0);
    member->setDeathTimeRemoval(0);
    list.cullUnits();
}

class MarkerTest : public ::testing::Test {
protected:
    // The marker's angle after one step with the mouse movement, from angle 0.
    fixed turnBy(int mx, int my)
    {
        marker->setDrawAngle(0);
        battle.moveMouse(mx, my);
        battle.run();
        return marker->getDrawAngle();
    }

    behaviourBattle battle;
    unit* owner = battle.spawn(poleon, 250, 200);
    unit* marker = battle.spawn(aimMarker, 250, 200, owner->getUnitID());
};

}  // namespace

TEST(OrbiterTest, fightersOrbitersSpreadEvenlyBehindTheFirst)
{
    behaviourBattle battle;
    unit* fighter = battle.spawn(poleon, 250, 200);
    const int owner = fighter->getUnitID();
    unit* first = battle.spawn(orbiter, 250, 200, owner);
    battle.run(2);
    EXPECT_EQ(first->getDrawAngle(), -itofix(8));
    expectOrbiting(first, fighter, 8);

    unit* second = battle.spawn(orbiter, 250, 200, owner);
    battle.run();
    EXPECT_EQ(first->getDrawAngle(), -itofix(12));
    EXPECT_EQ(second->getDrawAngle() - first->getDrawAngle(), -itofix(128));
    expectOrbiting(second, fighter, 140);

    unit* third = battle.spawn(orbiter, 250, 200, owner);
    battle.run();
    EXPECT_EQ(first->getDrawAngle(), -itofix(16));
    EXPECT_EQ(second->getDrawAngle() - first->getDrawAngle(), -itofix(85));
    EXPECT_EQ(third->getDrawAngle() - first->getDrawAngle(), -itofix(170));
    expectOrbiting(third, fighter, 186);

    // Four are more than the fighter can call: none of them turns.
    unit* fourth = battle.spawn(orbiter, 250, 200, owner);
    battle.run();
    EXPECT_EQ(first->getDrawAngle(), -itofix(16));
    EXPECT_EQ(third->getDrawAngle() - first->getDrawAngle(), -itofix(170));
    EXPECT_EQ(fourth->getDrawAngle(), 0);
}

TEST(OrbiterTest, orbiterWhoseOwnerLeftStopsAndNoLongerCounts)
{
    behaviourBattle battle;
    unit* fighter = battle.spawn(poleon, 250, 200);
    unit* formerOwner = battle.add(poleon, 100, 100, affiliationPlayer);
    unit* stranded = battle.spawn(orbiter, 100, 100, formerOwner->getUnitID());
    unit* kept = battle.spawn(orbiter, 250, 200, fighter->getUnitID());
    battle.run();
    EXPECT_EQ(kept->getDrawAngle(), -itofix(132));

    removeFromBattle(formerOwner, battle.list);
    const fixed x = stranded->getPosX();
    battle.run(2);
    EXPECT_EQ(stranded->getDrawAngle(), -itofix(4));
    EXPECT_EQ(stranded->getPosX(), x);
    EXPECT_EQ(kept->getDrawAngle(), -itofix(140));
}

TEST(OrbiterTest, bigHitInTheFirstStepComesOffTheExtraHitPoints)
{
    behaviourBattle battle;
    battle.hitboxOf(chaser).damage = 1500;
    battle.hitboxOf(chaser).addCollide(orbiter, collideDamage, false);
    const int owner = battle.spawn(poleon, 250, 200)->getUnitID();
    unit* veteran = battle.spawn(orbiter, 400, 300, owner);
    battle.run();
    EXPECT_EQ(veteran->getHP(), 1000);

    battle.add(chaser, fixtof(veteran->getPosX()), fixtof(veteran->getPosY()), affiliationEnemy);
    battle.add(chaser, 100, 100, affiliationEnemy);
    unit* fresh = battle.spawn(orbiter, 100, 100, owner);
    battle.run(2);
    EXPECT_EQ(fresh->getHP(), 500);
    EXPECT_NE(fresh->getPendingActivity(), actDead);
    EXPECT_EQ(veteran->getPendingActivity(), actDead);
}

TEST(DumbUnitTest, blastGrowsOnTheSpotFromNothing)
{
    behaviourBattle battle;
    unit* grower = battle.spawn(blast, 120, 80);
    for (int scale : {0, 1966, 3932}) {
        battle.run();
        EXPECT_EQ(grower->getDrawScale(), scale);
    }
    EXPECT_EQ(grower->getPosX(), itofix(120));
    EXPECT_EQ(grower->getPosY(), itofix(80));
}

TEST(DumbUnitTest, boltFliesStraightAndHealOrbWaits)
{
    behaviourBattle battle;
    unit* shot = battle.spawn(bolt, 100, 100, -1, itofix(64));
    unit* orb = battle.spawn(healOrb, 300, 300);
    battle.run(3);
    EXPECT_EQ(shot->getPosX(), itofix(160));
    EXPECT_EQ(shot->getPosY(), itofix(100));
    EXPECT_EQ(orb->getPosX(), itofix(300));
    EXPECT_EQ(orb->getPosY(), itofix(300));
}

TEST_F(MarkerTest, turnsToTheDirectionOfMouseMovementsLongerThanOneMickey)
{
    EXPECT_EQ(turnBy(1, 0), 0);
    EXPECT_NEAR(offBy(turnBy(1, 1), 96), 0, 0.05);
    EXPECT_EQ(turnBy(0, -5), 0);
    EXPECT_EQ(turnBy(0, 5), -itofix(128));
    EXPECT_EQ(turnBy(-5, 0), -itofix(64));
    EXPECT_NEAR(offBy(turnBy(5, 5), 96), 0, 0.05);
    EXPECT_NEAR(offBy(turnBy(-3, -3), 224), 0, 0.05);
    EXPECT_EQ(owner->getPosX(), marker->getPosX());
}

TEST_F(MarkerTest, slowMovementsTurnATenthOfTheWay)
{
    battle.input().setControlThreshold(10);
    EXPECT_EQ(turnBy(5, 0), itofix(64) / 10);
    EXPECT_EQ(turnBy(-5, 0), -(itofix(64) / 10));
    EXPECT_EQ(turnBy(10, 0), itofix(64) / 10);
    EXPECT_EQ(turnBy(12, 0), itofix(64));
}

TEST_F(MarkerTest, keepsItsAngleOnceItsOwnerIsGone)
{
    removeFromBattle(owner, battle.list);
    EXPECT_EQ(turnBy(5, 0), 0);
}
