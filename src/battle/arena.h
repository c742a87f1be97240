#ifndef BROX_ARENA_H
#define BROX_ARENA_H

#include <allegro.h>

// The battlefield of the current round: its size, floor picture and the cap
// on knockback.
class arena {
public:
    arena();

    int getArenaSizeX() const;
    int getArenaSizeY() const;
    void setArenaSize(int x, int y);

    BITMAP* getArenaPic() const;
    void setArenaPic(BITMAP* pic);

    fixed& getKnockbackCap();
    void setKnockbackCap(fixed& cap);

private:
    int arenaSizeX = 500;
    int arenaSizeY = 400;
    BITMAP* arenaPic = nullptr;  // belongs to the datafile
    fixed knockbackCap = itofix(20);
};

#endif
