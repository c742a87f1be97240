#include <gtest/gtest.h>

#include "battleTestKit.h"
#include "population/loader.h"
#include "population/unitCreate.h"

namespace {

void queue(unitList* list, int type, int delay = 0)
{
    auto* request = new unitCreate();
    request->unitType = type;
    request->posX = itofix(50);
    request->posY = itofix(50);
    request->delay = delay;
    list->addCreate(request);
}

// Empties the round and queues only what the test asks for.
void stage(headlessBattle& game, bool withFighter, int enemyDelay = -1)
{
    game.units()->clearAll();
    if (withFighter)
        queue(game.units(), poleon);
    if (enemyDelay >= 0)
        queue(game.units(), chaser, enemyDelay);
}

// Plays a round holding only the fighter until it is won.
void winRound(headlessBattle& game)
{
    game.skipCountdown();
    stage(game, true);
    while (game.battle.getState() != stateWon)
        game.pass(true);
}

void tapKey(headlessBattle& game, int code, bool tickOnRelease)
{
    key[code] = 1;
    game.pass(true);
    key[code] = 0;
    game.pass(tickOnRelease);
}

}  // namespace

TEST(BattleControllerTest, StartsOnRoundZeroWithItsCountdown)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    EXPECT_EQ(game.battle.getState(), stateCountdown);
    EXPECT_EQ(game.battle.getStateTimer(), 15);
    EXPECT_EQ(game.battle.getRound(), 0);
    EXPECT_EQ(game.battle.getNextRound(), 1);
    EXPECT_EQ(game.battle.getLatestTime(), 200);
    EXPECT_EQ(game.data.getArena()->getArenaSizeX(), 300);
    ASSERT_NE(game.battle.getBuffer(), nullptr);
    EXPECT_EQ(game.battle.getBuffer()->w, 640);
}

TEST(BattleControllerTest, CountdownLastsSixteenPassesAndTheFightBeginsInTheLast)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    for (int passNumber = 1; passNumber <= 15; ++passNumber) {
        game.pass(true);
        EXPECT_EQ(game.battle.getState(), stateCountdown) << "pass " << passNumber;
        EXPECT_TRUE(gamePaused);
        EXPECT_EQ(frameCount, 0);
    }
    game.pass(true);
    EXPECT_EQ(game.battle.getState(), stateFighting);
    EXPECT_FALSE(gamePaused);
    EXPECT_EQ(frameCount, 1);
    EXPECT_FALSE(game.units()->getUnits().empty());
}

TEST(BattleControllerTest, PilingTicksGiveOneStepWhileTheClockCountsThemAll)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    const int stepsBefore = frameCount;
    for (int tick = 0; tick < 5; ++tick)
        incFrameTick();
    EXPECT_EQ(frameInRound, 5);
    game.battle.go();
    EXPECT_EQ(frameCount, stepsBefore + 1);
    EXPECT_EQ(frameTick, 0);
    // A pass without a tick neither steps nor counts.
    game.pass(false);
    EXPECT_EQ(frameCount, stepsBefore + 1);
    // A paused clock stops the round clock but not the ticks.
    shouldPauseTimer = true;
    incFrameTick();
    EXPECT_EQ(frameInRound, 5);
    EXPECT_EQ(frameTick, 1);
}

TEST(BattleControllerTest, RoundEndIsTestedOnlyAfterThirtyOneSteps)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    stage(game, true);
    while (frameCount < 31) {
        game.pass(true);
        EXPECT_NE(game.battle.getState(), stateWon) << "after " << frameCount << " steps";
    }
    game.pass(false);
    EXPECT_EQ(game.battle.getState(), stateWon);
    EXPECT_EQ(game.battle.getStateTimer(), 149);
    EXPECT_TRUE(shouldPauseTimer);
}

TEST(BattleControllerTest, BothSidesGoneOnOnePassIsALoss)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    stage(game, false);
    game.passes(31);
    game.pass(false);
    EXPECT_EQ(game.battle.getState(), stateLost);
    EXPECT_EQ(game.battle.getStateTimer(), 29);
    // The lost banner runs 31 passes, then the same round starts fighting.
    game.passes(29, false);
    EXPECT_EQ(game.battle.getState(), stateLost);
    game.pass(false);
    EXPECT_EQ(game.battle.getState(), stateFighting);
    EXPECT_EQ(game.battle.getRound(), 0);
    EXPECT_EQ(game.battle.getNextRound(), 1);
}

TEST(BattleControllerTest, PendingEnemyRequestKeepsTheRoundAlive)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    stage(game, true, 1000);
    game.passes(60);
    EXPECT_EQ(game.battle.getState(), stateFighting);
    EXPECT_TRUE(game.units()->anyRemainingAffiliation(affiliationEnemy));
}

TEST(BattleControllerTest, PauseDuringTheWonBannerHoldsIt)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    winRound(game);
    tapKey(game, KEY_TAB, true);
    ASSERT_TRUE(gamePaused);
    const int held = game.battle.getStateTimer();
    game.passes(200);
    EXPECT_EQ(game.battle.getState(), stateWon);
    EXPECT_EQ(game.battle.getStateTimer(), held);
    tapKey(game, KEY_TAB, true);
    EXPECT_FALSE(gamePaused);
    EXPECT_FALSE(shouldPauseTimer);
    game.pass(false);
    EXPECT_EQ(game.battle.getStateTimer(), held - 1);
}

TEST(BattleControllerTest, PauseOnTheCountdownsLastPassStartsTheFightPaused)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.passes(14, false);
    key[KEY_TAB] = 1;
    game.pass(false);
    key[KEY_TAB] = 0;
    game.pass(true);
    EXPECT_EQ(game.battle.getState(), stateFighting);
    EXPECT_TRUE(gamePaused);
    EXPECT_TRUE(shouldPauseTimer);
    // The pass stepped once before the toggle; from then on nothing moves.
    EXPECT_EQ(frameCount, 1);
    game.passes(10);
    EXPECT_EQ(frameCount, 1);
}

TEST(BattleControllerTest, ResetDuringTheCountdownFightsTheSameRoundAtOnce)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.passes(5, false);
    tapKey(game, KEY_F10, true);
    EXPECT_EQ(game.battle.getState(), stateFighting);
    EXPECT_EQ(game.battle.getRound(), 0);
    EXPECT_EQ(game.battle.getNextRound(), 1);
    EXPECT_FALSE(gamePaused);
    EXPECT_EQ(frameCount, 0);
    game.pass(true);
    EXPECT_EQ(frameCount, 1);
}

TEST(BattleControllerTest, PassEndingTheWonBannerDrawsTheNewRoundAndStepsIt)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    winRound(game);
    game.passes(149, false);
    ASSERT_EQ(game.battle.getState(), stateWon);
    game.pass(true);
    EXPECT_EQ(game.battle.getRound(), 1);
    EXPECT_EQ(game.battle.getNextRound(), 2);
    EXPECT_EQ(game.battle.getState(), stateCountdown);
    EXPECT_EQ(game.battle.getStateTimer(), 15);
    EXPECT_EQ(frameCount, 1);
    EXPECT_EQ(game.data.getArena()->getArenaSizeX(), 600);
    // The new round's 600 x 300 arena is on screen at its new place.
    EXPECT_EQ(game.data.getVideoSettings()->getArenaPosY(), 128);
}

TEST(BattleControllerTest, TabBetweenTicksTogglesPauseOnceOnTheNextTick)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    key[KEY_TAB] = 1;
    game.pass(true);
    key[KEY_TAB] = 0;
    game.pass(false);
    EXPECT_FALSE(gamePaused);
    game.pass(false);
    EXPECT_FALSE(gamePaused);
    game.pass(true);
    EXPECT_TRUE(gamePaused);
    game.passes(3, false);
    game.pass(true);
    EXPECT_TRUE(gamePaused);
}

TEST(BattleControllerTest, TabOnATickIsNotSeenAgainOnPassesWithoutOne)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    tapKey(game, KEY_TAB, true);
    EXPECT_TRUE(gamePaused);
    game.passes(4, false);
    EXPECT_TRUE(gamePaused);
    game.pass(true);
    EXPECT_TRUE(gamePaused);
}

TEST(BattleControllerTest, RoundWithoutRequestsReachesTheLastWaveAfterItsFirstStep)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.battle.setNextRound(-1);
    game.battle.restart(true, false);
    EXPECT_EQ(game.battle.getLatestTime(), 0);
    EXPECT_EQ(game.battle.getNextRound(), 0);
    game.pass(true);
    EXPECT_EQ(game.battle.getState(), stateFighting);
    game.pass(false);
    EXPECT_EQ(game.battle.getState(), stateLastWave);
}

TEST(BattleControllerTest, RoundsFollowEachOtherAndTheCycleStartsAgain)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    const int expectedRounds[] = {1, 2, -1, 0};
    for (int expected : expectedRounds) {
        game.skipCountdown();
        stage(game, true);
        while (game.battle.getState() != stateCountdown)
            game.pass(true);
        EXPECT_EQ(game.battle.getRound(), expected);
    }
}

namespace {

// A unit whose step stands for a timer tick arriving in the middle of a pass.
class tickDuringStep : public unit {
public:
    void processInput(dataObj*, unitList*) override { incFrameTick(); }
};

}  // namespace

TEST(BattleControllerTest, TickArrivingDuringTheStepIsKeptForTheNextPass)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    game.pass(true);
    auto* ticker = new tickDuringStep();
    ticker->setUnitGraphics(game.units()->getUnits().front()->getUnitGraphics());
    ticker->setHitbox(game.units()->getUnits().front()->getHitbox());
    game.units()->addUnit(ticker);
    game.pass(true);
    EXPECT_EQ(frameTick, 1);
    const int steps = frameCount;
    game.battle.go();
    EXPECT_EQ(frameCount, steps + 1);
}

TEST(BattleControllerTest, TheFightPausesWhileTheWindowIsInTheBackgroundUntilTab)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    game.passes(5);
    // F10 held as the focus leaves: Allegro lets go of it, and that release
    // must not restart the round.
    key[KEY_F10] = 1;
    game.pass(true);
    key[KEY_F10] = 0;
    windowFocused = false;
    game.pass(true);
    EXPECT_EQ(frameCount, 7) << "the round restarted or stopped at once";
    game.passes(3);
    EXPECT_TRUE(gamePaused);
    EXPECT_TRUE(shouldPauseTimer);
    const int steps = frameCount;
    game.passes(5);
    windowFocused = true;
    game.passes(5);
    EXPECT_EQ(frameCount, steps) << "the fight ran without the player";
    game.tap(KEY_TAB);
    EXPECT_FALSE(gamePaused);
    game.pass(true);
    EXPECT_EQ(frameCount, steps + 1);
}

TEST(BattleControllerTest, KeysPressedWhileTheWindowIsInTheBackgroundDoNothing)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    game.passes(2);
    windowFocused = false;
    game.passes(3);
    ASSERT_TRUE(gamePaused);
    // A system that still hands the game its keys (a full screen that grabs
    // the keyboard) must not let Tab resume the fight or F10 restart it.
    const int steps = frameCount;
    game.tap(KEY_TAB);
    game.tap(KEY_F10);
    game.passes(3);
    EXPECT_TRUE(gamePaused) << "Tab resumed the fight in the background";
    EXPECT_EQ(frameCount, steps) << "the round restarted or ran";
    windowFocused = true;
    game.tap(KEY_TAB);
    EXPECT_FALSE(gamePaused);
}

TEST(BattleControllerTest, ACountdownInTheBackgroundRunsOutIntoAPausedFight)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    windowFocused = false;
    game.passes(16);
    windowFocused = true;
    EXPECT_EQ(game.battle.getState(), stateFighting);
    EXPECT_TRUE(gamePaused);
    EXPECT_EQ(frameCount, 0);
}

TEST(BattleControllerTest, TheFightOrLastWavePausesOnTheThirdPassWithoutTheFocus)
{
    for (const int wanted : {stateFighting, stateLastWave}) {
        SCOPED_TRACE(wanted);
        headlessBattle game;
        ASSERT_EQ(game.initResult, 0);
        game.skipCountdown();
        if (wanted == stateLastWave) {
            game.battle.setNextRound(-1);
            game.battle.restart(true, false);
            game.passes(2);
        }
        ASSERT_EQ(game.battle.getState(), wanted);
        // A loss of two passes is a burst of focus events, however often.
        for (int burst = 0; burst < 3; ++burst) {
            windowFocused = false;
            game.passes(2);
            windowFocused = true;
            game.pass(true);
        }
        EXPECT_FALSE(gamePaused);
        windowFocused = false;
        const int steps = frameCount;
        game.passes(2);
        EXPECT_FALSE(gamePaused);
        EXPECT_EQ(frameCount, steps + 2);
        game.pass(true);
        EXPECT_TRUE(gamePaused);
        EXPECT_TRUE(shouldPauseTimer);
        EXPECT_EQ(frameCount, steps + 2) << "the third pass without the focus stepped";
    }
}

TEST(BattleControllerTest, AReleaseLatchedBetweenTicksIsForgottenWhenTheFocusLeaves)
{
    for (const int code : {KEY_F10, KEY_TAB}) {
        SCOPED_TRACE(code);
        headlessBattle game;
        ASSERT_EQ(game.initResult, 0);
        game.skipCountdown();
        game.passes(5);
        key[code] = 1;
        game.pass(true);
        // Let go on a pass without a tick, as the focus leaves; back at once.
        key[code] = 0;
        windowFocused = false;
        game.pass(false);
        windowFocused = true;
        game.passes(2);
        EXPECT_EQ(frameCount, 8) << "the round restarted";
        EXPECT_FALSE(gamePaused);
    }
    // The same for the right button, which would call orbiters.
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    stage(game, true);
    game.passes(2);
    mouse_b = 2;
    game.pass(true);
    mouse_b = 0;
    windowFocused = false;
    game.pass(false);
    windowFocused = true;
    game.passes(3);
    EXPECT_TRUE(game.units()->search(game.units()->getUnits(), searchByType, orbiter).empty());
}

TEST(BattleControllerTest, ALostRoundInTheBackgroundRunsOutIntoAPausedRestart)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    stage(game, false);
    game.passes(32);
    ASSERT_EQ(game.battle.getState(), stateLost);
    windowFocused = false;
    game.passes(35);
    EXPECT_EQ(game.battle.getState(), stateFighting) << "the lost banner stood still";
    EXPECT_TRUE(gamePaused);
}

TEST(BattleControllerTest, AButtonHeldAsTheFocusLeavesNeitherFiresNorClicksUntilPressedAgain)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.skipCountdown();
    stage(game, true);
    game.pass(true);
    // Bolts soon fly off and are gone: the newest ever seen tells of firing.
    int newestBolt = -1;
    const auto play = [&](int passes) {
        for (int i = 0; i < passes; ++i) {
            game.pass(true);
            for (const unit* shot :
                 game.units()->search(game.units()->getUnits(), searchByType, bolt))
                newestBolt = std::max(newestBolt, shot->getUnitID());
        }
    };
    const auto orbiters = [&] {
        return game.units()->search(game.units()->getUnits(), searchByType, orbiter).size();
    };
    mouse_b = 1 | 2;
    play(12);
    ASSERT_GE(newestBolt, 0) << "the held left button fired nothing";
    const int lastBolt = newestBolt;

    // Held through a short loss of the focus and after it.
    windowFocused = false;
    play(2);
    windowFocused = true;
    play(20);
    EXPECT_EQ(newestBolt, lastBolt) << "a button held as the focus left kept firing";
    mouse_b = 0;
    play(5);
    EXPECT_EQ(orbiters(), 0u) << "the right button's release called orbiters";

    // Pressed again, both act as before.
    mouse_b = 1 | 2;
    play(8);
    mouse_b = 0;
    play(3);
    EXPECT_GT(newestBolt, lastBolt);
    EXPECT_EQ(orbiters(), 3u);
}
