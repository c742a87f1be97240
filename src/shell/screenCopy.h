#ifndef BROX_SCREENCOPY_H
#define BROX_SCREENCOPY_H

#include <allegro.h>

#include "battle/screenFit.h"

// The last step of every main-loop pass: the back buffer, drawn at the
// game's own size, copied onto the screen where its fit puts it, scaled with
// nearest-pixel sampling so that the pixels stay sharp.
class screenCopy {
public:
    explicit screenCopy(const screenFit& fit);
    ~screenCopy();
    screenCopy(const screenCopy&) = delete;
    screenCopy& operator=(const screenCopy&) = delete;

    // clearFirst blacks out the whole target first, bars included: once
    // after the mode opens, and when the system may have lost the screen's
    // contents while the game was in the background.
    void show(BITMAP* picture, BITMAP* target, bool clearFirst);

private:
    screenFit fit;
    // The picture at its size on the screen: scaled in memory, it reaches
    // the screen in one copy rather than one update per line.
    BITMAP* scaled = nullptr;
};

#endif
