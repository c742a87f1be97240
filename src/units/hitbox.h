#ifndef BROX_HITBOX_H
#define BROX_HITBOX_H

#include <allegro.h>

#include <array>

#include "unit.h"

// What touching a unit of the hitbox's type does to a unit of each type.
enum collideKind {
    collideFull = 0,       // knockback, then damage and ailments
    collideDamage = 1,     // damage and ailments only
    collideKnockback = 2,  // knockback only
    collideNone = 3
};

// How a hit pushes its victim.
enum knockbackKind {
    knockbackRadial = 0,          // straight away from the hitter, as fast as they overlap
    knockbackRadialDirected = 1,  // both pushes
    knockbackDirected = 2         // at knockbackPower, turned by knockbackAngle
};

// The hit record of one unit type, shared by every unit of the type.
class hitbox {
public:
    // Victim types the collision tables cover: 0 to 9.
    static constexpr int victimTypes = 10;

    hitbox();
    // Every entry of both collision tables set to fillValue.
    explicit hitbox(int fillValue);

    // The kind of contact with a victim of the type; a type the tables do
    // not cover is only pushed.
    int checkCollide(int victimType, bool hitterStunned) const;
    // A victim type the tables do not cover changes nothing.
    void addCollide(int victimType, int kind, bool hitterStunned);

    int damage = 0;  // per contact; negative heals
    int knockbackType = knockbackRadial;
    fixed knockbackAngle = 0;
    fixed knockbackPower = 0;  // pixels per frame
    int knockbackFrames = 0;
    int ownerType = 0;  // unit type that carries this record
    std::array<int, statusAilmentCount> inflictAilments{};

private:
    static bool isVictimType(int type);

    std::array<int, victimTypes> collideTable;
    std::array<int, victimTypes> collideTableStunned;  // used while the hitter is stunned
};

#endif
