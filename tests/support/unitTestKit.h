#ifndef BROX_UNIT_TEST_KIT_H
#define BROX_UNIT_TEST_KIT_H

#include <allegro.h>

#include <vector>

#include "allegroTestEnv.h"
#include "population/loader.h"
#include "population/unitList.h"
#include "shell/dataObj.h"
#include "units/hitbox.h"

// A unit whose state a test can reach, which records its init and the
// request bits of every addAttacks call.
class probeUnit : public unit {
public:
    using unit::anchorX;
    using unit::anchorY;
    using unit::attackRequest;
    using unit::cooldown1;
    using unit::cooldown2;
    using unit::cooldown3;
    using unit::currentActivity;
    using unit::currentAttack;
    using unit::diesWhenHit;
    using unit::helpsPlayer;
    using unit::hitWall;
    using unit::introPending;
    using unit::juiceValue;
    using unit::knockbackTime;
    using unit::knockbackX;
    using unit::knockbackY;
    using unit::moveIntensity;
    using unit::moveSpeed;
    using unit::numHitsWhileStun;
    using unit::pendingActivity;
    using unit::pendingDamage;
    using unit::statusAilments;
    using unit::wasHit;

    // What init saw: the unit's id and whether the list had configured it.
    int idAtInit = 0;
    bool configuredAtInit = false;
    std::vector<int> initArgs;
    std::vector<int> attackCalls;

    void init(int arg0, int arg1, int arg2) override
    {
        idAtInit = getUnitID();
        configuredAtInit = getUnitGraphics() && getHitbox() && getUnitType() != 0;
        initArgs = {arg0, arg1, arg2};
    }

    void addAttacks(dataObj*, unitList*, int requestBits) override
    {
        attackCalls.push_back(requestBits);
    }
};

// Makes a probeUnit for the types 0 to 9 and nothing for any other.
class probeLoader : public loader {
public:
    void loadUnit(int type, unit*& out) override
    {
        if (type >= 0 && type < hitbox::victimTypes)
            out = new probeUnit;
    }
};

// A battle in the default 500 x 400 arena. Every unit type 0 to 9 has its
// own hitbox (collideNone everywhere to begin with) and a picture table whose
// idle slot holds one 32-pixel picture, so units touch at 32 pixels apart.
class testBattle {
public:
    testBattle()
    {
        ensureHeadlessAllegro();
        picture = create_bitmap(32, 32);
        for (int type = 0; type < hitbox::victimTypes; ++type) {
            tables.push_back(new unitGraphics);
            tables.back()->insertPic(picture, actIdle);
            tables.back()->unitType = type;
            list.addGraphics(tables.back());
            records.push_back(new hitbox);
            records.back()->ownerType = type;
            list.addHitbox(records.back());
        }
        list.setLoader(&catalogue);
    }

    ~testBattle() { destroy_bitmap(picture); }

    // A unit of the type centred at (x, y) pixels, added to the list.
    probeUnit* add(int type, double x, double y, int side = affiliationNeutral)
    {
        auto* member = new probeUnit;
        member->setUnitType(type);
        member->setUnitGraphics(tables[type]);
        member->setHitbox(records[type]);
        member->setPos(ftofix(x), ftofix(y));
        member->setAffiliation(side);
        list.addUnit(member);
        return member;
    }

    hitbox& hitboxOf(int type) { return *records[type]; }

    // One simulation step, as the battle runs it.
    void step() { list.stepUnits(&data); }

    probeLoader catalogue;
    dataObj data;
    unitList list;

private:
    BITMAP* picture = nullptr;
    // Owned by the list.
    std::vector<unitGraphics*> tables;
    std::vector<hitbox*> records;
};

#endif
