#ifndef BROX_DUMBUNIT_H
#define BROX_DUMBUNIT_H

#include <vector>

#include "unit.h"

// The units that follow a fixed script instead of looking for a target: the
// fighter's bolts, orbiters and blasts, its aiming marker and the heal orb.
// The unit type picks the script.
class dumbUnit : public unit {
public:
    // The arguments are unused; every setting depends on the unit type alone.
    void init(int arg0, int arg1, int arg2) override;
    void processInput(dataObj* data, unitList* list) override;
    void describeState(std::vector<stateField>& fields) const override;

protected:
    int growCount = 0;  // steps a blast has grown so far

private:
    void initBolt();
    void initOrbiter();
    void initBlast();
    void initHealOrb();
    void initAimMarker();

    void circleOwner(unitList* list);
    void keepSpacing(const std::vector<unit*>& group);
    void grow();
    void holdPlace();
    void turnWithMouse(dataObj* data, unitList* list);
};

#endif
