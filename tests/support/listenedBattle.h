#ifndef BROX_LISTENED_BATTLE_H
#define BROX_LISTENED_BATTLE_H

#include <vector>

#include "battle/musicCues.h"
#include "battle/soundCues.h"
#include "battleTestKit.h"
#include "population/unitCreate.h"
#include "recordingPlayers.h"
#include "units/unitTypes.h"

// A headless battle whose controller tells recording players what to play.
class listenedBattle : public headlessBattle {
public:
    listenedBattle() : cues(recorder, data), musicChoice(music, data)
    {
        battle.setSoundCues(&cues);
        battle.setMusicCues(&musicChoice);
    }

    unit* first(int type)
    {
        const std::vector<unit*> found = units()->search(units()->getUnits(), searchByType, type);
        return found.empty() ? nullptr : found.front();
    }

    // Ticking passes until a unit of the type is in the list; false if none comes.
    bool passUntilPresent(int type)
    {
        for (int tries = 0; tries < 40 && first(type) == nullptr; ++tries)
            pass(true);
        return first(type) != nullptr;
    }

    int panAt(const unit& member)
    {
        return fixtoi(member.getPosX()) * 255 / data.getArena()->getArenaSizeX();
    }

    // Ticking passes until the battle is in the state; false if it never is.
    bool passUntilState(int wanted)
    {
        for (int tries = 0; tries < 100 && battle.getState() != wanted; ++tries)
            pass(true);
        return battle.getState() == wanted;
    }

    // The fight begun, with nothing in it yet.
    void stageFight()
    {
        skipCountdown();
        units()->clearAll();
    }

    // A fighter, and what it is to meet a few steps later at the same place.
    void stageMeeting(int x, int otherType)
    {
        stageFight();
        queueUnit(poleon, x, 0);
        if (otherType >= 0)
            queueUnit(otherType, x, 3);
    }

    void queueUnit(int type, int x, int delay)
    {
        auto* request = new unitCreate();
        request->unitType = type;
        request->posX = itofix(x);
        request->posY = itofix(150);
        request->delay = delay;
        units()->addCreate(request);
    }

    recordingPlayer recorder;
    soundCues cues;
    recordingMusic music;
    musicCues musicChoice;
};

#endif
