// Every picture of picData.dat, drawn by code. Each function returns a new
// 32-bit bitmap whose transparent parts hold the mask colour; the caller
// owns it. Directional unit pictures face up.
#ifndef BROX_PICART_H
#define BROX_PICART_H

#include <allegro.h>

enum class PoleonPose {
    idle,
    moving,
    fire1,
    fire2,
    call1,
    call2,
    call3,
    call4,
    blast,
    dead,
    stunned
};
enum class ChaserPose {
    idle,
    dead,
    intro1,
    intro2,
    intro3
};
enum class SeekerPose {
    idle,
    burst,
    fireball,
    smoke
};
enum class Ailment {
    weaken,
    invincible,
    juiceBoost,
    juiceBlock,
    slow,
    haste,
    stun
};
enum class BannerStyle {
    title,
    allClear,
    lost,
    won
};

BITMAP* poleonPicture(PoleonPose pose);
// The idle fighter, zoom times the size of its picture: the desktop icon.
BITMAP* fighterIcon(int zoom);
BITMAP* chaserPicture(ChaserPose pose);
BITMAP* chaserStunnedPicture(int frame);  // frame 0..3: stars circling
BITMAP* seekerPicture(SeekerPose pose);
BITMAP* seekerMovingPicture(int frame);  // frame 0..2: exhaust flicker
BITMAP* orbiterPicture(int fade);        // 0 whole, 1 fading, 2 nearly gone
BITMAP* healOrbPicture();
BITMAP* boltPicture();
BITMAP* aimMarkerPicture();
BITMAP* blastPicture();

BITMAP* floorPicture(int round);  // round 0..2
BITMAP* statusIcon(Ailment ailment);
BITMAP* timerIconPicture();
BITMAP* hpIconPicture();
BITMAP* cursorPicture();
BITMAP* bannerPicture(const char* text, BannerStyle style);
BITMAP* sparePicture();

#endif
