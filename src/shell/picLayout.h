// Picture sizes and groups of picData.dat; the objects' numbers are named
// in src/shell/picData.h, which picbuilder writes them by and the game reads
// them by.
#ifndef BROX_PICLAYOUT_H
#define BROX_PICLAYOUT_H

#include <cstddef>
#include <iterator>

#include "picData.h"

namespace picLayout {

using namespace picData;

// Unit picture sides. The side is the width of a type's idle picture, which
// the game uses as the unit's collision diameter; sizes are chosen for the
// first round's 300x300 arena:
//
//   type       side  why
//   poleon      32   a tenth of the arena: room to dodge, big enough to read
//   chaser      32   as big as the fighter so a dash reads as a real threat;
//                    the large variant is drawn at scale 2 (64)
//   seeker      16   a small missile, hard to hit but clearly a missile
//   bolt         8   a quick shot; small so a stream of them stays readable
//   orbiter     16   half the fighter: three circle it without hiding it
//   healOrb     16   a pick-up, noticeable but not an obstacle
//   aimMarker   48   a ring 8 px outside the fighter so both stay visible
//   blast      200   grows from nothing to scale 0.6, about 120 px: a third
//                    of the first arena at its widest
constexpr int poleonSide = 32;
constexpr int chaserSide = 32;
constexpr int seekerSide = 16;
constexpr int boltSide = 8;
constexpr int orbiterSide = 16;
constexpr int healOrbSide = 16;
constexpr int aimMarkerSide = 48;
constexpr int blastSide = 200;

// Status icons match the 60x60 status slots of a 640x480 screen; the HP
// icon matches the 24 px HP bar there, and the timer icon, shown at half
// that, is drawn with strokes that survive halving.
constexpr int statusIconSide = 60;
constexpr int hudIconSide = 24;
constexpr int cursorSide = 19;
constexpr int bannerWidth = 360;
constexpr int bannerHeight = 72;
constexpr int spareSide = 8;

// Floors are stretched over their round's arena, so they share its size.
struct FloorSize {
    int index, width, height;
};
inline constexpr FloorSize floors[] = {
    {floorRound0, 300, 300}, {floorRound1, 600, 300}, {floorRound2, 500, 400}};

// Every picture of one unit type; pics[0] is the idle picture that sets the
// type's size.
struct UnitPictures {
    const char* type;
    int side;
    const int* pics;
    std::size_t count;
};

inline constexpr int poleonPics[] = {poleonIdle,     poleonMoving,   poleonAttack1a, poleonAttack1b,
                                     poleonAttack2a, poleonAttack2b, poleonAttack2c, poleonAttack2d,
                                     poleonAttack3,  poleonDead,     poleonStunned};
inline constexpr int chaserPics[] = {chaserIdle,     chaserDead,     chaserIntro1,
                                     chaserIntro2,   chaserIntro3,   chaserStunned1,
                                     chaserStunned2, chaserStunned3, chaserStunned4};
inline constexpr int seekerPics[] = {seekerIdle,  seekerMoving1, seekerMoving2, seekerMoving3,
                                     seekerDead1, seekerDead2,   seekerDead3};
inline constexpr int orbiterPics[] = {orbiterIdle, orbiterFading, orbiterFaded};
inline constexpr int boltPics[] = {boltPic};
inline constexpr int healOrbPics[] = {healOrbPic};
inline constexpr int aimMarkerPics[] = {aimMarkerPic};
inline constexpr int blastPics[] = {blastPic};

inline constexpr UnitPictures units[] = {
    {"poleon", poleonSide, poleonPics, std::size(poleonPics)},
    {"chaser", chaserSide, chaserPics, std::size(chaserPics)},
    {"seeker", seekerSide, seekerPics, std::size(seekerPics)},
    {"orbiter", orbiterSide, orbiterPics, std::size(orbiterPics)},
    {"bolt", boltSide, boltPics, std::size(boltPics)},
    {"healOrb", healOrbSide, healOrbPics, std::size(healOrbPics)},
    {"aimMarker", aimMarkerSide, aimMarkerPics, std::size(aimMarkerPics)},
    {"blast", blastSide, blastPics, std::size(blastPics)}};

inline constexpr int statusIcons[] = {weakenIcon, invincibleIcon, juiceBoostIcon, juiceBlockIcon,
                                      slowIcon,   hasteIcon,      stunIcon};

inline constexpr int banners[] = {titleRound0,   titleRound1, titleRound2,
                                  titleEndRound, lostBanner,  wonBanner};

}  // namespace picLayout

#endif
