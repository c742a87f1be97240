#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "memoryDatafile.h"
#include "unitTestKit.h"

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
     {{actIdle, {13}}, {actMoving, {13}}, {actDead, {14}}, {actStunned, {18, 19, 20, 21}},
      {actIntro, {15, 16, 17, 13}}},
     400, 0, 0, 0,
     {{ailmentWeaken, 30}, {ailmentStun, 5}},
     {{6, 0}, {3, 0}, {4, 0}, {5, 0}, {8, 2}, {2, 2}},
     {{7, 0}, {2, 0}}},
    {bolt,
     {{actIdle, {48}}, {actMoving, {48}}, {actDead, {48}}},
     100, 1, 10, 5,
     {{ailmentStun, 50}},
     {{2, 0}},
     {{2, 0}}},
    {orbiter,
     {{actIdle, {30}}, {actMoving, {30}}, {actDead, {30, 30, 30, 31, 31, 31, 32, 32, 32}}},
     0, 1, 20, 10,
     {{ailmentStun, 5}},
     {{2, 0}},
     {{2, 0}}},
    {blast,
     {{actIdle, {47}}, {actMoving, {47}}, {actDead, {47}}},
     500, 0, 0, 5,
     {{ailmentStun, 5}},
     {{2, 0}, {7, 0}},
     {{2, 0}, {7, 0}}},
    {poleon,
     {{actIdle, {44}}, {actMoving, {45}}, {actAttack1, {36, 37}}, {actAttack2, {38, 39, 40, 41, 38}},
      {actAttack3, {43}}, {actDead, {42}}, {actStunned, {46}}},
     0, 0, 0, 0,
     {},
     {{2, 0}, {7, 0}, {8, 0}},
     {{8, 0}}},
    {seeker,
     {{actIdle, {6}}, {actMoving, {7, 8, 9}}, {actDead, {3, 4, 5}}, {actStunned, {6}}, {actIntro, {6}}},
     0, 0, 0, 0,
     {{ailmentJuiceBlock, 30}, {ailmentWeaken, 60}, {ailmentSlow, 120}},
     {{6, 0}, {5, 1}, {8, 2}},
     {{6, 0}, {5, 1}}},
    {healOrb,
     {{actIdle, {27}}, {actMoving, {27, 27}}, {actDead, {27}}, {actStunned, {27}}, {actIntro, {27}}},
     -100, 0, 0, 0,
     {{ailmentHaste, 30}, {ailmentInvincible, 30}, {ailmentJuiceBoost, 60}},
     {{6, 0}, {2, 2}},
     {}},
    {aimMarker,
     {{actIdle, {35}}, {actMoving, {35}}, {actDead, {35}}},
     0, 0, 0, 0,
     {},
     {},
     {}},
};

template <typename Value>
Value valueOr(const std::map<int, Value>& table, int key, Value fallback)
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
        EXPECT_EQ(record.checkCollide(victim, false), valueOr(row.collide, victim, int(collideNone)))
            << "victim " << victim;
        EXPECT_EQ(record.checkCollide(victim, true), valueOr(row.collideStunned, victim, int(collideNone)))
            << "stunned, victim " << victim;
    }
}

// A unit list with the catalogue registered from an in-memory datafile.
struct catalogueFixture : ::testing::Test {
    catalogueFixture() { content.init(&list, pics.get()); }

    memoryDatafile pics;
    loader content;
    unitList list;
};

} // namespace

TEST_F(catalogueFixture, registersOneTemplatePairPerTypeTwoToNineInOrder)
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

TEST_F(catalogueFixture, typesWithoutDefinitionsRegisterNothing)
{
    unitList empty;
    for (int type : {-1, 0, 1, 10, 42})
        content.createUnit(type, &empty, pics.get());
    auto* first = new hitbox;
    first->ownerType = 77;
    empty.addHitbox(first);
    EXPECT_EQ(empty.searchHitBox(77), 0);
}

TEST_F(catalogueFixture, everyTypeHasItsTabledPicturesAndHitRecord)
{
    // Units made by a stand-in class carry the list's shared templates.
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

TEST(loaderCatalogue, onlyChaserRequestsCountForTheEnemySide)
{
    EXPECT_EQ(loader::getAffiliationByUnit(chaser), affiliationEnemy);
    EXPECT_EQ(loader::getAffiliationByUnit(poleon), affiliationNeutral);
    EXPECT_EQ(loader::getAffiliationByUnit(seeker), affiliationNeutral);
    EXPECT_EQ(loader::getAffiliationByUnit(0), affiliationNeutral);
}

TEST(loaderCatalogue, idsThatNameNoTypeMakeNoUnit)
{
    loader content;
    for (int type : {0, 1, 10}) {
        unit* made = nullptr;
        content.loadUnit(type, made);
        EXPECT_EQ(made, nullptr) << "type " << type;
    }
}
