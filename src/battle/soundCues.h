#ifndef BROX_SOUNDCUES_H
#define BROX_SOUNDCUES_H

#include <array>
#include <vector>

#include "audio/samplePlayer.h"
#include "audio/soundEffects.h"
#include "units/unit.h"

class battleMain;
class dataObj;

// Finds what a player should hear by comparing the battle with how it was at
// the previous call: units that appeared, enemies whose hit points fell,
// the fighter's hurts, heals and ailments, and the battle's state and pause.
// It only reads the battle, so the simulation runs the same with or without it.
class soundCues {
public:
    static constexpr int centrePan = 128;

    soundCues(samplePlayer& output, dataObj& gameData);

    // Called by the battle controller after every pass of the main loop.
    void listen(battleMain& battle);

private:
    // What is remembered of a unit from one call to the next.
    struct unitTrace {
        int id;
        int type;
        int hp;
        std::array<int, statusAilmentCount> ailments;
    };

    static unitTrace traceOf(const unit& member);
    const unitTrace* previousTrace(int id) const;
    void hearUnits(const std::vector<unit*>& units);
    void hearFighter(const unitTrace& now, const unitTrace& before, int pan);
    void hearState(int state, bool paused);
    void cue(int effect, int pan);
    void playCues();
    int panOf(const unit& member) const;

    samplePlayer& player;
    dataObj& data;
    std::vector<unitTrace> traces;  // in id order, as the unit list keeps them
    int lastState = -1;
    bool lastPaused = false;
    int lastStep = 0;
    // Per effect, the sum and number of the pans heard in this call.
    std::array<int, soundEffectCount> panSum{};
    std::array<int, soundEffectCount> heard{};
};

#endif
