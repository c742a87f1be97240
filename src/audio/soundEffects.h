#ifndef BROX_SOUNDEFFECTS_H
#define BROX_SOUNDEFFECTS_H

// The game's sound effects: the objects of the sound datafile, in file order.
// The asset builder writes them in this order and the game plays them by it.
enum soundEffect {
    soundBolt = 0,
    soundOrbiters = 1,
    soundBlast = 2,
    soundEnemyHurt = 3,
    soundEnemyDestroyed = 4,
    soundFighterHurt = 5,
    soundHealTaken = 6,
    soundAilment = 7,
    soundRoundTitle = 8,
    soundRoundWon = 9,
    soundRoundLost = 10,
    soundPause = 11,
    soundResume = 12,
    soundEffectCount = 13
};

#endif
