#ifndef BROX_BATTLE_TEST_KIT_H
#define BROX_BATTLE_TEST_KIT_H

#include <allegro.h>

#include <memory>
#include <string>

#include "allegroTestEnv.h"
#include "battle/battleMain.h"
#include "population/unitList.h"
#include "scratchFolder.h"
#include "shell/dataObj.h"
#include "shell/main.h"

// A whole battle brought up headless with the built picture file: the
// controller runs pass by pass, and the test plays the timer by setting
// frameTick itself.
class headlessBattle {
public:
    explicit headlessBattle(int resolutionX = 640, int resolutionY = 480)
    {
        ensureHeadlessAllegro(32);
        for (int code = 0; code < KEY_MAX; ++code)
            key[code] = 0;
        mouse_b = 0;
        frameTick = 0;
        frameInRound = 0;
        frameCount = 0;
        gamePaused = false;
        shouldPauseTimer = false;
        windowFocused = true;
        data.getVideoSettings()->setResolution(resolutionX, resolutionY);
        const std::string picData = BROX_PICDATA;
        workingFolder withPictures(picData.substr(0, picData.rfind('/')));
        if (withPictures.entered()) {
            battle.setDataObj(&data);
            initResult = battle.init();
            if (!withPictures.leave())
                initResult = -2;
        }
    }

    // One main-loop pass, with or without a pending timer tick.
    void pass(bool tick = true)
    {
        frameTick = tick ? 1 : 0;
        battle.go();
    }

    void passes(int count, bool tick = true)
    {
        for (int i = 0; i < count; ++i)
            pass(tick);
    }

    // A key pressed in one ticking pass and let go in the next.
    void tap(int code)
    {
        for (const bool down : {true, false}) {
            key[code] = down ? 1 : 0;
            pass(true);
        }
    }

    // Runs the countdown out with ticks, so the fight has begun.
    void skipCountdown()
    {
        while (battle.getState() == stateCountdown)
            pass(false);
    }

    unitList* units() { return battle.getBattleUnits(); }

    int initResult = -3;
    dataObj data;
    battleMain battle;
};

#endif
