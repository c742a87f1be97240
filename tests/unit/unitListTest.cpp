#include <gtest/gtest.h>

#include "unitTestKit.h"

namespace {

unitCreate* request(int type, int delay = 0)
{
    auto* made = new unitCreate;
    made->unitType = type;
    made->delay = delay;
    return made;
}

std::vector<int> idsOf(const std::vector<unit*>& units)
{
    std::vector<int> ids;
    for (const unit* member : units)
        ids.push_back(member->getUnitID());
    return ids;
}

void kill(unit* member, int removalDelay)
{
    member->setHP(0);
    member->setDeathTimeRemoval(removalDelay);
}

}  // namespace

TEST(UnitListTest, idsCountUpAndRestartAfterClearAll)
{
    testBattle battle;
    unit* first = battle.add(2, 0, 0);
    battle.add(3, 0, 0);
    EXPECT_EQ(idsOf(battle.list.getUnits()), (std::vector<int>{0, 1}));
    EXPECT_EQ(battle.list.getUnit(-1), nullptr);
    EXPECT_EQ(battle.list.at(0), first);
    battle.list.addCreate(request(2, 5));
    battle.list.clearAll();
    EXPECT_EQ(battle.list.getUnit(0), nullptr);
    EXPECT_EQ(battle.list.latestTime(), 0);
    EXPECT_EQ(battle.add(4, 0, 0)->getUnitID(), 0);
    EXPECT_EQ(battle.list.searchHitBox(7), 7);
}

TEST(UnitListTest, templateLookupTakesTheLastMatchOrTheFirstEntry)
{
    testBattle battle;
    auto* replacement = new hitbox;
    replacement->ownerType = 4;
    battle.list.addHitbox(replacement);
    EXPECT_EQ(battle.list.searchHitBox(4), 10);
    EXPECT_EQ(battle.list.searchHitBox(42), 0);
    EXPECT_EQ(battle.list.searchGraphics(42), 0);
}

TEST(UnitListTest, requestWithDelayTwentyIsCreatedOnTheTwentyFirstCall)
{
    testBattle battle;
    battle.list.addCreate(request(2, 20));
    EXPECT_EQ(battle.list.latestTime(), 20);
    for (int call = 1; call <= 20; ++call)
        battle.list.createUnits();
    EXPECT_TRUE(battle.list.getUnits().empty());
    battle.list.createUnits();
    EXPECT_EQ(battle.list.getUnits().size(), 1u);
}

TEST(UnitListTest, dueRequestsBecomeConfiguredUnitsInQueueOrder)
{
    testBattle battle;
    auto* bolt = request(3);
    bolt->ownerID = 7;
    bolt->posX = itofix(12);
    bolt->moveAngle = itofix(96);
    bolt->initArg2 = 1;
    battle.list.addCreate(bolt);
    battle.list.addCreate(request(5));
    battle.list.createUnits();

    const auto& units = battle.list.getUnits();
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(idsOf(units), (std::vector<int>{0, 1}));
    EXPECT_EQ(units[1]->getUnitType(), 5);
    auto* made = static_cast<probeUnit*>(units[0]);
    EXPECT_EQ(made->getUnitGraphics()->unitType, 3);
    EXPECT_EQ(made->getHitbox(), &battle.hitboxOf(3));
    EXPECT_EQ(made->getOwnerID(), 7);
    EXPECT_EQ(made->getPosX(), itofix(12));
    EXPECT_EQ(made->getMoveAngle(), itofix(96));
    EXPECT_TRUE(made->configuredAtInit);
    EXPECT_EQ(made->idAtInit, -1);
    EXPECT_EQ(made->initArgs, (std::vector<int>{0, 0, 1}));
}

TEST(UnitListTest, requestThatCannotBeMadeStaysPending)
{
    testBattle battle;
    battle.list.addCreate(request(12));
    battle.list.addCreate(request(2));
    battle.list.createUnits();
    EXPECT_EQ(battle.list.getUnits().size(), 1u);
    EXPECT_TRUE(battle.list.anyRemainingAffiliation(affiliationNeutral));

    probeLoader catalogue;
    unitList withoutTemplates;
    withoutTemplates.setLoader(&catalogue);
    withoutTemplates.addCreate(request(2));
    withoutTemplates.createUnits();
    EXPECT_TRUE(withoutTemplates.getUnits().empty());
    EXPECT_TRUE(withoutTemplates.anyRemainingAffiliation(affiliationEnemy));
}

TEST(UnitListTest, cullRemovesAdjacentDeadUnitsButKeepsThoseStillDying)
{
    testBattle battle;
    for (int i = 0; i < 5; ++i)
        battle.add(7, 0, 0, affiliationEnemy);
    const std::vector<unit*> units = battle.list.getUnits();
    kill(units[1], 0);
    kill(units[2], -3);
    kill(units[3], 3);
    units[4]->setDeathTimeRemoval(0);
    battle.list.cullUnits();
    EXPECT_EQ(idsOf(battle.list.getUnits()), (std::vector<int>{0, 3, 4}));

    kill(units[0], 0);
    kill(units[4], 0);
    battle.list.cullUnits();
    EXPECT_EQ(battle.list.search(battle.list.getUnits(), searchByType, 7).size(), 1u);
    EXPECT_TRUE(battle.list.anyRemainingAffiliation(affiliationEnemy));
}

TEST(UnitListTest, searchesFilterInInputOrderAndNest)
{
    testBattle battle;
    unit* fighter = battle.add(6, 0, 0, affiliationPlayer);
    for (int owner : {0, -1, 2, 0})
        battle.add(4, 0, 0)->setOwnerID(owner);
    unitList& list = battle.list;

    EXPECT_EQ(idsOf(list.search(list.getUnits(), searchByType, 4)), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(
        idsOf(list.search(list.search(list.getUnits(), searchByType, 4), searchByOwnerType, 6)),
        (std::vector<int>{1, 4}));
    EXPECT_EQ(idsOf(list.search(list.getUnits(), searchByAffiliation, affiliationPlayer)),
              (std::vector<int>{0}));
    EXPECT_TRUE(list.search(list.getUnits(), 3, 4).empty());

    kill(fighter, 0);
    list.cullUnits();
    EXPECT_TRUE(list.search(list.getUnits(), searchByOwnerType, 6).empty());
}

TEST(UnitListTest, pendingRequestsCountBySideOfTheirType)
{
    unitList list;
    list.addCreate(request(7, 3));
    EXPECT_FALSE(list.anyRemainingAffiliation(affiliationEnemy));
    EXPECT_TRUE(list.anyRemainingAffiliation(affiliationNeutral));
    list.addCreate(request(2, 9));
    list.createUnits();
    EXPECT_TRUE(list.anyRemainingAffiliation(affiliationEnemy));
    EXPECT_EQ(list.latestTime(), 8);
}
