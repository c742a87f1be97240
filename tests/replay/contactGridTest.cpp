#include <gtest/gtest.h>

#include <allegro.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "battleHash.h"
#include "battleTestKit.h"
#include "chaserCrowd.h"

namespace {

constexpr unsigned crowdSeed = 29;
constexpr int crowdChasers = 1024;
// One chaser per 32 x 32 pixels, its own size: most of them touch another.
constexpr int crowdSide = 1024;
constexpr int crowdSteps = 300;
// The fighter is kept alive this long, then falls to the crowd.
constexpr int guardedSteps = 220;
constexpr int leftButton = 1;
constexpr int rightButton = 2;

// itofix shifts left, which is undefined for a negative number.
fixed toFixed(int value) { return value < 0 ? -itofix(-value) : itofix(value); }

// The fighter amid chasers strewn over the arena, a few large ones, seekers
// and heal orbs; a few chasers roam beyond the walls, two of them touching.
void stageCrowd(headlessBattle& game)
{
    std::srand(crowdSeed);
    unitList& list = *game.units();
    requestChaserCrowd(*game.data.getArena(), list, crowdSide, crowdChasers, true);
    for (int i = 0; i < 8; ++i) {
        requestAnywhere(list, seeker, crowdSide);
        requestAnywhere(list, healOrb, crowdSide);
    }
    list.createUnits();
    // Unstunnable, so that it keeps firing amid the crowd.
    list.getUnits().front()->setImmuneToAilments(true);
    const std::vector<unit*> chasers = list.search(list.getUnits(), searchByType, chaser);
    const int outside[][2] = {{-40, 100}, {-60, 110}, {crowdSide + 30, 500}, {300, -200}};
    for (std::size_t i = 0; i < std::size(outside); ++i) {
        chasers[i]->setIgnoreWall(true);
        chasers[i]->setPos(toFixed(outside[i][0]), toFixed(outside[i][1]));
    }
}

// The fighter walks a square, turns its aim all the time, fires in bursts,
// calls orbiters and sets off a blast now and then.
void playStep(headlessBattle& game, int step)
{
    mouse_b = step % 30 < 20 ? leftButton : 0;
    if (step % 40 == 5)
        mouse_b |= rightButton;
    key[KEY_SPACE] = step % 50 == 10;
    const int side = step / 25 % 4;
    key[KEY_W] = side == 0;
    key[KEY_D] = side == 1;
    key[KEY_S] = side == 2;
    key[KEY_A] = side == 3;
    if (step < guardedSteps)
        for (unit* fighter : game.units()->search(game.units()->getUnits(), searchByType, poleon))
            fighter->setHP(fighter->getMaxHP());
    stepBattle(game.battle, game.data);
}

struct crowdRun {
    std::vector<std::string> hashes;  // one per step
    long touched = 0;                 // units pushed or hit, summed over the steps
    long unfiled = 0;                 // units beyond the walls or wider than a cell, likewise
};

bool beyondGrid(const unit& member)
{
    const fixed side = itofix(crowdSide);
    const fixed width = member.getUnitGraphics()->getPicSize() * member.getDrawScale();
    return member.getPosX() < 0 || member.getPosX() > side || member.getPosY() < 0
           || member.getPosY() > side || width > contactGrid::cellSide;
}

crowdRun playCrowd(bool gridUsed)
{
    crowdRun run;
    headlessBattle game;
    EXPECT_EQ(game.initResult, 0);
    int turn = 0;
    game.data.getInputObj()->setMickeySource([&turn](int& x, int& y) {
        static const int aims[][2] = {{12, 0},  {8, 8},   {0, 12},  {-8, 8},
                                      {-12, 0}, {-8, -8}, {0, -12}, {8, -8}};
        x = aims[turn / 3 % 8][0];
        y = aims[turn / 3 % 8][1];
    });
    stageCrowd(game);
    game.units()->setContactGridUsed(gridUsed);
    for (int step = 1; step <= crowdSteps; ++step, ++turn) {
        playStep(game, step);
        const battleSnapshot state = stateOf(game);
        run.hashes.push_back(battleHash(state.controller, unitLinesOf(state)));
        for (const std::vector<stateField>& fields : state.units)
            run.touched += field(fields, "wasHit") || field(fields, "knockbackX") != 0
                           || field(fields, "knockbackY") != 0;
        for (const unit* member : game.units()->getUnits())
            run.unfiled += beyondGrid(*member);
    }
    for (int code = 0; code < KEY_MAX; ++code)
        key[code] = 0;
    mouse_b = 0;
    return run;
}

}  // namespace

// The grid must find every contact the all-pairs test finds, and hand them
// to each victim in the same order: a crowd in which chasers shove, stun and
// hurt each other, bolts and orbiters cut through, blasts grow past a cell
// and units roam beyond the walls hashes alike, step by step, both ways.
TEST(ContactGridTest, CrowdPlaysOutAsWithEveryPairTested)
{
    {
        headlessBattle game;
        stageCrowd(game);
        unitList& list = *game.units();
        const unit& inCrowd = *list.search(list.getUnits(), searchByType, chaser).back();
        list.fileContacts(crowdSide, crowdSide);
        EXPECT_LT(list.possibleHitters(inCrowd).size(), list.getUnits().size() / 20)
            << "the grid does not narrow the search";
        list.dropContacts();
        EXPECT_EQ(&list.possibleHitters(inCrowd), &list.getUnits());
    }
    const crowdRun grid = playCrowd(true);
    const crowdRun allPairs = playCrowd(false);
    // Half the crowd is touched on an average step, and a few units must be
    // found without the grid's cells.
    EXPECT_GT(grid.touched, crowdChasers / 2 * crowdSteps);
    EXPECT_GT(grid.unfiled, crowdSteps);
    ASSERT_EQ(grid.hashes.size(), allPairs.hashes.size());
    for (std::size_t step = 0; step < grid.hashes.size(); ++step)
        ASSERT_EQ(grid.hashes[step], allPairs.hashes[step])
            << "the grid's game first differs at step " << step + 1;
}
