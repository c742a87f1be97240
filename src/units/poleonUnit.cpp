#include "poleonUnit.h"

#include "population/unitList.h"
#include "shell/dataObj.h"
#include "unitTypes.h"

namespace {

constexpr int fullIntensity = 4;   // moveSpeed, 15 pixels, per step
constexpr int attackCooldown = 5;  // steps between bolts, added per orbiter too
constexpr int blastLock = 30;      // steps of standing still after a blast
constexpr int maxOrbiters = 3;

}  // namespace

void poleonUnit::init(int arg0, int arg1, int arg2)
{
    playerUnit::init(arg0, arg1, arg2);
    attack2Cost = 200;
    attack3Cost = 1500;
    hp = 1000;
    maxHP = 3000;
    moveSpeed = itofix(15);
}

void poleonUnit::processInput(dataObj* data, unitList* list)
{
    moveIntensity = 0;
    const std::vector<unit*> markers = list->search(list->getUnits(), searchByType, aimMarker);
    // Asked for also while dead or stunned, so a marker is always there.
    if (markers.empty())
        queue(list, aimMarker, drawAngle);
    if (currentActivity == actDead || currentActivity == actStunned)
        return;
    inputObj& input = *data->getInputObj();
    if (moveLockTime <= 0) {
        faceMarker(markers);
        steer(*input.getKeyWasHit());
    }
    requestAttacks(input);
}

void poleonUnit::queue(unitList* list, int type, fixed angle) const
{
    auto* request = new unitCreate;
    request->unitType = type;
    request->posX = posX;
    request->posY = posY;
    request->moveAngle = angle;
    request->delay = 0;
    request->ownerID = unitID;
    list->addCreate(request);
}

// The marker comes after the fighter in the list, so the angle read here is
// the one it had before this step's mouse movement.
void poleonUnit::faceMarker(const std::vector<unit*>& markers)
{
    drawAngle = markers.empty() ? 0 : markers.front()->getDrawAngle();
}

// Later keys overwrite earlier ones: up and down together go down, left and
// right together go right.
void poleonUnit::steer(const std::vector<bool>& held)
{
    if (held[keyUp])
        goTowards(0);
    if (held[keyDown])
        goTowards(128);
    if (held[keyLeft])
        goTowards(held[keyUp] ? 224 : held[keyDown] ? 160 : 192);
    if (held[keyRight])
        goTowards(held[keyUp] ? 32 : held[keyDown] ? 96 : 64);
}

void poleonUnit::goTowards(int angle)
{
    moveAngle = itofix(angle);
    moveIntensity = fullIntensity;
}

void poleonUnit::requestAttacks(inputObj& input)
{
    if (cooldown1 <= 0 && cooldown2 <= 0 && cooldown3 <= 0)
        attackRequest = 0;
    if (cooldown1 <= 0 && (*input.getMouseWasHit())[mouseLeft])
        attackRequest |= attackBit1;
    if (cooldown2 <= 0 && (*input.getMouseWasClicked())[mouseRight])
        attackRequest |= attackBit2;
    if (cooldown3 <= 0 && (*input.getKeyWasClicked())[keyDefense])
        attackRequest |= attackBit3;
}

void poleonUnit::addAttacks(dataObj*, unitList* list, int requestBits)
{
    const int orbiters =
        static_cast<int>(list->search(list->getUnits(), searchByType, orbiter).size());
    if ((requestBits & attackBit1) && hp > attack1Cost)
        fireBolt(list);
    // Orbiters of any owner count towards the three; a round the fighter
    // cannot pay for is skipped and the next one asks again.
    if (requestBits & attackBit2)
        for (int called = orbiters; called < maxOrbiters; ++called)
            if (hp > attack2Cost)
                callOrbiter(list);
    if ((requestBits & attackBit3) && hp > attack3Cost)
        fireBlast(list);
}

void poleonUnit::fireBolt(unitList* list)
{
    hp -= attack1Cost;
    queue(list, bolt, drawAngle);
    currentAttack = attackBit1;
    cooldown1 += attackCooldown;
}

void poleonUnit::callOrbiter(unitList* list)
{
    hp -= attack2Cost;
    cooldown2 += attackCooldown;
    cooldown1 += attackCooldown;
    queue(list, orbiter, drawAngle);
    currentAttack = attackBit2;
}

void poleonUnit::fireBlast(unitList* list)
{
    hp -= attack3Cost;
    for (int* timer : {&cooldown1, &cooldown2, &cooldown3, &moveLockTime})
        *timer += blastLock;
    queue(list, blast, 0);
    currentAttack = attackBit3;
}

int poleonUnit::getHPBarColor()
{
    if (hp < maxOrbiters * attack2Cost)
        return hpBarColor(barLow);  // not enough for three orbiters
    if (hp < attack3Cost)
        return hpBarColor(barMiddle);  // not enough for a blast
    return fullnessColor();
}
