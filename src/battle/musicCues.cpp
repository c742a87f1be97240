#include "musicCues.h"

#include "audio/musicScore.h"
#include "battleMain.h"
#include "shell/dataObj.h"
#include "shell/main.h"

musicCues::musicCues(musicPlayer& output, dataObj& gameData) : player(output), data(gameData) {}

void musicCues::listen(battleMain& battle)
{
    const int state = battle.getState();
    // A round starts with its title, or straight into the fight when it is
    // played again; either way its step counter starts from zero again.
    const bool roundBegan = lastState < 0
                            || (state == stateCountdown && lastState != stateCountdown)
                            || frameCount < lastStep;
    lastState = state;
    lastStep = frameCount;
    const int level = levelFor(state);
    if (roundBegan && data.getMusicVolume() > 0)
        player.startPiece(musicScore::pieceOfRound(battle.getRound()));
    if (level != lastLevel)
        player.setLevel(level);
    lastLevel = level;
}

int musicCues::levelFor(int state) const
{
    if (data.getInputObj()->isSoundMuted() || state == stateWon || state == stateLost)
        return 0;
    const bool fighting = state == stateFighting || state == stateLastWave;
    return gamePaused && fighting ? data.getMusicVolume() / 4 : data.getMusicVolume();
}
