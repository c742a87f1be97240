#include "hitbox.h"

hitbox::hitbox() : hitbox(collideNone) {}

hitbox::hitbox(int fillValue)
{
    collideTable.fill(fillValue);
    collideTableStunned.fill(fillValue);
}

bool hitbox::isVictimType(int type) { return type >= 0 && type < victimTypes; }

int hitbox::checkCollide(int victimType, bool hitterStunned) const
{
    if (!isVictimType(victimType))
        return collideKnockback;
    return hitterStunned ? collideTableStunned[victimType] : collideTable[victimType];
}

void hitbox::addCollide(int victimType, int kind, bool hitterStunned)
{
    if (!isVictimType(victimType))
        return;
    (hitterStunned ? collideTableStunned : collideTable)[victimType] = kind;
}
