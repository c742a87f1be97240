#include <gtest/gtest.h>

#include "behaviourTestKit.h"

namespace {

struct hpColor {
    int hp;
    int color;
};

class PoleonTest : public ::testing::Test {
protected:
    // The fighter at 1000 of 3000 HP, after the step that gave it its marker.
    poleonProbe* armedFighter(behaviourBattle& staged)
    {
        auto* made = static_cast<poleonProbe*>(staged.spawn(poleon, 250, 200));
        staged.run();
        return made;
    }

    // Types of the units from the given place in the list on.
    std::vector<int> typesFrom(const behaviourBattle& staged, size_t first)
    {
        std::vector<int> types;
        for (size_t i = first; i < staged.list.getUnits().size(); ++i)
            types.push_back(staged.list.getUnits()[i]->getUnitType());
        return types;
    }

    behaviourBattle battle;
    poleonProbe* fighter = armedFighter(battle);
};

}  // namespace

TEST_F(PoleonTest, laterMovementKeysOverwriteEarlierOnesAndNoKeyStands)
{
    const std::pair<std::vector<int>, int> combinations[] = {
        {{keyUp, keyDown}, 128},          {{keyLeft, keyRight}, 64},
        {{keyUp, keyDown, keyLeft}, 224}, {{keyUp, keyLeft, keyRight}, 32},
        {{keyDown, keyLeft}, 160},        {{keyDown, keyRight}, 96}};
    for (const auto& [keys, angle] : combinations) {
        const fixed x = fighter->getPosX();
        const fixed y = fighter->getPosY();
        battle.holdKeys(keys);
        battle.run();
        const fixed stepped = calcDist(x, y, fighter->getPosX(), fighter->getPosY());
        EXPECT_NEAR(fixtof(stepped), 15.0, 0.01) << angle;
        const fixed heading = calcAngle(x, y, fighter->getPosX(), fighter->getPosY(), 0);
        EXPECT_NEAR(offBy(heading, angle), 0, 0.1);
    }
    const fixed x = fighter->getPosX();
    const fixed y = fighter->getPosY();
    battle.holdKeys({});
    battle.run();
    EXPECT_EQ(fighter->getPosX(), x);
    EXPECT_EQ(fighter->getPosY(), y);
    EXPECT_EQ(fighter->getPendingActivity(), actIdle);
}

TEST_F(PoleonTest, facingLagsTheMarkerByOneStep)
{
    const unit* marker = battle.list.getUnits().back();
    ASSERT_EQ(marker->getUnitType(), aimMarker);
    EXPECT_EQ(marker->getOwnerID(), fighter->getUnitID());
    battle.moveMouse(5, 0);
    battle.run();
    EXPECT_EQ(marker->getDrawAngle(), itofix(64));
    EXPECT_EQ(fighter->getDrawAngle(), 0);
    battle.moveMouse(0, 0);
    battle.run();
    EXPECT_EQ(fighter->getDrawAngle(), itofix(64));
    EXPECT_EQ(battle.count(aimMarker), 1);
}

TEST_F(PoleonTest, stunnedFighterStandsStillButAsksForAMissingMarker)
{
    fighter->addStatusAilment(ailmentStun, 10);
    battle.run();
    unit* marker = battle.list.getUnits().back();
    marker->setHP(0);
    marker->setDeathTimeRemoval(0);
    battle.list.cullUnits();
    const fixed y = fighter->getPosY();
    battle.holdKeys({keyUp});
    battle.holdMouse({mouseLeft});
    battle.run();
    ASSERT_EQ(fighter->getCurrentActivity(), actStunned);
    EXPECT_EQ(battle.count(aimMarker), 1);
    EXPECT_EQ(battle.count(bolt), 0);
    EXPECT_EQ(fighter->getPosY(), y);
}

TEST_F(PoleonTest, orbitersAreBoughtWhileTheFighterCanPayForThem)
{
    // The cooldown gains 5 per orbiter and is counted down once in the step.
    const struct {
        int hp, made, left, cooldown;
    } purchases[] = {{1000, 3, 400, 14}, {500, 2, 100, 9}, {200, 0, 200, 0}};
    for (const auto& purchase : purchases) {
        behaviourBattle fresh;
        poleonProbe* buyer = armedFighter(fresh);
        buyer->setHP(purchase.hp);
        fresh.clickMouse({mouseRight});
        fresh.run();
        EXPECT_EQ(fresh.count(orbiter), purchase.made) << purchase.hp;
        EXPECT_EQ(buyer->getHP(), purchase.left);
        EXPECT_EQ(buyer->cooldown1, purchase.cooldown);
        EXPECT_EQ(buyer->cooldown2, purchase.cooldown);
    }

    for (int i = 0; i < 3; ++i)
        battle.spawn(orbiter, 50, 50);  // not the fighter's, but they still count
    battle.clickMouse({mouseRight});
    battle.run();
    EXPECT_EQ(battle.count(orbiter), 3);
    EXPECT_EQ(fighter->getHP(), 1000);
}

TEST_F(PoleonTest, blastNeedsMoreThan1500AndLocksTheFighter)
{
    fighter->setHP(1500);
    battle.clickKeys({keyDefense});
    battle.run();
    EXPECT_EQ(battle.count(blast), 0);
    EXPECT_EQ(fighter->getHP(), 1500);
    EXPECT_EQ(fighter->moveLockTime, 0);

    fighter->setHP(1501);
    battle.run();
    EXPECT_EQ(battle.count(blast), 1);
    EXPECT_EQ(fighter->getHP(), 1);
    EXPECT_EQ(fighter->moveLockTime, 29);
    EXPECT_EQ(fighter->cooldown3, 29);

    battle.clickKeys({});
    battle.holdKeys({keyUp});
    battle.moveMouse(5, 0);
    const fixed y = fighter->getPosY();
    battle.run(29);
    EXPECT_EQ(fighter->getPosY(), y);
    EXPECT_EQ(fighter->getDrawAngle(), 0);
    battle.run();
    EXPECT_LT(fighter->getPosY(), y);
    EXPECT_EQ(fighter->getDrawAngle(), itofix(64));
}

TEST_F(PoleonTest, oneCallFiresTheBoltBeforeTheOrbiters)
{
    const size_t before = battle.list.getUnits().size();
    battle.holdMouse({mouseLeft});
    battle.clickMouse({mouseRight});
    battle.run();
    EXPECT_EQ(typesFrom(battle, before), (std::vector<int>{bolt, orbiter, orbiter, orbiter}));
    EXPECT_EQ(fighter->getHP(), 400);
    EXPECT_EQ(fighter->cooldown1, 19);
    EXPECT_EQ(battle.list.getUnits()[before]->getOwnerID(), fighter->getUnitID());
}

TEST_F(PoleonTest, heldButtonFiresEveryFifthStep)
{
    battle.holdMouse({mouseLeft});
    std::vector<int> firedOn;
    for (int step = 1; step <= 15; ++step) {
        const int bolts = battle.count(bolt);
        battle.run();
        if (battle.count(bolt) > bolts)
            firedOn.push_back(step);
    }
    EXPECT_EQ(firedOn, (std::vector<int>{1, 6, 11}));
    EXPECT_EQ(fighter->getHP(), 1000);
}

TEST_F(PoleonTest, hpBarShowsWhatTheFighterCanAfford)
{
    const int red = makecol(125, 36, 36);
    const int purple = makecol(86, 71, 154);
    const int green = makecol(82, 179, 107);
    const int gold = makecol(204, 187, 46);
    const hpColor bands[] = {
        {599, red}, {600, purple}, {1499, purple}, {1500, green}, {3000, gold}};
    playerUnit plain;
    plain.init(0, 0, 0);
    plain.setMaxHP(3000);
    EXPECT_EQ(plain.getAffiliation(), affiliationPlayer);
    for (const auto& band : bands) {
        plain.setHP(band.hp);
        fighter->setHP(band.hp);
        EXPECT_EQ(plain.getHPBarColor(), band.color) << band.hp;
        EXPECT_EQ(fighter->getHPBarColor(), band.color) << band.hp;
    }

    // Where the two differ: the fighter goes by price, the plain unit by ratio.
    fighter->setMaxHP(1000);
    plain.setMaxHP(1000);
    fighter->setHP(1000);
    plain.setHP(1000);
    EXPECT_EQ(fighter->getHPBarColor(), purple);
    EXPECT_EQ(plain.getHPBarColor(), gold);
    plain.setMaxHP(0);
    EXPECT_EQ(plain.getHPBarColor(), red);
}
