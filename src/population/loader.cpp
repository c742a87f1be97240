#include "loader.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "battle/arena.h"
#include "battle/videoSettings.h"
#include "shell/dataObj.h"
#include "shell/picData.h"
#include "unitCreate.h"
#include "unitGraphics.h"
#include "unitList.h"
#include "units/dumbUnit.h"
#include "units/hitbox.h"
#include "units/homingUnit.h"
#include "units/poleonUnit.h"
#include "units/unit.h"

namespace {

using namespace picData;

// Pictures, floors and banners are datafile objects addressed by number.
BITMAP* picture(DATAFILE* datafile, int object)
{
    return static_cast<BITMAP*>(datafile[object].dat);
}

// The frames of one activity in playing order.
struct activityFrames {
    int activity;
    std::vector<int> objects;
};

struct collideRule {
    int victimType;
    int kind;
};

struct ailmentHit {
    int ailment;
    int frames;
};

// Everything a unit type is built from except its class: the picture table
// and the hit record that all units of the type share.
struct unitTemplate {
    int type;
    std::vector<activityFrames> frames;
    int damage;
    int knockbackType;
    int knockbackPower;  // whole pixels per frame
    int knockbackFrames;
    std::vector<ailmentHit> ailments;
    std::vector<collideRule> collideTable;
    std::vector<collideRule> collideTableStunned;
};

const std::vector<unitTemplate>& unitTemplates()
{
    // type; frames per activity; damage, knockback type, power and frames;
    // ailments inflicted; collision table; collision table while stunned.
    // Laid out by hand, as the numbers of one row read best on one line.
    // clang-format off
    static const std::vector<unitTemplate> templates = {
        {chaser,
         {{actIdle, {chaserIdle}}, {actMoving, {chaserIdle}}, {actDead, {chaserDead}},
          {actStunned, {chaserStunned1, chaserStunned2, chaserStunned3, chaserStunned4}},
          {actIntro, {chaserIntro1, chaserIntro2, chaserIntro3, chaserIdle}}},
         400, knockbackRadial, 0, 0,
         {{ailmentWeaken, 30}, {ailmentStun, 5}},
         {{poleon, collideFull}, {bolt, collideFull}, {orbiter, collideFull}, {blast, collideFull},
          {healOrb, collideKnockback}, {chaser, collideKnockback}},
         {{seeker, collideFull}, {chaser, collideFull}}},
        {bolt,
         {{actIdle, {boltPic}}, {actMoving, {boltPic}}, {actDead, {boltPic}}},
         100, knockbackRadialDirected, 10, 5,
         {{ailmentStun, 50}},
         {{chaser, collideFull}},
         {{chaser, collideFull}}},
        {orbiter,
         {{actIdle, {orbiterIdle}}, {actMoving, {orbiterIdle}},
          {actDead, {orbiterIdle, orbiterIdle, orbiterIdle, orbiterFading, orbiterFading,
                     orbiterFading, orbiterFaded, orbiterFaded, orbiterFaded}}},
         0, knockbackRadialDirected, 20, 10,
         {{ailmentStun, 5}},
         {{chaser, collideFull}},
         {{chaser, collideFull}}},
        {blast,
         {{actIdle, {blastPic}}, {actMoving, {blastPic}}, {actDead, {blastPic}}},
         500, knockbackRadial, 0, 5,
         {{ailmentStun, 5}},
         {{chaser, collideFull}, {seeker, collideFull}},
         {{chaser, collideFull}, {seeker, collideFull}}},
        {poleon,
         {{actIdle, {poleonIdle}}, {actMoving, {poleonMoving}},
          {actAttack1, {poleonAttack1a, poleonAttack1b}},
          {actAttack2,
           {poleonAttack2a, poleonAttack2b, poleonAttack2c, poleonAttack2d, poleonAttack2a}},
          {actAttack3, {poleonAttack3}}, {actDead, {poleonDead}}, {actStunned, {poleonStunned}}},
         0, knockbackRadial, 0, 0,
         {},
         {{chaser, collideFull}, {seeker, collideFull}, {healOrb, collideFull}},
         {{healOrb, collideFull}}},
        {seeker,
         {{actIdle, {seekerIdle}}, {actMoving, {seekerMoving1, seekerMoving2, seekerMoving3}},
          {actDead, {seekerDead1, seekerDead2, seekerDead3}}, {actStunned, {seekerIdle}},
          {actIntro, {seekerIdle}}},
         0, knockbackRadial, 0, 0,
         {{ailmentJuiceBlock, 30}, {ailmentWeaken, 60}, {ailmentSlow, 120}},
         {{poleon, collideFull}, {blast, collideDamage}, {healOrb, collideKnockback}},
         {{poleon, collideFull}, {blast, collideDamage}}},
        {healOrb,
         {{actIdle, {healOrbPic}}, {actMoving, {healOrbPic, healOrbPic}},
          {actDead, {healOrbPic}}, {actStunned, {healOrbPic}},
          {actIntro, {healOrbPic}}},
         -100, knockbackRadial, 0, 0,
         {{ailmentHaste, 30}, {ailmentInvincible, 30}, {ailmentJuiceBoost, 60}},
         {{poleon, collideFull}, {chaser, collideKnockback}},
         {}},
        {aimMarker,
         {{actIdle, {aimMarkerPic}}, {actMoving, {aimMarkerPic}},
          {actDead, {aimMarkerPic}}},
         0, knockbackRadial, 0, 0,
         {},
         {},
         {}},
    };
    // clang-format on
    return templates;
}

const unitTemplate* templateOf(int type)
{
    for (const unitTemplate& entry : unitTemplates())
        if (entry.type == type)
            return &entry;
    return nullptr;
}

unitGraphics* buildGraphics(const unitTemplate& entry, DATAFILE* datafile)
{
    auto* table = new unitGraphics;
    for (const activityFrames& slot : entry.frames)
        for (int object : slot.objects)
            table->insertPic(picture(datafile, object), slot.activity);
    table->unitType = entry.type;
    return table;
}

hitbox* buildHitbox(const unitTemplate& entry)
{
    auto* record = new hitbox;
    record->damage = entry.damage;
    record->knockbackType = entry.knockbackType;
    record->knockbackPower = itofix(entry.knockbackPower);
    record->knockbackFrames = entry.knockbackFrames;
    record->ownerType = entry.type;
    for (const ailmentHit& hit : entry.ailments)
        record->inflictAilments[hit.ailment] = hit.frames;
    for (const collideRule& rule : entry.collideTable)
        record->addCollide(rule.victimType, rule.kind, false);
    for (const collideRule& rule : entry.collideTableStunned)
        record->addCollide(rule.victimType, rule.kind, true);
    return record;
}

// Copies of one unit type arriving at border points: copy i waits
// firstDelay + spacing x (i div groupSize) steps.
struct arrivals {
    int count;
    int type;
    int firstDelay;
    int spacing;
    int groupSize;
    std::array<int, 3> initArgs;
};

struct roundSetup {
    int width;
    int height;
    int floorPic;
    int titlePic;
    int successor;
    std::vector<arrivals> schedule;
};

// Chasers aim for 15 steps and dash for 60; the large one (last argument 1)
// aims for 5 and dashes for 15.
const roundSetup& roundSetupOf(int round)
{
    // width, height, floor, title, successor; then per arrival: count, type,
    // first delay, spacing, group size, init arguments.
    // clang-format off
    static const std::vector<roundSetup> rounds = {
        {300, 300, floorRound0, titleRound0, 1,
         {{10, chaser, 0, 20, 1, {15, 60, 0}},
          {2, healOrb, 100, 100, 1, {}}}},
        {600, 300, floorRound1, titleRound1, 2,
         {{20, chaser, 0, 15, 1, {15, 60, 0}},
          {6, seeker, 60, 60, 1, {}}}},
        {500, 400, floorRound2, titleRound2, -1,
         {{4, seeker, 0, 150, 1, {}},
          {5, seeker, 600, 0, 1, {}},
          {50, chaser, 60, 60, 5, {15, 60, 0}},
          {1, chaser, 700, 0, 1, {5, 15, 1}},
          {3, healOrb, 100, 200, 1, {}}}},
    };
    // clang-format on
    // Every other number is the empty end round, which leads back to round 0.
    static const roundSetup endRound = {100, 100, floorRound2, titleEndRound, 0, {}};
    const bool defined = round >= 0 && round < static_cast<int>(rounds.size());
    return defined ? rounds[round] : endRound;
}

void setUpArena(const roundSetup& setup, dataObj* data, DATAFILE* datafile)
{
    arena* battleArena = data->getArena();
    battleArena->setArenaSize(setup.width, setup.height);
    battleArena->setArenaPic(picture(datafile, setup.floorPic));
    data->getVideoSettings()->setObjectPositions(battleArena->getArenaSizeX(),
                                                 battleArena->getArenaSizeY());
}

void queueFighter(unitList* list, const arena* battleArena)
{
    auto* request = new unitCreate;
    request->unitType = poleon;
    request->posX = itofix(battleArena->getArenaSizeX() / 2);
    request->posY = itofix(battleArena->getArenaSizeY() / 2);
    list->addCreate(request);
}

void queueArrivals(unitList* list, arena* battleArena, const arrivals& group)
{
    for (int i = 0; i < group.count; ++i) {
        auto* request = new unitCreate;
        loader::randomlyPlaceUnit(battleArena, request->posX, request->posY);
        request->unitType = group.type;
        request->delay = group.firstDelay + group.spacing * (i / group.groupSize);
        request->initArg0 = group.initArgs[0];
        request->initArg1 = group.initArgs[1];
        request->initArg2 = group.initArgs[2];
        list->addCreate(request);
    }
}

// A unit of the type's class; null for an id that names no type.
unit* newUnitOfType(int type)
{
    switch (type) {
    case chaser:
    case seeker:
        return new homingUnit();
    case bolt:
    case orbiter:
    case blast:
    case healOrb:
    case aimMarker:
        return new dumbUnit();
    case poleon:
        return new poleonUnit();
    default:
        return nullptr;
    }
}

// What a type is before its class's init runs: how it dies and what it
// ignores. The class's init then gives the unit the stats of its kind.
void applyFixedSettings(int type, unit& made)
{
    switch (type) {
    case bolt:
        made.setDiesWhenHitsWall(true);
        made.setDeathTimeRemoval(0);  // gone at the first cull after it ends
        break;
    case orbiter:
        made.setDeathTimeRemoval(9);  // as long as its nine dead pictures
        made.setImmuneToAilments(true);
        break;
    case blast:
        // Grows from nothing where it was set off. Its knockback factor of 0
        // scales only knockback above the arena's cap, so a chaser close to
        // it still pushes it.
        made.setDrawScale(0);
        made.setDeathTimeRemoval(10);
        made.setIgnoreWall(true);
        made.setKnockbackMul(0);
        made.setImmuneToAilments(true);
        break;
    case seeker:
        made.setDeathTimeRemoval(3);
        break;
    case healOrb:
        made.setDeathTimeRemoval(1);
        break;
    default:
        break;
    }
}

}  // namespace

loader::~loader() = default;

void loader::init(unitList* list, DATAFILE* datafile)
{
    for (int type = chaser; type <= aimMarker; ++type)
        createUnit(type, list, datafile);
}

void loader::createUnit(int type, unitList* list, DATAFILE* datafile)
{
    const unitTemplate* entry = templateOf(type);
    if (!entry)
        return;
    list->addGraphics(buildGraphics(*entry, datafile));
    list->addHitbox(buildHitbox(*entry));
}

int loader::getAffiliationByUnit(int type)
{
    return type == chaser ? affiliationEnemy : affiliationNeutral;
}

void loader::loadUnit(int type, unit*& out)
{
    unit* made = newUnitOfType(type);
    if (!made)
        return;
    applyFixedSettings(type, *made);
    out = made;
}

void loader::loadRound(int round, int& nextRound, unitList* list, BITMAP*& roundPic, dataObj* data,
                       DATAFILE* datafile, bool advance)
{
    const roundSetup& setup = roundSetupOf(advance ? nextRound : round);
    setUpArena(setup, data, datafile);
    roundPic = picture(datafile, setup.titlePic);
    list->clearAll();
    queueFighter(list, data->getArena());
    for (const arrivals& group : setup.schedule)
        queueArrivals(list, data->getArena(), group);
    if (advance)
        nextRound = setup.successor;
}

void loader::randomlyPlaceUnit(arena* battleArena, int& x, int& y)
{
    const int width = battleArena->getArenaSizeX();
    const int height = battleArena->getArenaSizeY();
    int pixelX = 0;
    int pixelY = 0;
    borderPoint(width, height, std::rand() % (2 * (width + height)), pixelX, pixelY);
    x = itofix(pixelX);
    y = itofix(pixelY);
}

void loader::borderPoint(int width, int height, int c, int& x, int& y)
{
    if (c < width) {
        x = c;
        y = 0;
    } else if (c < width + height) {
        x = width;
        y = c - width;
    } else if (c < 2 * width + height) {
        x = c - width - height;
        y = height;
    } else {
        x = 0;
        y = c - 2 * width - height;
    }
}
