#ifndef BROX_PICDATA_H
#define BROX_PICDATA_H

// The objects of the picture file, picData.dat, by their role. The game takes
// every picture by its number, so these numbers are the file's contract: the
// picture builder writes the objects in this order, the game reads them by
// these names, and a file with fewer than objectCount objects is refused.
namespace picData {

enum object : int {
    floorRound0 = 0,
    floorRound1 = 1,
    floorRound2 = 2,  // also the end round's floor
    seekerDead1 = 3,
    seekerDead2 = 4,
    seekerDead3 = 5,
    seekerIdle = 6,
    seekerMoving1 = 7,
    seekerMoving2 = 8,
    seekerMoving3 = 9,
    timerIcon = 10,
    weakenIcon = 11,
    hpIcon = 12,
    chaserIdle = 13,
    chaserDead = 14,
    chaserIntro1 = 15,
    chaserIntro2 = 16,
    chaserIntro3 = 17,
    chaserStunned1 = 18,
    chaserStunned2 = 19,
    chaserStunned3 = 20,
    chaserStunned4 = 21,
    titleRound0 = 22,
    titleRound1 = 23,
    titleRound2 = 24,
    titleEndRound = 25,
    invincibleIcon = 26,
    healOrbPic = 27,
    juiceBoostIcon = 28,
    spare29 = 29,  // no role
    orbiterIdle = 30,
    orbiterFading = 31,
    orbiterFaded = 32,
    juiceBlockIcon = 33,
    spare34 = 34,  // no role
    aimMarkerPic = 35,
    poleonAttack1a = 36,
    poleonAttack1b = 37,
    poleonAttack2a = 38,
    poleonAttack2b = 39,
    poleonAttack2c = 40,
    poleonAttack2d = 41,
    poleonDead = 42,
    poleonAttack3 = 43,
    poleonIdle = 44,
    poleonMoving = 45,
    poleonStunned = 46,
    blastPic = 47,
    boltPic = 48,
    slowIcon = 49,
    hasteIcon = 50,
    stunIcon = 51,
    cursorPic = 52,
    lostBanner = 53,
    wonBanner = 54
};

// Objects 0 to 54: the fewest a usable picture file holds.
constexpr int objectCount = 55;

}  // namespace picData

#endif
