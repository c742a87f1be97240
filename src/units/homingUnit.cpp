#include "homingUnit.h"

#include <cstdlib>

#include "broxMath.h"
#include "hitbox.h"
#include "population/unitList.h"
#include "unitTypes.h"

namespace {

constexpr int fullIntensity = 4;
constexpr int halfIntensity = 2;
constexpr int largeVariant = 1;
constexpr int largeChaserDamage = 750;
const fixed seekerSlowRange = itofix(150);

}  // namespace

void homingUnit::init(int aim, int dash, int variant)
{
    if (unitType == chaser)
        initChaser(aim, dash, variant);
    else if (unitType == seeker)
        initSeeker();
}

void homingUnit::initChaser(int aim, int dash, int variant)
{
    heading = itofix(rand() % 256);
    statusAilments[ailmentInvincible] = 5;
    hp = maxHP = 1000;
    moveSpeed = itofix(2);
    if (variant == largeVariant) {
        hp = maxHP = 5000;
        moveSpeed = itofix(10);
        drawScale = itofix(2);
        immuneToAilments = true;
        // The hitbox is shared by every chaser, so from now on all of them,
        // later ones and later rounds included, hit this hard.
        hitbox->damage = largeChaserDamage;
    }
    introPending = true;
    aimTime = aim;
    dashTime = dash;
    phaseTimer = aim;
    dashing = false;
    affiliation = affiliationEnemy;
}

void homingUnit::initSeeker()
{
    heading = 0;
    hp = maxHP = 1;
    timeToLive = 120;
    moveSpeed = itofix(5);
    affiliation = affiliationEnemy;
    diesWhenHit = true;
    juiceValue = 50;
}

void homingUnit::describeState(std::vector<stateField>& fields) const
{
    unit::describeState(fields);
    fields.insert(fields.end(), {{"heading", heading},
                                 {"phaseTimer", phaseTimer},
                                 {"aimTime", aimTime},
                                 {"dashTime", dashTime},
                                 {"dashing", dashing}});
}

// A dead or stunned unit keeps its phase, timer, intensity and heading, so
// a stun in mid-dash does not stop the dash.
void homingUnit::processInput(dataObj*, unitList* list)
{
    if (currentActivity == actDead || currentActivity == actStunned)
        return;
    if (unitType != chaser && unitType != seeker)
        return;
    const unit* target = list->firstOfSide(affiliationPlayer);
    if (unitType == chaser)
        chase(target);
    else
        seek(target);
    moveAngle = heading;
    drawAngle = heading;
}

// The phase is read before the timer runs down, so the step on which a
// phase ends still behaves as that phase. Without aim time the next dash
// starts at once, along the same heading.
void homingUnit::chase(const unit* target)
{
    if (dashing) {
        moveIntensity = fullIntensity;
    } else {
        moveIntensity = 0;
        if (target)
            aimAt(*target);
    }
    --phaseTimer;
    if (phaseTimer <= 0 && dashing) {
        phaseTimer = aimTime;
        dashing = false;
    }
    if (phaseTimer <= 0 && !dashing) {
        phaseTimer = dashTime;
        dashing = true;
    }
}

void homingUnit::seek(const unit* target)
{
    moveIntensity = fullIntensity;
    if (!target)
        return;
    aimAt(*target);
    if (calcDist(posX, posY, target->getPosX(), target->getPosY()) < seekerSlowRange)
        moveIntensity = halfIntensity;
}

void homingUnit::aimAt(const unit& target)
{
    heading = calcAngle(posX, posY, target.getPosX(), target.getPosY(), moveAngle);
}
