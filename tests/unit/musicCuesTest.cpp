#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "audio/musicScore.h"
#include "listenedBattle.h"

TEST(MusicCuesTest, EachRoundStartsItsPieceWhichIsQuieterWhilePausedAndGivesWayToTheBanner)
{
    listenedBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.pass(false);
    EXPECT_EQ(game.music.started, std::vector<int>{musicRound0});
    EXPECT_EQ(game.music.level(), 128);
    game.stageMeeting(150, -1);
    ASSERT_TRUE(game.passUntilPresent(poleon));
    game.tap(KEY_TAB);
    EXPECT_EQ(game.music.level(), 32);
    game.tap(KEY_TAB);
    EXPECT_EQ(game.music.level(), 128);

    // The won round's own sound is its sting; the next round brings its piece.
    ASSERT_TRUE(game.passUntilState(stateWon));
    EXPECT_EQ(game.music.level(), 0);
    game.passes(150, true);  // the banner shows for 150 passes
    ASSERT_TRUE(game.passUntilState(stateCountdown));
    EXPECT_EQ(game.music.started, (std::vector<int>{musicRound0, musicRound1}));
    EXPECT_EQ(game.music.level(), 128);
    // Played again, a round starts its piece from the beginning again.
    game.skipCountdown();
    game.passes(5, true);
    game.tap(KEY_F10);
    EXPECT_EQ(game.music.started, (std::vector<int>{musicRound0, musicRound1, musicRound1}));
}

TEST(MusicCuesTest, VolumeZeroPlaysNoneAndMSilencesMusicAndEffectsTogether)
{
    {
        listenedBattle quiet;
        ASSERT_EQ(quiet.initResult, 0);
        std::istringstream config("musicVolume 0");
        quiet.data.readConfig(config);
        quiet.skipCountdown();
        quiet.tap(KEY_TAB);
        quiet.tap(KEY_TAB);
        EXPECT_TRUE(quiet.music.started.empty());
        EXPECT_EQ(quiet.music.levels, std::vector<int>{0});
    }
    listenedBattle game;
    ASSERT_EQ(game.initResult, 0);
    game.stageMeeting(150, -1);
    ASSERT_TRUE(game.passUntilPresent(poleon));
    // Held over several passes, the key mutes once.
    key[KEY_M] = 1;
    game.passes(3, true);
    key[KEY_M] = 0;
    game.pass(true);
    EXPECT_EQ(game.music.level(), 0);
    game.recorder.played.clear();
    mouse_b = 1;
    game.passes(20, true);
    mouse_b = 0;
    EXPECT_NE(game.first(bolt), nullptr) << "muted, the fight goes on";
    EXPECT_EQ(game.recorder.count(soundBolt), 0);

    game.tap(KEY_M);
    EXPECT_EQ(game.music.level(), 128);
    mouse_b = 1;
    game.passes(20, true);
    mouse_b = 0;
    EXPECT_GT(game.recorder.count(soundBolt), 0);
}

TEST(MusicCuesTest, TheMusicGivesWayUnderBothBannersAndToAPauseInEitherPartOfTheFight)
{
    listenedBattle game;
    ASSERT_EQ(game.initResult, 0);
    // The end round has no arrivals: its fight is the last wave at once.
    game.skipCountdown();
    game.battle.setNextRound(-1);
    game.battle.restart(true, false);
    game.passes(2);
    ASSERT_EQ(game.battle.getState(), stateLastWave);
    game.tap(KEY_TAB);
    EXPECT_EQ(game.music.level(), 32);
    game.tap(KEY_TAB);
    EXPECT_EQ(game.music.level(), 128);

    game.stageFight();
    game.queueUnit(chaser, 150, 0);
    ASSERT_TRUE(game.passUntilState(stateLost));
    EXPECT_EQ(game.music.level(), 0);
    // Paused and resumed under the banner, the music stays away.
    game.tap(KEY_TAB);
    EXPECT_EQ(game.music.level(), 0);
    game.tap(KEY_TAB);
    EXPECT_EQ(game.music.level(), 0);
    const std::size_t piecesBefore = game.music.started.size();
    ASSERT_TRUE(game.passUntilState(stateFighting));
    EXPECT_EQ(game.music.started.size(), piecesBefore + 1)
        << "the round played again starts its piece";
    EXPECT_EQ(game.music.level(), 128);
}
