#ifndef BROX_UNIT_H
#define BROX_UNIT_H

#include <allegro.h>

#include <array>
#include <vector>

class dataObj;
class hitbox;
class unitGraphics;
class unitList;

// Activity codes: which picture sequence a unit shows. Code 4 is never
// chosen, but drawing treats it as an attack.
enum unitActivity {
    actIdle = 0,
    actMoving = 1,
    actAttack1 = 2,
    actAttack2 = 3,
    actAttack3 = 5,
    actDead = 6,
    actStunned = 7,
    actIntro = 8
};

// Indices into a unit's status ailment times.
enum statusAilment {
    ailmentHaste = 0,
    ailmentJuiceBlock = 1,
    ailmentWeaken = 2,
    ailmentStun = 3,
    ailmentInvincible = 4,
    ailmentJuiceBoost = 5,
    ailmentSlow = 6,
    statusAilmentCount = 7
};

enum unitAffiliation {
    affiliationPlayer = 0,
    affiliationEnemy = 1,
    affiliationNeutral = 2
};

// Bits of attack requests and running attacks.
enum attackBit {
    attackBit1 = 1,
    attackBit2 = 2,
    attackBit3 = 4
};

// How a unit's own position is set each step; knockback comes on top.
enum unitMoveType {
    moveFree = 0,
    moveFixed = 1,
    moveAttached = 2
};

// One named number of a unit's state, for state dumps and replay checks.
struct stateField {
    const char* name;
    int value;
};

// Everything that takes part in a battle. Holds the state the per-step
// machinery works on; behaviours override a few virtual operations.
// Fixed-point values pass through the int accessors unchanged.
class unit {
public:
    unit();

    // Called once after the unit has been configured from its spawn request.
    virtual void init(int arg0, int arg1, int arg2);
    // Shows the next picture of the current activity centred on the unit;
    // while paused the animation stands still.
    virtual void draw(BITMAP* bitmap, bool paused);
    // Turns input or a script into wishes: move angle, intensity, attacks.
    virtual void processInput(dataObj* data, unitList* list);
    // Decides activity and death, fires attacks and collects this step's hits.
    virtual void makePendingActions(dataObj* data, unitList* list);
    // Takes damage, pays juice, runs ailments down and moves the unit.
    virtual void processPendingActions(dataObj* data, unitList* list);
    // Turns the triggered request bits into attacks; the base has none.
    virtual void addAttacks(dataObj* data, unitList* list, int requestBits);
    // Appends every field of the unit, by name, in a fixed order; classes
    // with fields of their own append them after the base's.
    virtual void describeState(std::vector<stateField>& fields) const;
    virtual ~unit();

    unit(const unit&) = delete;
    unit& operator=(const unit&) = delete;

    // Expiry, death, stun and the activity choice, which fires attacks;
    // then the cooldowns run down.
    void statusCheck(dataObj* data, unitList* list);
    // Collects this step's knockback, damage and ailments from every unit
    // that touches this one.
    void collideCheck(dataObj* data, unitList* list);
    // Holds the working position (fixed) inside the arena and bounces the
    // knockback off the walls.
    void arenaBoundaryCheck(int& x, int& y, ::unitGraphics* graphics, dataObj* data);
    // Heals the player by amount x factor unless it cannot take juice now.
    void giveJuiceToPlayer(unit* player, int amount, int factor);

    int getUnitID() const;
    void setUnitID(int id);
    int getUnitType() const;
    void setUnitType(int type);
    int getOwnerID() const;
    void setOwnerID(int id);
    int getAffiliation() const;
    void setAffiliation(int side);

    int getPosX() const;
    int getPosY() const;
    void setPos(int x, int y);
    int getMoveAngle() const;
    void setMoveAngle(int angle);
    void setMoveSpeed(int speed);
    int getMoveType() const;
    void setMoveType(int type);

    int getDrawPosX() const;
    int getDrawPosY() const;
    void setDrawPos(int x, int y);
    int getDrawAngle() const;
    void setDrawAngle(int angle);
    int getDrawScale() const;
    void setDrawScale(int scale);
    ::unitGraphics* getUnitGraphics() const;
    void setUnitGraphics(::unitGraphics* graphics);

    ::hitbox* getHitbox() const;
    void setHitbox(::hitbox* record);
    int getHP() const;
    void setHP(int value);
    int getMaxHP() const;
    void setMaxHP(int value);
    int getKnockbackMul() const;
    void setKnockbackMul(int factor);
    int getNumHitsWhileStun() const;

    int getTimeToLive() const;
    void setTimeToLive(int frames);
    int getDeathTimeRemoval() const;
    void setDeathTimeRemoval(int frames);
    bool getDiesWhenHitsWall() const;
    void setDiesWhenHitsWall(bool value);
    bool getIgnoreWall() const;
    void setIgnoreWall(bool value);
    void setImmuneToAilments(bool value);
    bool getHelpsPlayer() const;

    int getCurrentActivity() const;
    int getActivity() const;
    int getPendingActivity() const;

    int getInvicTime() const;
    int getStunTime() const;
    int getStatusAilment(int index) const;
    int getBiggestStatusTime(int index) const;
    void addStatusAilment(int index, int frames);

protected:
    int orbitAngle = 0;  // whole 256-units, not fixed
    int unitID = -1;
    int unitType = 0;
    int ownerID = -1;
    int affiliation = affiliationNeutral;
    int drawPosX = 400;
    int drawPosY = 300;
    fixed drawAngle = 0;
    int animFrame = 0;
    ::unitGraphics* unitGraphics = nullptr;  // shared, owned by the unit list
    fixed drawScale = itofix(1);
    bool introPending = false;
    int moveType = moveFree;
    fixed moveAngle = 0;
    int moveIntensity = 0;  // 0 stands, 4 is full speed
    fixed moveSpeed = itofix(5);
    fixed posX = itofix(400);
    fixed posY = itofix(300);
    fixed anchorX = 0;
    fixed anchorY = 0;
    ::hitbox* hitbox = nullptr;  // shared, owned by the unit list
    fixed knockbackMul = itofix(1);
    fixed knockbackX = 0;
    fixed knockbackY = 0;
    int knockbackTime = 0;
    int hp = 1;
    int pendingDamage = 0;  // negative heals
    int maxHP = 30000;
    int juiceValue = 5;
    int deathTimeRemoval = 10;
    int timeToLive = -256;  // far outside the expiry window: never expires
    bool diesWhenHitsWall = false;
    bool hitWall = false;
    bool ignoreWall = false;
    bool immuneToAilments = false;
    bool diesWhenHit = false;
    bool wasHit = false;
    bool helpsPlayer = false;
    int numHitsWhileStun = 0;
    int cooldown1 = 0;
    int cooldown2 = 0;
    int cooldown3 = 0;
    int moveLockTime = 0;
    int currentActivity = actIdle;
    int pendingActivity = actIdle;
    int attackRequest = 0;  // attack bits 1, 2, 4
    int currentAttack = 0;
    std::array<int, statusAilmentCount> statusAilments{};
    std::array<int, statusAilmentCount> biggestStatusTimes;

private:
    bool cooldownsOver() const;
    // Side of the unit's square for walls and collisions: picture size x scale.
    fixed scaledSize(const ::unitGraphics* graphics) const;

    bool diesByWall() const;
    bool hasExpired() const;
    bool isDying() const;
    void die();
    void runStun();
    void chooseActivity(dataObj* data, unitList* list);
    bool attackMayTrigger() const;
    void setActivityFromAttackBits(int bits);
    void countDownTimers();

    void collideWith(const unit& hitter, unitList* list);
    void knockBack(const unit& hitter, const unit* owner, fixed distance, float decay);
    void pushRadially(fixed angle, fixed distance, float decay);
    float pushDirected(const ::hitbox& record, fixed angle, const unit* owner);
    void takeHit(const ::hitbox& record, const unit* owner, float decay);
    void inflictAilments(const ::hitbox& record, float decay, bool invincible);

    void payJuice(unitList* list);
    void countDownInvincibility();
    void countDownAilments();
    float movementFactor() const;
    void moveOwn(fixed& x, fixed& y, unitList* list) const;
    void capKnockback(dataObj* data);
    void holdInside(fixed& coordinate, int arenaSize, fixed half, fixed& knockback);
};

#endif
