#ifndef BROX_UNITCREATE_H
#define BROX_UNITCREATE_H

#include <allegro.h>

// A spawn request: everything needed to create one unit once its delay has
// run out. Creators fill the fields in directly; the unit list owns it once
// queued.
class unitCreate {
public:
    unitCreate();

    int unitType = 0;
    int ownerID = -1;
    fixed posX = 0;
    fixed posY = 0;
    fixed moveAngle = 0;
    int delay = 0;  // steps still to wait
    int initArg0 = 0;
    int initArg1 = 0;
    int initArg2 = 0;
};

#endif
