#ifndef BROX_PLAYERUNIT_H
#define BROX_PLAYERUNIT_H

#include "unit.h"

// Base of the units the player steers: on the player's side, with a price in
// hit points for each of its three attacks.
class playerUnit : public unit {
public:
    // The arguments are unused.
    void init(int arg0, int arg1, int arg2) override;
    // Allegro colour of the HP bar: red, purple, green or gold, from poorest
    // to full.
    virtual int getHPBarColor();
    void describeState(std::vector<stateField>& fields) const override;

protected:
    enum hpBarBand {
        barLow,
        barMiddle,
        barHigh,
        barFull
    };

    static int hpBarColor(hpBarBand band);
    // hp / maxHP, or 0 without a usable maxHP.
    float hpRatio() const;
    // Green below full hit points, gold at full.
    int fullnessColor() const;

    int attack1Cost = 0;  // hit points paid per bolt attack
    int attack2Cost = 0;  // per orbiter
    int attack3Cost = 0;  // per blast
};

#endif
