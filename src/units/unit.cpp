#include "unit.h"

#include <algorithm>

#include "broxMath.h"
#include "hitbox.h"
#include "population/unitGraphics.h"
#include "population/unitList.h"
#include "shell/dataObj.h"

namespace {

constexpr int knockbackTimeCap = 30;
constexpr int invincibilityAfterDamage = 15;  // frames, for player-side units
constexpr int juiceForKill = 2;
constexpr int juiceForStun = 5;
constexpr int juiceForHurt = 1;

// A hit inflicts these only on a victim that is not invincible...
constexpr int guardedAilments[] = {ailmentJuiceBlock, ailmentWeaken, ailmentStun, ailmentSlow};
// ...and these whatever the invincibility, in this order.
constexpr int unguardedAilments[] = {ailmentHaste, ailmentInvincible, ailmentJuiceBoost};

// 0.7 to the power of the hits taken, multiplied out in single precision.
float hitDecay(int hits)
{
    float decay = 1.0f;
    for (int hit = 0; hit < hits; ++hit)
        decay *= 0.7f;
    return decay;
}

// The float factors keep single precision, but every product of them with an
// int is formed in double before truncation: 100 x 0.7f must come out as 69,
// where a float product would round to 70.
int truncatedProduct(int value, double factor) { return static_cast<int>(value * factor); }

// Whether the centres are farther apart than reach along one axis alone.
// That settles "reach < distance" without the square root, as a distance is
// never shorter than either of its sides.
bool apartOnAnAxis(fixed dx, fixed dy, fixed reach)
{
    return dx > reach || dx < -reach || dy > reach || dy < -reach;
}

bool isWeakened(const unit* owner) { return owner && owner->getStatusAilment(ailmentWeaken) > 0; }

}  // namespace

unit::unit() { biggestStatusTimes.fill(1); }

unit::~unit() = default;

void unit::init(int, int, int) {}

void unit::processInput(dataObj*, unitList*) {}

void unit::addAttacks(dataObj*, unitList*, int) {}

void unit::describeState(std::vector<stateField>& fields) const
{
    fields.insert(fields.end(), {{"id", unitID},
                                 {"type", unitType},
                                 {"owner", ownerID},
                                 {"side", affiliation},
                                 {"x", posX},
                                 {"y", posY},
                                 {"anchorX", anchorX},
                                 {"anchorY", anchorY},
                                 {"moveType", moveType},
                                 {"moveAngle", moveAngle},
                                 {"intensity", moveIntensity},
                                 {"speed", moveSpeed},
                                 {"orbitAngle", orbitAngle},
                                 {"drawX", drawPosX},
                                 {"drawY", drawPosY},
                                 {"drawAngle", drawAngle},
                                 {"drawScale", drawScale},
                                 {"animFrame", animFrame},
                                 {"intro", introPending},
                                 {"hp", hp},
                                 {"maxHP", maxHP},
                                 {"pendingDamage", pendingDamage},
                                 {"juice", juiceValue},
                                 {"knockbackMul", knockbackMul},
                                 {"knockbackX", knockbackX},
                                 {"knockbackY", knockbackY},
                                 {"knockbackTime", knockbackTime},
                                 {"deathTimeRemoval", deathTimeRemoval},
                                 {"timeToLive", timeToLive},
                                 {"diesAtWall", diesWhenHitsWall},
                                 {"hitWall", hitWall},
                                 {"ignoreWall", ignoreWall},
                                 {"immune", immuneToAilments},
                                 {"diesWhenHit", diesWhenHit},
                                 {"wasHit", wasHit},
                                 {"helpsPlayer", helpsPlayer},
                                 {"hitsWhileStun", numHitsWhileStun},
                                 {"cooldown1", cooldown1},
                                 {"cooldown2", cooldown2},
                                 {"cooldown3", cooldown3},
                                 {"moveLock", moveLockTime},
                                 {"activity", currentActivity},
                                 {"pendingActivity", pendingActivity},
                                 {"attackRequest", attackRequest},
                                 {"attack", currentAttack}});
    static const char* const timeNames[statusAilmentCount] = {
        "haste", "juiceBlock", "weaken", "stun", "invincible", "juiceBoost", "slow"};
    static const char* const biggestNames[statusAilmentCount] = {
        "biggestHaste",      "biggestJuiceBlock", "biggestWeaken", "biggestStun",
        "biggestInvincible", "biggestJuiceBoost", "biggestSlow"};
    for (int ailment = 0; ailment < statusAilmentCount; ++ailment)
        fields.push_back({timeNames[ailment], statusAilments[ailment]});
    for (int ailment = 0; ailment < statusAilmentCount; ++ailment)
        fields.push_back({biggestNames[ailment], biggestStatusTimes[ailment]});
}

void unit::draw(BITMAP* bitmap, bool paused)
{
    drawPosX = fixtoi(posX);
    drawPosY = fixtoi(posY);
    if (!paused && pendingActivity != currentActivity) {
        currentActivity = pendingActivity;
        animFrame = 0;
    }
    BITMAP* pic = unitGraphics->getPic(currentActivity, animFrame);
    if (!paused)
        ++animFrame;

    if (animFrame >= unitGraphics->getSizeOfVector(currentActivity)) {
        // An attack keeps looping until every cooldown has run out.
        const bool attacking = currentActivity >= actAttack1 && currentActivity <= actAttack3;
        if (attacking && currentAttack != 0 && cooldownsOver()) {
            currentActivity = actIdle;
            currentAttack = 0;
        }
        animFrame = 0;
        introPending = false;
    }

    if (pic) {
        const int pivot = unitGraphics->getPicSize() / 2;
        pivot_scaled_sprite(bitmap, pic, drawPosX, drawPosY, pivot, pivot, drawAngle, drawScale);
    }
}

bool unit::cooldownsOver() const { return cooldown1 <= 0 && cooldown2 <= 0 && cooldown3 <= 0; }

fixed unit::scaledSize(const ::unitGraphics* graphics) const
{
    return graphics->getPicSize() * drawScale;
}

void unit::makePendingActions(dataObj* data, unitList* list)
{
    statusCheck(data, list);
    if (knockbackTime <= 0) {
        knockbackX = 0;
        knockbackY = 0;
    }
    collideCheck(data, list);
    if (knockbackTime > knockbackTimeCap)
        knockbackTime = knockbackTimeCap;
    if (knockbackTime > 0)
        --knockbackTime;
}

void unit::statusCheck(dataObj* data, unitList* list)
{
    --timeToLive;
    if (isDying())
        die();
    else if (statusAilments[ailmentStun] > 0)
        runStun();
    else
        chooseActivity(data, list);
    countDownTimers();
    if (statusAilments[ailmentStun] <= 0)
        numHitsWhileStun = 0;
    // Cleared before this step's hits and walls set them again, so a unit
    // killed by a hit or a wall is found dead in the following step.
    hitWall = false;
    wasHit = false;
}

bool unit::diesByWall() const { return diesWhenHitsWall && hitWall && !ignoreWall; }

bool unit::hasExpired() const { return timeToLive > -10 && timeToLive < 0; }

bool unit::isDying() const
{
    return hp <= 0 || diesByWall() || (diesWhenHit && wasHit) || hasExpired();
}

void unit::die()
{
    // Deaths other than by damage zero hp so that the unit list removes the
    // unit once its removal delay has run out.
    if ((diesWhenHit && wasHit) || diesByWall() || (hasExpired() && hp > 0))
        hp = 0;
    pendingActivity = actDead;
    --deathTimeRemoval;
}

void unit::runStun()
{
    int& stun = statusAilments[ailmentStun];
    --stun;
    pendingActivity = actStunned;
    if (stun <= 0)
        biggestStatusTimes[ailmentStun] = 1;
}

void unit::chooseActivity(dataObj* data, unitList* list)
{
    if (attackMayTrigger()) {
        setActivityFromAttackBits(attackRequest);
        addAttacks(data, list, attackRequest);
        attackRequest = 0;
    } else if (currentAttack != 0) {
        setActivityFromAttackBits(currentAttack);
    } else if (moveIntensity != 0 && moveLockTime <= 0) {
        pendingActivity = actMoving;
    } else if (introPending) {
        pendingActivity = actIntro;
    } else if (currentActivity != actIntro) {
        pendingActivity = actIdle;
    }
}

bool unit::attackMayTrigger() const
{
    return ((attackRequest & attackBit1) && cooldown1 <= 0)
           || ((attackRequest & attackBit2) && cooldown2 <= 0)
           || ((attackRequest & attackBit3) && cooldown3 <= 0);
}

void unit::setActivityFromAttackBits(int bits)
{
    // The highest attack requested is the one shown.
    if (bits & attackBit1)
        pendingActivity = actAttack1;
    if (bits & attackBit2)
        pendingActivity = actAttack2;
    if (bits & attackBit3)
        pendingActivity = actAttack3;
}

void unit::countDownTimers()
{
    for (int* timer : {&cooldown1, &cooldown2, &cooldown3, &moveLockTime})
        if (*timer > 0)
            --*timer;
}

void unit::collideCheck(dataObj*, unitList* list)
{
    // In list order, as every hit after the first is weakened by those
    // before it: the sums must not depend on how the hitters were found.
    for (const unit* hitter : list->possibleHitters(*this))
        collideWith(*hitter, list);
}

void unit::collideWith(const unit& hitter, unitList* list)
{
    const ::hitbox& record = *hitter.hitbox;
    const int kind = record.checkCollide(unitType, hitter.currentActivity == actStunned);
    const bool sparesPlayer = affiliation == affiliationPlayer && hitter.currentActivity == actDead
                              && !hitter.helpsPlayer;
    if (hitter.unitID == unitID || kind == collideNone || sparesPlayer)
        return;
    const fixed reach = (scaledSize(unitGraphics) + hitter.scaledSize(hitter.unitGraphics)) / 2;
    if (apartOnAnAxis(hitter.posX - posX, hitter.posY - posY, reach))
        return;
    const fixed distance = calcDist(posX, posY, hitter.posX, hitter.posY);
    if (reach < distance)
        return;

    const unit* owner = list->getUnit(hitter.ownerID);
    const float decay = hitDecay(numHitsWhileStun);
    if (kind == collideFull || kind == collideKnockback)
        knockBack(hitter, owner, distance, decay);
    if (kind == collideFull || kind == collideDamage)
        takeHit(record, owner, decay);
}

void unit::knockBack(const unit& hitter, const unit* owner, fixed distance, float decay)
{
    const ::hitbox& record = *hitter.hitbox;
    const fixed angle = calcAngle(posX, posY, hitter.posX, hitter.posY, moveAngle);
    float weaken = 1.0f;
    if (record.knockbackType == knockbackRadial || record.knockbackType == knockbackRadialDirected)
        pushRadially(angle, distance, decay);
    if (record.knockbackType == knockbackRadialDirected
        || record.knockbackType == knockbackDirected)
        weaken = pushDirected(record, angle, owner);
    knockbackTime += static_cast<int>(record.knockbackFrames * static_cast<double>(weaken) * decay
                                      * decay * decay);
}

void unit::pushRadially(fixed angle, fixed distance, float decay)
{
    // Away from the hitter, as fast as the centres are apart.
    const fixed factor = ftofix(decay);
    knockbackX -= fixmul(factor, fixmul(fixsin(angle), distance));
    knockbackY += fixmul(factor, fixmul(fixcos(angle), distance));
}

float unit::pushDirected(const ::hitbox& record, fixed angle, const unit* owner)
{
    const float weaken = isWeakened(owner) ? 0.1f : 1.0f;
    const fixed power = truncatedProduct(record.knockbackPower, weaken);
    const fixed direction = angle + record.knockbackAngle;
    knockbackX -= fixmul(fixsin(direction), power);
    knockbackY += fixmul(fixcos(direction), power);
    return weaken;
}

void unit::takeHit(const ::hitbox& record, const unit* owner, float decay)
{
    const float damageFactor = isWeakened(owner) ? 0.5f : 1.0f;
    const bool invincible = statusAilments[ailmentInvincible] > 0;
    if (!invincible) {
        wasHit = true;
        pendingDamage +=
            static_cast<int>(record.damage * static_cast<double>(damageFactor) * decay);
    }
    if (!immuneToAilments)
        inflictAilments(record, decay, invincible);
}

void unit::inflictAilments(const ::hitbox& record, float decay, bool invincible)
{
    auto inflict = [&](int ailment) {
        statusAilments[ailment] += truncatedProduct(record.inflictAilments[ailment], decay);
    };
    if (!invincible)
        std::for_each(std::begin(guardedAilments), std::end(guardedAilments), inflict);
    std::for_each(std::begin(unguardedAilments), std::end(unguardedAilments), inflict);
    ++numHitsWhileStun;
    for (int ailment = 0; ailment < statusAilmentCount; ++ailment)
        biggestStatusTimes[ailment] =
            std::max(biggestStatusTimes[ailment], statusAilments[ailment]);
}

void unit::processPendingActions(dataObj* data, unitList* list)
{
    fixed x = posX;
    fixed y = posY;
    hp -= pendingDamage;
    payJuice(list);
    if (hp > maxHP)
        hp = maxHP;
    if (pendingDamage > 0 && affiliation == affiliationPlayer)
        statusAilments[ailmentInvincible] = invincibilityAfterDamage;
    countDownInvincibility();
    pendingDamage = 0;
    countDownAilments();
    moveOwn(x, y, list);
    capKnockback(data);
    x += knockbackX;
    y += knockbackY;
    arenaBoundaryCheck(x, y, unitGraphics, data);
    posX = x;
    posY = y;
}

void unit::payJuice(unitList* list)
{
    unit* player = list->firstOfSide(affiliationPlayer);
    if (player == nullptr)
        return;
    // The pending activity was chosen before this step's hits, so a kill or
    // a stun pays only in the step in which it happens.
    if (pendingActivity != actDead && hp <= 0)
        giveJuiceToPlayer(player, juiceValue, juiceForKill);
    else if (pendingActivity != actStunned && statusAilments[ailmentStun] > 0 && hp > 0)
        giveJuiceToPlayer(player, juiceValue, juiceForStun);
    else if (pendingDamage > 0 && hp > 0)
        giveJuiceToPlayer(player, juiceValue, juiceForHurt);
}

void unit::giveJuiceToPlayer(unit* player, int amount, int factor)
{
    if (player->statusAilments[ailmentJuiceBoost] > 0)
        factor *= 3;
    const bool refusesJuice = player->currentActivity == actDead
                              || player->statusAilments[ailmentJuiceBlock] > 0 || player->hp <= 0;
    if (!refusesJuice)
        player->pendingDamage -= amount * factor;
}

void unit::countDownInvincibility()
{
    int& invincible = statusAilments[ailmentInvincible];
    int& biggest = biggestStatusTimes[ailmentInvincible];
    if (invincible > 0)
        --invincible;
    if (invincible <= 0)
        biggest = 1;
    biggest = std::max(biggest, invincible);
}

void unit::countDownAilments()
{
    for (int ailment = 0; ailment < statusAilmentCount; ++ailment) {
        if (statusAilments[ailment] > 0)
            --statusAilments[ailment];
        if (statusAilments[ailment] < 1)
            biggestStatusTimes[ailment] = 1;
    }
}

float unit::movementFactor() const
{
    float factor = 0.25f;  // per intensity step
    if (statusAilments[ailmentHaste] > 0)
        factor *= 1.5f;
    if (statusAilments[ailmentSlow] > 0)
        factor /= 2;
    return factor;
}

void unit::moveOwn(fixed& x, fixed& y, unitList* list) const
{
    switch (moveType) {
    case moveFree: {
        const fixed stride = fixmul(moveSpeed, ftofix(moveIntensity * movementFactor()));
        x += fixmul(fixsin(moveAngle), stride);
        y -= fixmul(fixcos(moveAngle), stride);
        break;
    }
    case moveFixed:
        x = anchorX;
        y = anchorY;
        break;
    case moveAttached:
        // An owner that has left the list leaves the unit where it is.
        if (const unit* owner = list->getUnit(ownerID)) {
            x = owner->posX + anchorX;
            y = owner->posY + anchorY;
        }
        break;
    default:
        break;
    }
}

void unit::capKnockback(dataObj* data)
{
    const fixed cap = data->getArena()->getKnockbackCap();
    const fixed speed = fixhypot(knockbackX, knockbackY);
    if (speed <= cap)
        return;
    const fixed scale = fixdiv(cap, speed);
    knockbackX = fixmul(fixmul(knockbackX, scale), knockbackMul);
    knockbackY = fixmul(fixmul(knockbackY, scale), knockbackMul);
}

void unit::arenaBoundaryCheck(int& x, int& y, ::unitGraphics* graphics, dataObj* data)
{
    if (ignoreWall)
        return;
    const arena* field = data->getArena();
    const fixed half = scaledSize(graphics) / 2;
    holdInside(x, field->getArenaSizeX(), half, knockbackX);
    holdInside(y, field->getArenaSizeY(), half, knockbackY);
}

void unit::holdInside(fixed& coordinate, int arenaSize, fixed half, fixed& knockback)
{
    // Exactly at the limit is not yet a wall contact.
    const fixed farLimit = itofix(arenaSize) - half;
    if (coordinate < half)
        coordinate = half;
    else if (coordinate > farLimit)
        coordinate = farLimit;
    else
        return;
    knockback = -knockback;
    hitWall = true;
}

int unit::getUnitID() const { return unitID; }
void unit::setUnitID(int id) { unitID = id; }
int unit::getUnitType() const { return unitType; }
void unit::setUnitType(int type) { unitType = type; }
int unit::getOwnerID() const { return ownerID; }
void unit::setOwnerID(int id) { ownerID = id; }
int unit::getAffiliation() const { return affiliation; }
void unit::setAffiliation(int side) { affiliation = side; }

int unit::getPosX() const { return posX; }
int unit::getPosY() const { return posY; }

void unit::setPos(int x, int y)
{
    posX = x;
    posY = y;
}

int unit::getMoveAngle() const { return moveAngle; }
void unit::setMoveAngle(int angle) { moveAngle = angle; }
void unit::setMoveSpeed(int speed) { moveSpeed = speed; }
int unit::getMoveType() const { return moveType; }
void unit::setMoveType(int type) { moveType = type; }

int unit::getDrawPosX() const { return drawPosX; }
int unit::getDrawPosY() const { return drawPosY; }

void unit::setDrawPos(int x, int y)
{
    drawPosX = x;
    drawPosY = y;
}

int unit::getDrawAngle() const { return drawAngle; }
void unit::setDrawAngle(int angle) { drawAngle = angle; }
int unit::getDrawScale() const { return drawScale; }
void unit::setDrawScale(int scale) { drawScale = scale; }
::unitGraphics* unit::getUnitGraphics() const { return unitGraphics; }
void unit::setUnitGraphics(::unitGraphics* graphics) { unitGraphics = graphics; }

::hitbox* unit::getHitbox() const { return hitbox; }
void unit::setHitbox(::hitbox* record) { hitbox = record; }
int unit::getHP() const { return hp; }
void unit::setHP(int value) { hp = value; }
int unit::getMaxHP() const { return maxHP; }
void unit::setMaxHP(int value) { maxHP = value; }
int unit::getKnockbackMul() const { return knockbackMul; }
void unit::setKnockbackMul(int factor) { knockbackMul = factor; }
int unit::getNumHitsWhileStun() const { return numHitsWhileStun; }

int unit::getTimeToLive() const { return timeToLive; }
void unit::setTimeToLive(int frames) { timeToLive = frames; }
int unit::getDeathTimeRemoval() const { return deathTimeRemoval; }
void unit::setDeathTimeRemoval(int frames) { deathTimeRemoval = frames; }
bool unit::getDiesWhenHitsWall() const { return diesWhenHitsWall; }
void unit::setDiesWhenHitsWall(bool value) { diesWhenHitsWall = value; }
bool unit::getIgnoreWall() const { return ignoreWall; }
void unit::setIgnoreWall(bool value) { ignoreWall = value; }
void unit::setImmuneToAilments(bool value) { immuneToAilments = value; }
bool unit::getHelpsPlayer() const { return helpsPlayer; }

int unit::getCurrentActivity() const { return currentActivity; }
int unit::getActivity() const { return currentActivity; }
int unit::getPendingActivity() const { return pendingActivity; }

int unit::getInvicTime() const { return statusAilments[ailmentInvincible]; }
int unit::getStunTime() const { return statusAilments[ailmentStun]; }
int unit::getStatusAilment(int index) const { return statusAilments[index]; }
int unit::getBiggestStatusTime(int index) const { return biggestStatusTimes[index]; }
void unit::addStatusAilment(int index, int frames) { statusAilments[index] += frames; }
