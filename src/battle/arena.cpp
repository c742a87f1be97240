#include "arena.h"

arena::arena() = default;

int arena::getArenaSizeX() const { return arenaSizeX; }
int arena::getArenaSizeY() const { return arenaSizeY; }

void arena::setArenaSize(int x, int y)
{
    arenaSizeX = x;
    arenaSizeY = y;
}

BITMAP* arena::getArenaPic() const { return arenaPic; }
void arena::setArenaPic(BITMAP* pic) { arenaPic = pic; }
fixed& arena::getKnockbackCap() { return knockbackCap; }
void arena::setKnockbackCap(fixed& cap) { knockbackCap = cap; }
