#ifndef BROX_CHASER_CROWD_H
#define BROX_CHASER_CROWD_H

#include <allegro.h>

#include <cstdlib>

#include "battle/arena.h"
#include "battle/battleMain.h"
#include "population/unitCreate.h"
#include "population/unitList.h"
#include "shell/dataObj.h"
#include "shell/main.h"
#include "units/unitTypes.h"

// A crowd of chasers around the fighter, for the contact grid's test and
// the benchmark of a crowded step: both must meet the same crowd.

// Asks for a unit of the type at (x, y); chasers and seekers aim for 15
// steps and dash for 60, as in the rounds. A variant of 1 is a large one.
inline void requestUnit(unitList& list, int type, int x, int y, int variant = 0)
{
    auto* spawn = new unitCreate;
    spawn->unitType = type;
    spawn->posX = itofix(x);
    spawn->posY = itofix(y);
    spawn->initArg0 = 15;
    spawn->initArg1 = 60;
    spawn->initArg2 = variant;
    list.addCreate(spawn);
}

// The same anywhere in a square arena `side` pixels wide, drawn from rand().
inline void requestAnywhere(unitList& list, int type, int side, int variant = 0)
{
    const int x = std::rand() % side;
    const int y = std::rand() % side;
    requestUnit(list, type, x, y, variant);
}

// The fighter in the middle of a square arena `side` pixels wide and
// `chasers` chasers strewn over it, drawn from rand(); with `someLarge`, one
// in 200 is a large one. The units come with the next createUnits.
inline void requestChaserCrowd(arena& field, unitList& list, int side, int chasers, bool someLarge)
{
    field.setArenaSize(side, side);
    list.clearAll();
    requestUnit(list, poleon, side / 2, side / 2);
    for (int i = 0; i < chasers; ++i)
        requestAnywhere(list, chaser, side, someLarge && i % 200 == 7 ? 1 : 0);
}

// One simulation step as the main loop takes it, without the rest of its
// pass: the input polled as in a pass with a tick, then the step.
inline void stepBattle(battleMain& battle, dataObj& data)
{
    int width = 0;
    int height = 0;
    data.getVideoSettings()->getResolution(width, height);
    battle.getBattleUnits()->cullUnits();
    data.getInputObj()->processInput(width, height, true);
    battle.applyInput();
    ++frameCount;
    battle.getBattleUnits()->cullUnits();
}

#endif
