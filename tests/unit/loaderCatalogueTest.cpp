#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "memoryDatafile.h"
#include "unitTestKit.h"
#include "units/dumbUnit.h"
#include "units/homingUnit.h"
#include "units/poleonUnit.h"

namespace {

// What the catalogue must build for one unit type. Slots, ailments and
// victims that a row leaves out are empty, 0 and collideNone.
struct catalogueRow {
    int type;
    std::map<int, std::vector<int>> frames;  // activity -> datafile objects
    int damage;
    int knockbackType;
    int knockbackPower;
    int knockbackFrames;
    std::map<int, int> ailments;
    std::map<int, int> collide;  // victim type -> kind
    std::map<int, int> collideStunned;
};

const std::vector<catalogueRow> catalogue = {
    {chaser,
     {{actIdle, {13}},
      {actMoving, {13}},
      {actDead, {14}},
      {actStunned, {18, 19, 20, 21}},
      {actIntro, {15, 16, 17, 13}}},
     400,
     0,
     0,
     0,
     {{ailmentWeaken, 30}, {ailmentStun, 5}},
     {{6, 0}, {3, 0}, {4, 0}, {5, 0}, {8, 2}, {2, 2}},
     {{7, 0}, {2, 0}}},
    {bolt,
     {{actIdle, {48}}, {actMoving, {48}}, {actDead, {48}}},
     100,
     1,
     10,
     5,
     {{ailmentStun, 50}},
     {{2, 0}},
     {{2, 0}}},
    {orbiter,
     {{actIdle, {30}}, {actMoving, {30}}, {actDead, {30, 30, 30, 31, 31, 31, 32, 32, 32}}},
     0,
     1,
     20,
     10,
     {{ailmentStun, 5}},
     {{2, 0}},
     {{2, 0}}},
    {blast,
     {{actIdle, {47}}, {actMoving, {47}}, {actDead, {47}}},
     500,
     0,
     0,
     5,
     {{ailmentStun, 5}},
     {{2, 0}, {7, 0}},
     {{2, 0}, {7, 0}}},
    {poleon,
     {{actIdle, {44}},
      {actMoving, {45}},
      {actAttack1, {36, 37}},
      {actAttack2, {38, 39, 40, 41, 38}},
      {actAttack3, {43}},
      {actDead, {42}},
      {actStunned, {46}}},
     0,
     0,
     0,
     0,
     {},
     {{2, 0}, {7, 0}, {8, 0}},
     {{8, 0}}},
    {seeker,
     {{actIdle, {6}},
      {actMoving, {7, 8, 9}},
      {actDead, {3, 4, 5}},
      {actStunned, {6}},
      {actIntro, {6}}},
     0,
     0,
     0,
     0,
     {{ailmentJuiceBlock, 30}, {ailmentWeaken, 60}, {ailmentSlow, 120}},
     {{6, 0}, {5, 1}, {8, 2}},
     {{6, 0}, {5, 1}}},
    {healOrb,
     {{actIdle, {27}},
      {actMoving, {27, 27}},
      {actDead, {27}},
      {actStunned, {27}},
      {actIntro, {27}}},
     -100,
     0,
     0,
     0,
     {{ailmentHaste, 30}, {ailmentInvincible, 30}, {ailmentJuiceBoost, 60}},
     {{6, 0}, {2, 2}},
     {}},
    {aimMarker, {{actIdle, {35}}, {actMoving, {35}}, {actDead, {35}}}, 0, 0, 0, 0, {}, {}, {}},
};

template <typename Value> Value valueOr(const std::map<int, Value>& table, int key, Value fallback)
{
    auto found = table.find(key);
    return found == table.end() ? fallback : found->second;
}

// The datafile objects of one activity slot, in frame order.
std::vector<int> framesOf(const unitGraphics& table, int activity, const memoryDatafile& pics)
{
    std::vector<int> objects;
    for (int frame = 0; frame < table.getSizeOfVector(activity); ++frame)
        objects.push_back(pics.objectOf(table.getPic(activity, frame)));
    return objects;
}

void expectPictures(const catalogueRow& row, const unitGraphics& table, const memoryDatafile& pics)
{
    EXPECT_EQ(table.unitType, row.type);
    for (int activity = 0; activity < unitGraphics::activitySlots; ++activity)
        EXPECT_EQ(framesOf(table, activity, pics), valueOr(row.frames, activity, {}))
            << "activity " << activity;
    EXPECT_EQ(table.getPicSize(), memoryDatafile::sideOf(row.frames.at(actIdle).back()));
}

void expectHitbox(const catalogueRow& row, const hitbox& record)
{
    EXPECT_EQ(record.ownerType, row.type);
    EXPECT_EQ(record.damage, row.damage);
    EXPECT_EQ(record.knockbackType, row.knockbackType);
    EXPECT_EQ(record.knockbackAngle, 0);
    EXPECT_EQ(record.knockbackPower, itofix(row.knockbackPower));
    EXPECT_EQ(record.knockbackFrames, row.knockbackFrames);
    for (int ailment = 0; ailment < statusAilmentCount; ++ailment)
        EXPECT_EQ(record.inflictAilments[ailment], valueOr(row.ailments, ailment, 0))
            << "ailment " << ailment;
    for (int victim = 0; victim < hitbox::victimTypes; ++victim) {
        EXPECT_EQ(record.checkCollide(victim, false),
                  valueOr(row.collide, victim, int(collideNone)))
            << "victim " << victim;
        EXPECT_EQ(record.checkCollide(victim, true),
                  valueOr(row.collideStunned, victim, int(collideNone)))
            << "stunned, victim " << victim;
    }
}

// Reads protected state of units through pointers to their members.
struct unitState : unit {
    static fixed speedOf(const unit& u) { return u.*(&unitState::moveSpeed); }
    static int juiceOf(const unit& u) { return u.*(&unitState::juiceValue); }
    static bool introOf(const unit& u) { return u.*(&unitState::introPending); }
    static bool immuneOf(const unit& u) { return u.*(&unitState::immuneToAilments); }
    static bool diesWhenHitOf(const unit& u) { return u.*(&unitState::diesWhenHit); }
};

struct homingState : homingUnit {
    static fixed headingOf(const homingUnit& u) { return u.*(&homingState::heading); }
    static int aimTimeOf(const homingUnit& u) { return u.*(&homingState::aimTime); }
    static int dashTimeOf(const homingUnit& u) { return u.*(&homingState::dashTime); }
};

struct poleonState : poleonUnit {
    static std::vector<int> costsOf(const playerUnit& u)
    {
        return {u.*(&poleonState::attack1Cost), u.*(&poleonState::attack2Cost),
                u.*(&poleonState::attack3Cost)};
    }
};

// A unit's stats once the list has created it.
struct statsRow {
    int type;
    int variant;  // third init argument
    int hp, maxHP;
    double moveSpeed;
    int moveType, timeToLive, deathTimeRemoval;
    double drawScale, knockbackMul;
    int affiliation;
    bool introPending, immune, diesWhenHitsWall, ignoreWall, diesWhenHit, helpsPlayer;
    int juiceValue, invincible;
};

constexpr int never = -256;  // the time to live of a unit that never expires

const std::vector<statsRow> createdStats = {
    // type      v  hp     maxHP  speed mt ttl    dtr scale kb  side intro immune wall   ignore hit
    // helps  juice inv
    {chaser, 0, 1000, 1000, 2.0, 0, never, 10, 1.0, 1.0, 1, true, false, false, false, false, false,
     5, 5},
    {chaser, 1, 5000, 5000, 10.0, 0, never, 10, 2.0, 1.0, 1, true, true, false, false, false, false,
     5, 5},
    {bolt, 0, 1, 30000, 20.0, 0, 30, 0, 1.0, 1.0, 2, false, true, true, false, false, false, 0, 0},
    {orbiter, 0, 2000, 1000, 20.0, 2, 120, 9, 1.0, 1.0, 2, false, true, false, true, false, false,
     0, 0},
    {blast, 0, 30000, 30000, 5.0, 1, 20, 10, 0.0, 0.0, 2, false, true, false, true, false, false, 0,
     0},
    {poleon, 0, 1000, 3000, 15.0, 0, never, 10, 1.0, 1.0, 0, false, false, false, false, false,
     false, 5, 0},
    {seeker, 0, 1, 1, 5.0, 0, 120, 3, 1.0, 1.0, 1, false, false, false, false, true, false, 50, 0},
    {healOrb, 0, 1, 30000, 5.0, 1, 210, 1, 1.0, 1.0, 2, false, true, false, false, true, true, 0,
     0},
    {aimMarker, 0, 20000, 30000, 5.0, 2, never, 10, 1.0, 1.0, 2, false, true, false, true, false,
     false, 0, 30000},
};

// A unit's stats after loadUnit alone: its type's fixed settings on the
// unit defaults, before any class's init has run.
const std::vector<statsRow> loadedStats = {
    // type      v  hp maxHP  speed mt ttl    dtr scale kb  side intro immune wall   ignore hit
    // helps  juice inv
    {chaser, 0, 1, 30000, 5.0, 0, never, 10, 1.0, 1.0, 2, false, false, false, false, false, false,
     5, 0},
    {bolt, 0, 1, 30000, 5.0, 0, never, 0, 1.0, 1.0, 2, false, false, true, false, false, false, 5,
     0},
    {orbiter, 0, 1, 30000, 5.0, 0, never, 9, 1.0, 1.0, 2, false, true, false, false, false, false,
     5, 0},
    {blast, 0, 1, 30000, 5.0, 0, never, 10, 0.0, 0.0, 2, false, true, false, true, false, false, 5,
     0},
    {poleon, 0, 1, 30000, 5.0, 0, never, 10, 1.0, 1.0, 2, false, false, false, false, false, false,
     5, 0},
    {seeker, 0, 1, 30000, 5.0, 0, never, 3, 1.0, 1.0, 2, false, false, false, false, false, false,
     5, 0},
    {healOrb, 0, 1, 30000, 5.0, 0, never, 1, 1.0, 1.0, 2, false, false, false, false, false, false,
     5, 0},
    {aimMarker, 0, 1, 30000, 5.0, 0, never, 10, 1.0, 1.0, 2, false, false, false, false, false,
     false, 5, 0},
};

// A unit's stats after its class's init alone, on a unit of the class made
// without the catalogue: what the behaviour itself gives each type.
const std::vector<statsRow> initStats = {
    // type      v  hp     maxHP  speed mt ttl    dtr scale kb  side intro immune wall   ignore hit
    // helps  juice inv
    {chaser, 0, 1000, 1000, 2.0, 0, never, 10, 1.0, 1.0, 1, true, false, false, false, false, false,
     5, 5},
    {bolt, 0, 1, 30000, 20.0, 0, 30, 10, 1.0, 1.0, 2, false, true, false, false, false, false, 0,
     0},
    {orbiter, 0, 2000, 1000, 20.0, 2, 120, 10, 1.0, 1.0, 2, false, true, false, true, false, false,
     0, 0},
    {blast, 0, 30000, 30000, 5.0, 1, 20, 10, 1.0, 1.0, 2, false, true, false, false, false, false,
     0, 0},
    {poleon, 0, 1000, 3000, 15.0, 0, never, 10, 1.0, 1.0, 0, false, false, false, false, false,
     false, 5, 0},
    {seeker, 0, 1, 1, 5.0, 0, 120, 10, 1.0, 1.0, 1, false, false, false, false, true, false, 50, 0},
    {healOrb, 0, 1, 30000, 5.0, 1, 210, 10, 1.0, 1.0, 2, false, true, false, false, true, true, 0,
     0},
    {aimMarker, 0, 20000, 30000, 5.0, 2, never, 10, 1.0, 1.0, 2, false, true, false, true, false,
     false, 0, 30000},
};

void expectStats(const statsRow& row, const unit& made)
{
    EXPECT_EQ(made.getHP(), row.hp);
    EXPECT_EQ(made.getMaxHP(), row.maxHP);
    EXPECT_EQ(unitState::speedOf(made), ftofix(row.moveSpeed));
    EXPECT_EQ(made.getMoveType(), row.moveType);
    EXPECT_EQ(made.getTimeToLive(), row.timeToLive);
    EXPECT_EQ(made.getDeathTimeRemoval(), row.deathTimeRemoval);
    EXPECT_EQ(made.getDrawScale(), ftofix(row.drawScale));
    EXPECT_EQ(made.getKnockbackMul(), ftofix(row.knockbackMul));
    EXPECT_EQ(made.getAffiliation(), row.affiliation);
    EXPECT_EQ(unitState::introOf(made), row.introPending);
    EXPECT_EQ(unitState::immuneOf(made), row.immune);
    EXPECT_EQ(made.getDiesWhenHitsWall(), row.diesWhenHitsWall);
    EXPECT_EQ(made.getIgnoreWall(), row.ignoreWall);
    EXPECT_EQ(unitState::diesWhenHitOf(made), row.diesWhenHit);
    EXPECT_EQ(made.getHelpsPlayer(), row.helpsPlayer);
    EXPECT_EQ(unitState::juiceOf(made), row.juiceValue);
    EXPECT_EQ(made.getStatusAilment(ailmentInvincible), row.invincible);
}

// A unit list with the catalogue registered from an in-memory datafile and
// the catalogue making its units.
struct CatalogueTest : ::testing::Test {
    CatalogueTest()
    {
        content.init(&list, pics.get());
        list.setLoader(&content);
    }

    // Queues a request with the init arguments, lets the list create it and
    // returns the new unit.
    unit* create(int type, int arg0 = 0, int arg1 = 0, int arg2 = 0)
    {
        auto* request = new unitCreate;
        request->unitType = type;
        request->initArg0 = arg0;
        request->initArg1 = arg1;
        request->initArg2 = arg2;
        list.addCreate(request);
        list.createUnits();
        return list.getUnits().back();
    }

    memoryDatafile pics;
    loader content;
    unitList list;
};

}  // namespace

TEST_F(CatalogueTest, registersOneTemplatePairPerTypeTwoToNineInOrder)
{
    for (int type = chaser; type <= aimMarker; ++type) {
        EXPECT_EQ(list.searchGraphics(type), type - chaser);
        EXPECT_EQ(list.searchHitBox(type), type - chaser);
    }
    // One more entry lands at index 8 only if exactly eight came before.
    auto* extraTable = new unitGraphics;
    extraTable->unitType = chaser;
    list.addGraphics(extraTable);
    auto* extraRecord = new hitbox;
    extraRecord->ownerType = chaser;
    list.addHitbox(extraRecord);
    EXPECT_EQ(list.searchGraphics(chaser), 8);
    EXPECT_EQ(list.searchHitBox(chaser), 8);
}

TEST_F(CatalogueTest, typesWithoutDefinitionsRegisterNothing)
{
    unitList empty;
    for (int type : {-1, 0, 1, 10, 42})
        content.createUnit(type, &empty, pics.get());
    auto* first = new hitbox;
    first->ownerType = 77;
    empty.addHitbox(first);
    EXPECT_EQ(empty.searchHitBox(77), 0);
}

TEST_F(CatalogueTest, everyTypeHasItsTabledPicturesAndHitRecord)
{
    // Units made by a stand-in class carry the list's shared templates
    // without any behaviour of their own.
    probeLoader stand;
    list.setLoader(&stand);
    for (const catalogueRow& row : catalogue) {
        auto* request = new unitCreate;
        request->unitType = row.type;
        list.addCreate(request);
    }
    list.createUnits();
    ASSERT_EQ(list.getUnits().size(), catalogue.size());
    for (size_t i = 0; i < catalogue.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "type " << catalogue[i].type);
        const unit* made = list.getUnits()[i];
        expectPictures(catalogue[i], *made->getUnitGraphics(), pics);
        expectHitbox(catalogue[i], *made->getHitbox());
    }
}

TEST(LoaderCatalogueTest, onlyChaserRequestsCountForTheEnemySide)
{
    EXPECT_EQ(loader::getAffiliationByUnit(chaser), affiliationEnemy);
    EXPECT_EQ(loader::getAffiliationByUnit(poleon), affiliationNeutral);
    EXPECT_EQ(loader::getAffiliationByUnit(seeker), affiliationNeutral);
    EXPECT_EQ(loader::getAffiliationByUnit(0), affiliationNeutral);
}

TEST(LoaderCatalogueTest, idsThatNameNoTypeMakeNoUnit)
{
    loader content;
    for (int type : {0, 1, 10}) {
        unit* made = nullptr;
        content.loadUnit(type, made);
        EXPECT_EQ(made, nullptr) << "type " << type;
    }
}

TEST_F(CatalogueTest, createdUnitsHaveTheStatsOfTheirType)
{
    for (const statsRow& row : createdStats) {
        SCOPED_TRACE(testing::Message() << "type " << row.type << " variant " << row.variant);
        const unit* made = create(row.type, 15, 60, row.variant);
        EXPECT_EQ(made->getUnitType(), row.type);
        expectStats(row, *made);
    }
}

// loadUnit and init each do their own share on their own: a caller of one
// without the other gets exactly that share.
TEST(LoaderCatalogueTest, loadUnitAndInitEachSetTheirOwnShareOfAType)
{
    loader content;
    for (const statsRow& row : loadedStats) {
        SCOPED_TRACE(testing::Message() << "loadUnit, type " << row.type);
        unit* made = nullptr;
        content.loadUnit(row.type, made);
        ASSERT_NE(made, nullptr);
        expectStats(row, *made);
        delete made;
    }
    for (const statsRow& row : initStats) {
        SCOPED_TRACE(testing::Message() << "init, type " << row.type);
        std::unique_ptr<unit> bare;
        if (row.type == chaser || row.type == seeker)
            bare = std::make_unique<homingUnit>();
        else if (row.type == poleon)
            bare = std::make_unique<poleonUnit>();
        else
            bare = std::make_unique<dumbUnit>();
        bare->setUnitType(row.type);
        bare->init(15, 60, row.variant);
        expectStats(row, *bare);
    }
}

TEST_F(CatalogueTest, eachTypeIsMadeOfItsBehaviourClass)
{
    const unit* fighter = create(poleon);
    ASSERT_NE(dynamic_cast<const poleonUnit*>(fighter), nullptr);
    EXPECT_EQ(poleonState::costsOf(*dynamic_cast<const poleonUnit*>(fighter)),
              (std::vector<int>{0, 200, 1500}));
    for (int type : {chaser, seeker})
        EXPECT_NE(dynamic_cast<const homingUnit*>(create(type)), nullptr) << "type " << type;
    for (int type : {bolt, orbiter, blast, healOrb, aimMarker})
        EXPECT_NE(dynamic_cast<const dumbUnit*>(create(type)), nullptr) << "type " << type;
}

TEST_F(CatalogueTest, homingUnitsStartWithTheirHeadingAndPhases)
{
    const auto* hunter = dynamic_cast<const homingUnit*>(create(chaser, 15, 60));
    ASSERT_NE(hunter, nullptr);
    const fixed heading = homingState::headingOf(*hunter);
    EXPECT_EQ(heading & 0xffff, 0);
    EXPECT_GE(heading, 0);
    EXPECT_LE(heading, itofix(255));
    EXPECT_EQ(homingState::aimTimeOf(*hunter), 15);
    EXPECT_EQ(homingState::dashTimeOf(*hunter), 60);
    const auto* missile = dynamic_cast<const homingUnit*>(create(seeker, 15, 60));
    ASSERT_NE(missile, nullptr);
    EXPECT_EQ(homingState::headingOf(*missile), 0);
}

TEST_F(CatalogueTest, theFirstLargeChaserMakesEveryChaserHitHarderForGood)
{
    const unit* early = create(chaser, 15, 60);
    EXPECT_EQ(early->getHitbox()->damage, 400);
    create(chaser, 5, 15, 1);
    EXPECT_EQ(early->getHitbox()->damage, 750);
    list.clearAll();
    EXPECT_EQ(create(chaser, 15, 60)->getHitbox()->damage, 750);
}

TEST_F(CatalogueTest, aBoltIsRemovedAtOnceButADeadChaserLingersTenSteps)
{
    unit* shot = create(bolt);
    unit* hunter = create(chaser, 15, 60);
    const int hunterID = hunter->getUnitID();
    shot->setHP(0);
    hunter->setHP(0);
    dataObj data;
    int steps = 0;
    while (list.getUnit(hunterID) != nullptr && steps < 20) {
        // Drawing adopts the pending activity, so the dead pictures show.
        EXPECT_EQ(hunter->getPendingActivity(), steps == 0 ? actIdle : actDead) << "step " << steps;
        list.stepUnits(&data);
        list.cullUnits();
        ++steps;
        EXPECT_TRUE(list.search(list.getUnits(), searchByType, bolt).empty());
    }
    EXPECT_EQ(steps, 10);
}
