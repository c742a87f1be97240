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

void kill(probeUnit* member, int removalDelay)
{
    member->setHP(0);
    member->setDeathTimeRemoval(removalDelay);
}

} // namespace

TEST(unitList, idsCountUpAndRestartAfterClearAll)
{
    testBattle battle;
    battle.add(2, 0, 0);
    battle.add(3, 0, 0);
    EXPECT_EQ(idsOf(battle.list.getUnits()), (std::vector<int>{0, 1}));
    battle.list.addCreate(request(2, 5));
    battle.list.clearAll();
    EXPECT_TRUE(battle.list.getUnits().empty());
    EXPECT_EQ(battle.list.latestTime(), 0);
    EXPECT_EQ(battle.add(4, 0, 0)->getUnitID(), 0);
    EXPECT_EQ(battle.list.searchGraphics(7), 7);
    EXPECT_EQ(battle.list.searchHitBox(7), 7);
}

TEST(unitList, getUnitFindsOnlyListedIds)
{
    testBattle battle;
    probeUnit* first = battle.add(2, 0, 0);
    probeUnit* second = battle.add(2, 0, 0);
    EXPECT_EQ(battle.list.getUnit(-1), nullptr);
    EXPECT_EQ(battle.list.getUnit(1), second);
    EXPECT_EQ(battle.list.at(0), first);
    kill(first, 0);
    battle.list.cullUnits();
    EXPECT_EQ(battle.list.getUnit(0), nullptr);
}

TEST(unitList, templateLookupTakesTheLastMatchOrFallsBackToTheFirst)
{
    testBattle battle;
    auto* replacement = new hitbox;
    replacement->ownerType = 4;
    battle.list.addHitbox(replacement);
    EXPECT_EQ(battle.list.searchHitBox(4), 10);
    EXPECT_EQ(battle.list.searchHitBox(42), 0);
    EXPECT_EQ(battle.list.searchGraphics(42), 0);
    const unitList empty;
    EXPECT_EQ(empty.searchGraphics(3), 0);
}

TEST(unitList, delayedRequestIsCreatedOnTheCallAfterItsDelay)
{
    testBattle battle;
    battle.list.addCreate(request(2, 20));
    EXPECT_EQ(battle.list.latestTime(), 20);
    for (int call = 1; call <= 20; ++call)
        battle.list.createUnits();
    EXPECT_TRUE(battle.list.getUnits().empty());
    EXPECT_EQ(battle.list.latestTime(), 0);
    battle.list.createUnits();
    ASSERT_EQ(battle.list.getUnits().size(), 1u);
    EXPECT_FALSE(battle.list.anyRemainingAffiliation(affiliationEnemy));
}

TEST(unitList, dueRequestsBecomeUnitsInQueueOrderConfiguredBeforeInit)
{
    testBattle battle;
    auto* bolt = request(3);
    bolt->ownerID = 7;
    bolt->posX = itofix(12);
    bolt->posY = itofix(34);
    bolt->moveAngle = itofix(96);
    bolt->initArg0 = 15;
    bolt->initArg1 = 60;
    bolt->initArg2 = 1;
    battle.list.addCreate(bolt);
    battle.list.addCreate(request(5));
    battle.list.createUnits();

    const auto& units = battle.list.getUnits();
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0]->getUnitType(), 3);
    EXPECT_EQ(units[1]->getUnitType(), 5);
    EXPECT_EQ(idsOf(units), (std::vector<int>{0, 1}));
    const auto& seen = static_cast<probeUnit*>(units[0])->seenByInit;
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.id, -1);
    EXPECT_EQ(seen.type, 3);
    EXPECT_EQ(seen.owner, 7);
    EXPECT_EQ(seen.moveAngle, itofix(96));
    EXPECT_EQ(seen.x, itofix(12));
    EXPECT_EQ(seen.y, itofix(34));
    EXPECT_EQ(seen.graphics->unitType, 3);
    EXPECT_EQ(seen.record, &battle.hitboxOf(3));
    EXPECT_EQ(seen.args[0], 15);
    EXPECT_EQ(seen.args[1], 60);
    EXPECT_EQ(seen.args[2], 1);
}

TEST(unitList, requestThatCannotBeMadeStaysPending)
{
    testBattle battle;
    battle.list.addCreate(request(12));
    battle.list.addCreate(request(2));
    battle.list.createUnits();
    ASSERT_EQ(battle.list.getUnits().size(), 1u);
    EXPECT_EQ(battle.list.getUnits()[0]->getUnitType(), 2);
    EXPECT_TRUE(battle.list.anyRemainingAffiliation(affiliationNeutral));

    unitList withoutLoader;
    withoutLoader.addCreate(request(2));
    withoutLoader.createUnits();
    EXPECT_TRUE(withoutLoader.getUnits().empty());
    EXPECT_TRUE(withoutLoader.anyRemainingAffiliation(affiliationEnemy));
}

TEST(unitList, requestWaitsWhileNoTemplatesAreRegistered)
{
    probeLoader catalogue;
    unitList bare;
    bare.setLoader(&catalogue);
    bare.addCreate(request(2));
    bare.createUnits();
    EXPECT_TRUE(bare.getUnits().empty());
    EXPECT_TRUE(bare.anyRemainingAffiliation(affiliationEnemy));
}

TEST(unitList, cullRemovesEveryExpiredDeadUnitAndKeepsOrder)
{
    testBattle battle;
    for (int i = 0; i < 5; ++i)
        battle.add(2, 0, 0);
    const auto& units = battle.list.getUnits();
    kill(static_cast<probeUnit*>(units[1]), 0);
    kill(static_cast<probeUnit*>(units[2]), -3);
    kill(static_cast<probeUnit*>(units[4]), 1);
    static_cast<probeUnit*>(units[3])->setDeathTimeRemoval(0);
    battle.list.cullUnits();
    EXPECT_EQ(idsOf(battle.list.getUnits()), (std::vector<int>{0, 3, 4}));
}

TEST(unitList, deadUnitCountsUntilItIsCulled)
{
    testBattle battle;
    kill(battle.add(7, 0, 0, affiliationEnemy), 3);
    battle.list.cullUnits();
    EXPECT_EQ(battle.list.search(battle.list.getUnits(), searchByType, 7).size(), 1u);
    EXPECT_TRUE(battle.list.anyRemainingAffiliation(affiliationEnemy));
    EXPECT_FALSE(battle.list.anyRemainingAffiliation(affiliationPlayer));
}

TEST(unitList, searchesFilterInInputOrderAndNest)
{
    testBattle battle;
    probeUnit* fighter = battle.add(6, 0, 0, affiliationPlayer);
    probeUnit* orbiterA = battle.add(4, 0, 0);
    battle.add(3, 0, 0);
    probeUnit* stray = battle.add(4, 0, 0);
    probeUnit* orbiterB = battle.add(4, 0, 0);
    orbiterA->setOwnerID(fighter->getUnitID());
    orbiterB->setOwnerID(fighter->getUnitID());
    stray->setOwnerID(2);
    unitList& list = battle.list;

    EXPECT_EQ(idsOf(list.search(list.getUnits(), searchByType, 4)), (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(idsOf(list.search(list.search(list.getUnits(), searchByType, 4), searchByOwnerType, 6)),
              (std::vector<int>{1, 4}));
    EXPECT_EQ(idsOf(list.search(list.getUnits(), searchByAffiliation, affiliationPlayer)),
              (std::vector<int>{0}));
    EXPECT_TRUE(list.search(list.getUnits(), 3, 4).empty());

    kill(fighter, 0);
    list.cullUnits();
    EXPECT_TRUE(list.search(list.getUnits(), searchByOwnerType, 6).empty());
}

TEST(unitList, pendingRequestsCountBySideOfTheirType)
{
    testBattle battle;
    battle.list.setLoader(nullptr);
    battle.list.addCreate(request(7, 3));
    EXPECT_FALSE(battle.list.anyRemainingAffiliation(affiliationEnemy));
    EXPECT_TRUE(battle.list.anyRemainingAffiliation(affiliationNeutral));
    battle.list.addCreate(request(2, 9));
    EXPECT_TRUE(battle.list.anyRemainingAffiliation(affiliationEnemy));
    EXPECT_EQ(battle.list.latestTime(), 9);
}
