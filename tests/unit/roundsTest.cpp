#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "memoryDatafile.h"
#include "unitTestKit.h"

namespace {

// One spawn request as the unit it became: the step it was due on stands
// for its delay.
struct arrival {
    int type;
    int delay;
    std::array<int, 3> initArgs;

    bool operator==(const arrival& other) const
    {
        return type == other.type && delay == other.delay && initArgs == other.initArgs;
    }
};

std::ostream& operator<<(std::ostream& out, const arrival& a)
{
    return out << "{type " << a.type << ", delay " << a.delay << ", args " << a.initArgs[0] << ' '
               << a.initArgs[1] << ' ' << a.initArgs[2] << '}';
}

// Requests of one type with the given delays, in queue order.
void queued(std::vector<arrival>& schedule, int type, const std::vector<int>& delays,
            std::array<int, 3> initArgs = {})
{
    for (int delay : delays)
        schedule.push_back({type, delay, initArgs});
}

// first, first + step, ... with every value repeated `copies` times.
std::vector<int> series(int first, int step, int count, int copies = 1)
{
    std::vector<int> delays;
    for (int i = 0; i < count; ++i)
        delays.insert(delays.end(), copies, first + step * i);
    return delays;
}

// The order in which the list creates a schedule: by delay, and in queue
// order among equal delays.
std::vector<arrival> creationOrder(std::vector<arrival> schedule)
{
    std::stable_sort(schedule.begin(), schedule.end(),
                     [](const arrival& a, const arrival& b) { return a.delay < b.delay; });
    return schedule;
}

bool onBorder(int x, int y, int width, int height)
{
    const bool onHorizontal = (y == 0 || y == height) && x >= 0 && x <= width;
    const bool onVertical = (x == 0 || x == width) && y >= 0 && y <= height;
    return onHorizontal || onVertical;
}

bool wholePixel(fixed value) { return (value & 0xffff) == 0; }

// A battle whose rounds come from the real loader, turned into stand-in
// units so that every request can be read back.
struct RoundTest : ::testing::Test {
    void loadRound(int round, int& next, bool advance)
    {
        content.loadRound(round, next, &battle.list, title, &battle.data, pics.get(), advance);
    }

    // Lets the list create every pending request and reads the new units
    // back, checking those fields that no round sets.
    std::vector<arrival> drain()
    {
        const int calls = battle.list.latestTime() + 1;
        std::vector<arrival> made;
        for (int call = 0; call < calls; ++call) {
            battle.list.createUnits();
            for (size_t i = made.size(); i < battle.list.getUnits().size(); ++i)
                made.push_back(arrivalOf(battle.list.getUnits()[i], call));
        }
        return made;
    }

    arrival arrivalOf(unit* made, int delay)
    {
        const auto& args = static_cast<probeUnit*>(made)->initArgs;
        const arena* field = battle.data.getArena();
        EXPECT_EQ(made->getMoveAngle(), 0);
        EXPECT_EQ(made->getOwnerID(), -1);
        EXPECT_TRUE(wholePixel(made->getPosX()) && wholePixel(made->getPosY()));
        if (made->getUnitType() != poleon) {
            EXPECT_TRUE(onBorder(fixtoi(made->getPosX()), fixtoi(made->getPosY()),
                                 field->getArenaSizeX(), field->getArenaSizeY()));
        }
        return {made->getUnitType(), delay, {args[0], args[1], args[2]}};
    }

    unit* first() { return battle.list.getUnits().front(); }

    memoryDatafile pics;
    testBattle battle;
    loader content;
    BITMAP* title = nullptr;
};

}  // namespace

TEST_F(RoundTest, roundZeroQueuesTheFighterThenTenChasersAndTwoHealOrbs)
{
    int next = 0;
    loadRound(0, next, true);
    EXPECT_EQ(next, 1);
    EXPECT_TRUE(battle.list.getUnits().empty());
    EXPECT_EQ(battle.list.latestTime(), 200);

    std::vector<arrival> expected;
    queued(expected, poleon, {0});
    queued(expected, chaser, series(0, 20, 10), {15, 60, 0});
    queued(expected, healOrb, {100, 200});
    EXPECT_EQ(drain(), creationOrder(expected));
    EXPECT_EQ(first()->getPosX(), ftofix(150.0));
    EXPECT_EQ(first()->getPosY(), ftofix(150.0));
}

TEST_F(RoundTest, roundOneQueuesTwentyChasersAndSixSeekers)
{
    int next = 0;
    std::vector<arrival> expected;
    queued(expected, poleon, {0});
    queued(expected, chaser, series(0, 15, 20), {15, 60, 0});
    queued(expected, seeker, series(60, 60, 6));
    loadRound(1, next, false);
    EXPECT_EQ(battle.list.latestTime(), 360);
    const std::vector<arrival> made = drain();
    EXPECT_EQ(made.size(), 27u);
    EXPECT_EQ(made, creationOrder(expected));
    EXPECT_EQ(first()->getPosX(), itofix(300));
    EXPECT_EQ(first()->getPosY(), itofix(150));
}

TEST_F(RoundTest, roundTwoEndsWithTheLargeChaserAtSevenHundred)
{
    int next = 0;
    std::vector<arrival> expected;
    queued(expected, poleon, {0});
    queued(expected, seeker, series(0, 150, 4));
    queued(expected, seeker, series(600, 0, 5));
    queued(expected, chaser, series(60, 60, 10, 5), {15, 60, 0});
    queued(expected, chaser, {700}, {5, 15, 1});
    queued(expected, healOrb, series(100, 200, 3));
    loadRound(2, next, false);
    EXPECT_EQ(battle.list.latestTime(), 700);
    const std::vector<arrival> made = drain();
    EXPECT_EQ(made.size(), 64u);
    EXPECT_EQ(made, creationOrder(expected));
    EXPECT_EQ(made.back(), (arrival{chaser, 700, {5, 15, 1}}));
}

TEST_F(RoundTest, theEndRoundHoldsOnlyTheFighter)
{
    for (int round : {-1, 3, 99}) {
        int next = round;
        loadRound(0, next, true);
        EXPECT_EQ(next, 0);
        EXPECT_FALSE(battle.list.anyRemainingAffiliation(affiliationEnemy));
        EXPECT_EQ(battle.list.latestTime(), 0);
        battle.list.createUnits();
        battle.list.createUnits();
        ASSERT_EQ(battle.list.getUnits().size(), 1u);
        EXPECT_EQ(first()->getUnitType(), poleon);
        EXPECT_EQ(first()->getPosX(), ftofix(50.0));
        EXPECT_EQ(first()->getPosY(), ftofix(50.0));
    }
}

TEST_F(RoundTest, eachRoundSizesTheArenaPicksItsPicturesAndLaysOutTheScreen)
{
    struct roundLook {
        int round, width, height, floor, banner;
    };
    const roundLook looks[] = {
        {0, 300, 300, 0, 22}, {1, 600, 300, 1, 23}, {2, 500, 400, 2, 24}, {-1, 100, 100, 2, 25}};
    battle.data.getVideoSettings()->setResolution(800, 600);
    for (const roundLook& look : looks) {
        SCOPED_TRACE(testing::Message() << "round " << look.round);
        int next = 0;
        loadRound(look.round, next, false);
        const arena* field = battle.data.getArena();
        EXPECT_EQ(field->getArenaSizeX(), look.width);
        EXPECT_EQ(field->getArenaSizeY(), look.height);
        EXPECT_EQ(field->getArenaPic(), pics.pic(look.floor));
        EXPECT_EQ(title, pics.pic(look.banner));
        videoSettings laidOut;
        laidOut.setResolution(800, 600);
        laidOut.setObjectPositions(look.width, look.height);
        const videoSettings* used = battle.data.getVideoSettings();
        EXPECT_EQ(used->getArenaScale(), laidOut.getArenaScale());
        EXPECT_EQ(used->getArenaPosX(), laidOut.getArenaPosX());
        EXPECT_EQ(used->getArenaPosY(), laidOut.getArenaPosY());
        EXPECT_EQ(used->getHPBarStartY(), laidOut.getHPBarStartY());
    }
}

TEST_F(RoundTest, repeatingKeepsTheNextRoundAndAdvancingFollowsTheCycle)
{
    int next = 2;
    loadRound(1, next, false);
    EXPECT_EQ(next, 2);
    EXPECT_EQ(battle.data.getArena()->getArenaSizeX(), 600);

    next = 2;
    loadRound(0, next, true);
    EXPECT_EQ(next, -1);
    EXPECT_EQ(battle.data.getArena()->getArenaSizeY(), 400);

    next = 0;
    std::vector<int> played;
    for (int round = 0; round < 5; ++round) {
        played.push_back(next);
        loadRound(0, next, true);
    }
    EXPECT_EQ(played, (std::vector<int>{0, 1, 2, -1, 0}));
}

TEST_F(RoundTest, loadingARoundDropsEverythingOfThePreviousOne)
{
    int next = 0;
    loadRound(0, next, false);
    drain();
    ASSERT_EQ(battle.list.getUnits().size(), 13u);
    loadRound(0, next, false);
    EXPECT_TRUE(battle.list.getUnits().empty());
    battle.list.createUnits();
    EXPECT_EQ(first()->getUnitID(), 0);
    EXPECT_EQ(first()->getUnitType(), poleon);
}

TEST(BorderPointTest, walksTopRightBottomAndLeftEdges)
{
    struct point {
        int c, x, y;
    };
    const point expected[] = {{0, 0, 0},        {599, 599, 0},   {600, 600, 0},
                              {700, 600, 100},  {899, 600, 299}, {900, 0, 300},
                              {1499, 599, 300}, {1500, 0, 0},    {1799, 0, 299}};
    for (const point& p : expected) {
        int x = -1;
        int y = -1;
        loader::borderPoint(600, 300, p.c, x, y);
        EXPECT_EQ(x, p.x) << "c = " << p.c;
        EXPECT_EQ(y, p.y) << "c = " << p.c;
    }
}

TEST(RandomlyPlaceUnitTest, staysOnTheBorderAndReachesEveryEdge)
{
    arena field;
    field.setArenaSize(600, 300);
    std::srand(7);
    std::array<int, 4> edgeHits{};  // top, right, bottom, left
    for (int draw = 0; draw < 3000; ++draw) {
        int x = 0;
        int y = 0;
        loader::randomlyPlaceUnit(&field, x, y);
        ASSERT_TRUE(wholePixel(x) && wholePixel(y));
        const int px = fixtoi(x);
        const int py = fixtoi(y);
        ASSERT_TRUE(onBorder(px, py, 600, 300)) << px << ", " << py;
        edgeHits[0] += py == 0;
        edgeHits[1] += px == 600;
        edgeHits[2] += py == 300;
        edgeHits[3] += px == 0;
    }
    for (int hits : edgeHits)
        EXPECT_GT(hits, 0);
}
