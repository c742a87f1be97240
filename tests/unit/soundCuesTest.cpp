#include <gtest/gtest.h>

#include <vector>

#include "battle/soundCues.h"
#include "listenedBattle.h"

TEST(SoundCuesTest, TheCountdownGivesItsTitleOnceAndAPausedFightStaysQuiet)
{
    listenedBattle game;
    ASSERT_EQ(game.initResult, 0);
    // Tab during the countdown neither pauses nor resumes the fight.
    game.tap(KEY_TAB);
    game.skipCountdown();
    EXPECT_EQ(game.recorder.played,
              (std::vector<playedSound>{{soundRoundTitle, soundCues::centrePan}}));

    game.stageMeeting(150, -1);
    ASSERT_TRUE(game.passUntilPresent(poleon));
    game.recorder.played.clear();
    game.tap(KEY_TAB);
    ASSERT_TRUE(gamePaused);
    mouse_b = 1;
    game.passes(20, true);
    mouse_b = 0;
    EXPECT_EQ(game.recorder.played, (std::vector<playedSound>{{soundPause, soundCues::centrePan}}));
    EXPECT_EQ(game.first(bolt), nullptr);

    game.tap(KEY_TAB);
    EXPECT_EQ(game.recorder.count(soundResume), 1);
    // A restart resumes a paused fight without a word.
    game.tap(KEY_TAB);
    game.tap(KEY_F10);
    ASSERT_FALSE(gamePaused);
    EXPECT_EQ(game.recorder.count(soundPause), 2);
    EXPECT_EQ(game.recorder.count(soundResume), 1);
}

TEST(SoundCuesTest, ABoltSoundsOnceWhereItIsAndThreeOrbitersAsOneCall)
{
    listenedBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.stageMeeting(60, -1);
    ASSERT_TRUE(game.passUntilPresent(poleon));
    game.recorder.played.clear();

    mouse_b = 1;
    const bool fired = game.passUntilPresent(bolt);
    mouse_b = 0;
    ASSERT_TRUE(fired);
    const int pan = game.panAt(*game.first(bolt));
    EXPECT_LT(pan, soundCues::centrePan / 2);  // the fighter stands on the left
    EXPECT_EQ(game.recorder.played, (std::vector<playedSound>{{soundBolt, pan}}));
    game.passes(3, false);
    game.passes(2, true);
    EXPECT_EQ(game.recorder.count(soundBolt), 1);

    // Three orbiters come in one step and sound as one call.
    mouse_b = 2;
    game.pass(true);
    mouse_b = 0;
    ASSERT_TRUE(game.passUntilPresent(orbiter));
    EXPECT_EQ(game.units()->search(game.units()->getUnits(), searchByType, orbiter).size(), 3u);
    EXPECT_EQ(game.recorder.count(soundOrbiters), 1);
    EXPECT_EQ(game.recorder.count(soundFighterHurt), 0) << "paying for orbiters is no hurt";
}

TEST(SoundCuesTest, AnEnemyHurtDestroyedAndTheRoundWonEachSoundOnce)
{
    listenedBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.stageFight();
    game.queueUnit(poleon, 40, 0);
    game.queueUnit(chaser, 260, 0);
    ASSERT_TRUE(game.passUntilPresent(chaser));
    unit* enemy = game.first(chaser);
    game.recorder.played.clear();

    // Between steps, so that nothing but the test changes the chaser.
    enemy->setHP(enemy->getHP() - 100);
    game.passes(3, false);
    const int pan = game.panAt(*enemy);
    EXPECT_GT(pan, soundCues::centrePan);
    EXPECT_EQ(game.recorder.played, (std::vector<playedSound>{{soundEnemyHurt, pan}}));

    enemy->setHP(0);
    game.pass(false);
    EXPECT_EQ(game.recorder.played.back(), (playedSound{soundEnemyDestroyed, pan}));
    // Struck again while it lingers, it is no more destroyed than before.
    enemy->setHP(-100);
    game.pass(false);
    ASSERT_TRUE(game.passUntilState(stateWon));
    game.passes(5, true);
    EXPECT_EQ(game.recorder.count(soundEnemyHurt), 1);
    EXPECT_EQ(game.recorder.count(soundEnemyDestroyed), 1);
    EXPECT_EQ(game.recorder.count(soundRoundWon), 1);
}

TEST(SoundCuesTest, EnemiesHurtInOnePassSoundOnceFromTheMeanOfWhereTheyAre)
{
    listenedBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.stageFight();
    game.queueUnit(poleon, 150, 0);
    for (int x : {30, 210, 120})
        game.queueUnit(chaser, x, 0);
    ASSERT_TRUE(game.passUntilPresent(chaser));
    const std::vector<unit*> enemies =
        game.units()->search(game.units()->getUnits(), searchByType, chaser);
    ASSERT_EQ(enemies.size(), 3u);
    game.recorder.played.clear();

    // Two hurt and one destroyed between steps: one cue of each kind.
    enemies[0]->setHP(enemies[0]->getHP() - 100);
    enemies[1]->setHP(enemies[1]->getHP() - 100);
    enemies[2]->setHP(0);
    game.pass(false);
    const int hurtPan = (game.panAt(*enemies[0]) + game.panAt(*enemies[1])) / 2;
    EXPECT_EQ(game.recorder.played,
              (std::vector<playedSound>{{soundEnemyHurt, hurtPan},
                                        {soundEnemyDestroyed, game.panAt(*enemies[2])}}));
    EXPECT_NE(hurtPan, soundCues::centrePan);
    // A later pass's cue comes from its own source alone.
    enemies[0]->setHP(enemies[0]->getHP() - 100);
    game.pass(false);
    EXPECT_EQ(game.recorder.played.back(), (playedSound{soundEnemyHurt, game.panAt(*enemies[0])}));
}

TEST(SoundCuesTest, TheFighterIsHealedHurtAndAfflictedByWhatItMeets)
{
    struct meeting {
        int otherType;
        int expected;
    };
    for (const meeting& m : {meeting{healOrb, soundHealTaken}, meeting{chaser, soundFighterHurt},
                             meeting{seeker, soundAilment}}) {
        listenedBattle game;
        ASSERT_EQ(game.initResult, 0);
        game.stageMeeting(220, m.otherType);
        ASSERT_TRUE(game.passUntilPresent(m.otherType));
        const int hpBefore = game.first(poleon)->getHP();
        for (int step = 0; step < 20 && game.recorder.count(m.expected) == 0; ++step)
            game.pass(true);
        SCOPED_TRACE(m.otherType);
        ASSERT_EQ(game.recorder.count(m.expected), 1);
        const auto heard =
            std::find_if(game.recorder.played.begin(), game.recorder.played.end(),
                         [&](const playedSound& s) { return s.effect == m.expected; });
        EXPECT_EQ(heard->pan, game.panAt(*game.first(poleon)));
        const int hpAfter = game.first(poleon)->getHP();
        EXPECT_EQ(m.expected == soundHealTaken, hpAfter > hpBefore);
        EXPECT_EQ(m.expected == soundFighterHurt, hpAfter < hpBefore);
        for (int other : {soundHealTaken, soundFighterHurt, soundAilment})
            EXPECT_TRUE(other == m.expected || game.recorder.count(other) == 0)
                << "effect " << other;
    }
}

TEST(SoundCuesTest, ALostRoundSoundsOnceAndItsRestartStaysQuiet)
{
    listenedBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.stageFight();
    game.queueUnit(chaser, 150, 0);
    ASSERT_TRUE(game.passUntilState(stateLost));
    game.recorder.played.clear();
    // Through the banner, paused and resumed on the way, to the round's
    // restart, which has no countdown.
    game.tap(KEY_TAB);
    game.tap(KEY_TAB);
    game.passes(40, true);
    ASSERT_EQ(game.battle.getState(), stateFighting);
    EXPECT_EQ(game.recorder.count(soundRoundLost), 0) << "played again";
    EXPECT_EQ(game.recorder.count(soundRoundTitle), 0);
    EXPECT_EQ(game.recorder.count(soundPause) + game.recorder.count(soundResume), 0);
}

namespace {

// What every unit is after each pass of a scripted fight: moving, firing,
// calling orbiters and setting off blasts. The battle seeds the random
// generator with the time, so the round is restarted after seeding it.
std::vector<int> playScripted(headlessBattle& game)
{
    std::vector<int> record;
    game.skipCountdown();
    std::srand(7);
    game.tap(KEY_F10);
    for (int passNumber = 0; passNumber < 900; ++passNumber) {
        key[KEY_D] = (passNumber / 40) % 2;
        key[KEY_A] = 1 - key[KEY_D];
        key[KEY_SPACE] = passNumber % 150 == 0;
        mouse_b = (passNumber % 60 == 0 ? 2 : 0) | (passNumber % 3 != 0 ? 1 : 0);
        game.pass(true);
        for (const unit* member : game.units()->getUnits()) {
            record.insert(record.end(), {member->getUnitID(), member->getUnitType(),
                                         member->getHP(), member->getPosX(), member->getPosY()});
            for (int ailment = 0; ailment < statusAilmentCount; ++ailment)
                record.push_back(member->getStatusAilment(ailment));
        }
        record.push_back(game.battle.getState());
    }
    key[KEY_D] = key[KEY_A] = key[KEY_SPACE] = 0;
    mouse_b = 0;
    return record;
}

}  // namespace

TEST(SoundCuesTest, TheBattleRunsTheSameWhetherItIsListenedToOrNot)
{
    std::vector<int> silent;
    {
        headlessBattle game;
        ASSERT_EQ(game.initResult, 0);
        silent = playScripted(game);
    }
    listenedBattle game;
    ASSERT_EQ(game.initResult, 0);
    const std::vector<int> heard = playScripted(game);
    EXPECT_TRUE(heard == silent) << "the sound or the music changed the battle";
    for (int effect : {soundBolt, soundOrbiters, soundEnemyHurt})
        EXPECT_GT(game.recorder.count(effect), 0) << "effect " << effect;
}
