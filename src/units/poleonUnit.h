#ifndef BROX_POLEONUNIT_H
#define BROX_POLEONUNIT_H

#include <vector>

#include "playerUnit.h"

class inputObj;

// The player's fighter. Moves with the movement keys, faces where its aiming
// marker points, and pays hit points for orbiters and the blast.
class poleonUnit : public playerUnit {
public:
    // The arguments are unused.
    void init(int arg0, int arg1, int arg2) override;
    // Turns the input state into movement, facing and attack requests, and
    // asks for an aiming marker whenever there is none.
    void processInput(dataObj* data, unitList* list) override;
    // Bolt, then orbiters, then blast, each only while the fighter can pay
    // for it without dropping to 0 hit points.
    void addAttacks(dataObj* data, unitList* list, int requestBits) override;
    // The bar tells which attacks the fighter can afford.
    int getHPBarColor() override;

private:
    void queue(unitList* list, int type, fixed angle) const;
    void faceMarker(const std::vector<unit*>& markers);
    void steer(const std::vector<bool>& held);
    void goTowards(int angle);
    void requestAttacks(inputObj& input);

    void fireBolt(unitList* list);
    void callOrbiter(unitList* list);
    void fireBlast(unitList* list);
};

#endif
