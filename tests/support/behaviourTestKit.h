#ifndef BROX_BEHAVIOUR_TEST_KIT_H
#define BROX_BEHAVIOUR_TEST_KIT_H

#include <allegro.h>

#include <array>
#include <vector>

#include "unitTestKit.h"
#include "units/broxMath.h"
#include "units/dumbUnit.h"
#include "units/homingUnit.h"
#include "units/poleonUnit.h"

// A fighter whose attack timers a test can read.
class poleonProbe : public poleonUnit {
public:
    using unit::cooldown1;
    using unit::cooldown2;
    using unit::cooldown3;
    using unit::moveLockTime;
};

// Makes each catalogue type as the catalogue does, the fighter as a probe
// whose attack timers a test can read (the catalogue gives the fighter no
// settings of its own before init).
class behaviourLoader : public loader {
public:
    void loadUnit(int type, unit*& out) override
    {
        if (type == poleon)
            out = new poleonProbe;
        else
            loader::loadUnit(type, out);
    }
};

// A testBattle whose list makes the real behaviours and whose steps run as
// the battle runs them. Input is set on the inputObj the way its poll would
// leave it.
class behaviourBattle : public testBattle {
public:
    behaviourBattle() : canvas(create_bitmap(500, 400)) { list.setLoader(&behaviours); }
    ~behaviourBattle() { destroy_bitmap(canvas); }

    // Queues a request and lets the list create it at once.
    unit* spawn(int type, double x, double y, int owner = -1, fixed angle = 0,
                std::array<int, 3> args = {})
    {
        auto* request = new unitCreate;
        request->unitType = type;
        request->posX = ftofix(x);
        request->posY = ftofix(y);
        request->ownerID = owner;
        request->moveAngle = angle;
        request->initArg0 = args[0];
        request->initArg1 = args[1];
        request->initArg2 = args[2];
        list.addCreate(request);
        list.createUnits();
        return list.getUnits().back();
    }

    // Passes of the main loop: draw, then the simulation step.
    void run(int steps = 1)
    {
        for (int step = 0; step < steps; ++step) {
            for (unit* member : list.getUnits())
                member->draw(canvas, false);
            testBattle::step();
        }
    }

    int count(int type) const
    {
        return static_cast<int>(list.search(list.getUnits(), searchByType, type).size());
    }

    inputObj& input() { return *data.getInputObj(); }
    void holdKeys(const std::vector<int>& slots)
    {
        input().setKeyWasHit(flags(keySlotCount, slots));
    }
    void clickKeys(const std::vector<int>& slots)
    {
        input().setKeyWasClicked(flags(keySlotCount, slots));
    }
    void holdMouse(const std::vector<int>& slots)
    {
        input().setMouseWasHit(flags(mouseSlotCount, slots));
    }
    void clickMouse(const std::vector<int>& slots)
    {
        input().setMouseWasClicked(flags(mouseSlotCount, slots));
    }
    void moveMouse(int mx, int my) { input().getCursor()->setMouseMickeys(mx, my); }

    behaviourLoader behaviours;

private:
    const std::vector<bool>* flags(int count, const std::vector<int>& set)
    {
        scratch.assign(count, false);
        for (int slot : set)
            scratch[slot] = true;
        return &scratch;
    }

    BITMAP* canvas;
    std::vector<bool> scratch;  // the input setters copy it
};

// How far an angle is from a whole angle, in 256-units, the short way round.
inline double offBy(fixed angle, int expected)
{
    return fixtof(angleDist(angle, itofix(expected)));
}

#endif
