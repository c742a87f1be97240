#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "allegroTestEnv.h"
#include "population/loader.h"
#include "population/unitList.h"
#include "shell/dataObj.h"
#include "units/broxMath.h"

namespace {

// A round played with the real catalogue and pictures and nobody at the
// controls: every step runs the simulation step's unit passes, but nothing
// draws, so no unit ever adopts its pending activity.
class headlessRound {
public:
    explicit headlessRound(int round)
    {
        ensureHeadlessAllegro();
        set_color_conversion(COLORCONV_TOTAL);
        pics = load_datafile(BROX_PICDATA);
        if (!pics)
            return;
        content.init(&list, pics);
        list.setLoader(&content);
        int next = round;
        content.loadRound(round, next, &list, title, &data, pics, false);
    }

    ~headlessRound()
    {
        list.clearAll();
        if (pics)
            unload_datafile(pics);
    }

    headlessRound(const headlessRound&) = delete;
    headlessRound& operator=(const headlessRound&) = delete;

    void step()
    {
        list.stepUnits(&data);
        list.cullUnits();
    }

    // The smallest distance from the unit to a unit of the type; -1 when
    // the list holds none.
    fixed nearest(const unit& from, int type) const
    {
        fixed closest = -1;
        for (const unit* other : list.search(list.getUnits(), searchByType, type)) {
            const fixed distance =
                calcDist(from.getPosX(), from.getPosY(), other->getPosX(), other->getPosY());
            if (closest < 0 || distance < closest)
                closest = distance;
        }
        return closest;
    }

    DATAFILE* pics = nullptr;
    loader content;
    dataObj data;
    unitList list;
    BITMAP* title = nullptr;
};

// Half the chaser's and the fighter's 32-pixel pictures added: closer than
// this they touch.
const fixed touching = itofix(32);

}  // namespace

TEST(RoundPlayTest, chasersArriveOnScheduleAndRunDownTheIdleFighter)
{
    std::srand(1);
    headlessRound battle(0);
    ASSERT_NE(battle.pics, nullptr) << "cannot load " << BROX_PICDATA;

    std::set<int> chasersSeen;
    std::set<int> orbsSeen;
    int downAt = 0;
    // The fighter is the first unit made, at the end of the first step.
    battle.step();
    int step = 1;
    while (battle.list.anyRemainingAffiliation(affiliationPlayer) && step < 3000) {
        const unit* fighter = battle.list.getUnit(0);
        ASSERT_NE(fighter, nullptr);
        ASSERT_EQ(fighter->getUnitType(), poleon);
        const int hpBefore = fighter->getHP();
        const fixed chaserBefore = battle.nearest(*fighter, chaser);
        battle.step();
        ++step;
        for (const unit* member : battle.list.getUnits()) {
            if (member->getUnitType() == chaser)
                chasersSeen.insert(member->getUnitID());
            if (member->getUnitType() == healOrb)
                orbsSeen.insert(member->getUnitID());
        }
        // A chaser every 20 steps from the first on; heal orbs at 100 and 200.
        ASSERT_EQ(chasersSeen.size(), size_t(std::min(10, (step - 1) / 20 + 1))) << "step " << step;
        ASSERT_EQ(orbsSeen.size(), size_t((step > 100) + (step > 200))) << "step " << step;
        if (battle.list.getUnit(0) == nullptr)
            continue;
        // Nothing else in this round hurts the fighter.
        if (fighter->getHP() < hpBefore) {
            EXPECT_GE(chaserBefore, 0) << "step " << step;
            EXPECT_LE(chaserBefore, touching) << "step " << step;
        }
        if (downAt == 0 && fighter->getHP() <= 0)
            downAt = step;
    }
    // The first chaser aims for 15 steps and must then run at least 118
    // pixels at 2 a step before it can touch a fighter 150 pixels from any
    // border point.
    EXPECT_GT(downAt, 1 + 15 + 59);
    EXPECT_FALSE(battle.list.anyRemainingAffiliation(affiliationPlayer));
    EXPECT_EQ(step, downAt + 10);  // the fighter's removal delay
    RecordProperty("fighterDownStep", downAt);
    RecordProperty("roundLostStep", step);
}
