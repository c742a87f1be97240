#ifndef BROX_MUSICCUES_H
#define BROX_MUSICCUES_H

#include "audio/musicPlayer.h"

class battleMain;
class dataObj;

// Chooses the music from how the battle goes: each round's piece from the
// round's start, at the music volume; a quarter of it while the fight is
// paused; none under the won and lost banners, whose sound effects are their
// stings, nor while the sound is muted. Like the sound cues it only reads the
// battle.
class musicCues {
public:
    musicCues(musicPlayer& output, dataObj& gameData);

    // Called by the battle controller after every pass of the main loop.
    void listen(battleMain& battle);

private:
    int levelFor(int state) const;

    musicPlayer& player;
    dataObj& data;
    int lastState = -1;
    int lastStep = 0;
    int lastLevel = -1;
};

#endif
