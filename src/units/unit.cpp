#include "unit.h"

#include "unitGraphics.h"

unit::unit()
{
    biggestStatusTimes.fill(1);
}

unit::~unit() = default;

void unit::init(int, int, int) {}

void unit::processInput(dataObj*, unitList*) {}

void unit::addAttacks(dataObj*, unitList*, int) {}

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

bool unit::cooldownsOver() const
{
    return cooldown1 <= 0 && cooldown2 <= 0 && cooldown3 <= 0;
}

void unit::makePendingActions(dataObj*, unitList*) {}

void unit::processPendingActions(dataObj*, unitList*) {}

void unit::statusCheck(dataObj*, unitList*) {}

void unit::collideCheck(dataObj*, unitList*) {}

void unit::arenaBoundaryCheck(int&, int&, ::unitGraphics*, dataObj*) {}

void unit::giveJuiceToPlayer(unit*, int, int) {}

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
