#include "dumbUnit.h"

#include <algorithm>
#include <limits>

#include "broxMath.h"
#include "population/unitList.h"
#include "shell/dataObj.h"
#include "unitTypes.h"

namespace {

constexpr int fullIntensity = 4;
constexpr int orbitStep = 4;  // a full turn in 64 steps
const fixed orbitRadius = itofix(50);
const fixed blastGrowth = ftofix(0.03);  // scale added per step
const fixed quarterTurn = itofix(64);
const fixed halfTurn = itofix(128);

constexpr size_t largestGroup = 3;
// Angle of each orbiter behind the first, by group size and place.
constexpr int groupSpacing[largestGroup + 1][largestGroup] = {{}, {0}, {0, 128}, {0, 85, 170}};

// itofix shifts, which is not defined for negative numbers, and overflows
// beyond the fixed-point range: a value beyond it stands at the range's end
// on its side (the same distance from zero on both, so it may be negated).
fixed toFixed(int value)
{
    constexpr int largestWhole = 32767;
    constexpr fixed rangeEnd = std::numeric_limits<fixed>::max();
    if (value > largestWhole)
        return rangeEnd;
    if (value < -largestWhole)
        return -rangeEnd;
    return value < 0 ? -itofix(-value) : itofix(value);
}

// Direction of a mouse movement, given as (-mx, my), in the circle where 0
// is up and 64 is right.
fixed mouseDirection(fixed vx, fixed vy)
{
    if (vy == 0)
        return vx > 0 ? -quarterTurn : quarterTurn;
    const fixed angle = fixatan(fixdiv(vx, vy));
    return vy > 0 ? angle - halfTurn : angle;
}

}  // namespace

void dumbUnit::init(int, int, int)
{
    juiceValue = 0;  // hurting these earns the player nothing
    orbitAngle = 0;
    growCount = 0;
    switch (unitType) {
    case bolt:
        initBolt();
        break;
    case orbiter:
        initOrbiter();
        break;
    case blast:
        initBlast();
        break;
    case healOrb:
        initHealOrb();
        break;
    case aimMarker:
        initAimMarker();
        break;
    default:
        break;
    }
}

void dumbUnit::initBolt()
{
    moveType = moveFree;
    moveSpeed = itofix(20);
    timeToLive = 30;
    affiliation = affiliationNeutral;
    immuneToAilments = true;
}

void dumbUnit::initOrbiter()
{
    moveType = moveAttached;
    moveSpeed = itofix(20);
    // Above maxHP on purpose: the first step's damage comes off 2000 before
    // hp is capped, so a fresh orbiter can take one big hit.
    hp = 2000;
    maxHP = 1000;
    timeToLive = 120;
    affiliation = affiliationNeutral;
    immuneToAilments = true;
    ignoreWall = true;
}

void dumbUnit::initBlast()
{
    moveType = moveFixed;
    hp = 30000;
    timeToLive = 20;
    immuneToAilments = true;
}

void dumbUnit::initHealOrb()
{
    moveType = moveFixed;
    hp = 1;
    timeToLive = 210;
    immuneToAilments = true;
    diesWhenHit = true;
    helpsPlayer = true;
}

void dumbUnit::initAimMarker()
{
    moveType = moveAttached;
    hp = 20000;
    maxHP = 30000;
    affiliation = affiliationNeutral;
    immuneToAilments = true;
    ignoreWall = true;
    statusAilments[ailmentInvincible] = 30000;
}

void dumbUnit::describeState(std::vector<stateField>& fields) const
{
    unit::describeState(fields);
    fields.push_back({"growCount", growCount});
}

// The activity is not consulted: a dead unit keeps its script until the list
// removes it.
void dumbUnit::processInput(dataObj* data, unitList* list)
{
    switch (unitType) {
    case bolt:
        moveIntensity = fullIntensity;
        break;
    case orbiter:
        circleOwner(list);
        break;
    case blast:
        grow();
        break;
    case healOrb:
        holdPlace();
        break;
    case aimMarker:
        turnWithMouse(data, list);
        break;
    default:
        break;
    }
}

void dumbUnit::circleOwner(unitList* list)
{
    keepSpacing(list->search(list->search(list->getUnits(), searchByType, orbiter),
                             searchByOwnerType, poleon));
    const fixed angle = toFixed(orbitAngle);
    drawAngle = -angle;
    anchorX = fixmul(orbitRadius, fixsin(angle));
    anchorY = fixmul(orbitRadius, fixcos(angle));
}

// The first of the fighter's orbiters leads; the next two copy its angle,
// which it has already advanced this step, so the group stays evenly spread.
// A group larger than three stands still.
void dumbUnit::keepSpacing(const std::vector<unit*>& group)
{
    const auto found = std::find(group.begin(), group.end(), this);
    if (group.size() > largestGroup || found == group.end())
        return;
    const auto place = found - group.begin();
    if (place == 0)
        orbitAngle += orbitStep;
    else if (const auto* leader = dynamic_cast<const dumbUnit*>(group.front()))
        orbitAngle = leader->orbitAngle + groupSpacing[group.size()][place];
}

void dumbUnit::grow()
{
    holdPlace();
    // Invisible on its first step, then 0.03 larger every step.
    drawScale = growCount * blastGrowth;
    ++growCount;
}

void dumbUnit::holdPlace()
{
    anchorX = posX;
    anchorY = posY;
}

void dumbUnit::turnWithMouse(dataObj* data, unitList* list)
{
    inputObj* input = data->getInputObj();
    int mx = 0;
    int my = 0;
    input->getCursor()->getMouseMickeys(mx, my);
    const fixed vx = -toFixed(mx);
    const fixed vy = toFixed(my);
    const fixed length = fixhypot(vx, vy);
    // A twitch of a single mickey leaves the aim alone.
    if (!list->getUnit(ownerID) || length <= itofix(1))
        return;
    const fixed target = mouseDirection(vx, vy);
    // Fast movements snap to the new direction, slow ones turn a tenth of
    // the remaining way per step.
    if (length > toFixed(input->getControlThreshold()))
        drawAngle = target;
    else
        drawAngle += angleDist(target, drawAngle) / 10;
}
