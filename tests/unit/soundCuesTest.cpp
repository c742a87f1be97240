#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "audio/musicScore.h"
#include "battle/musicCues.h"
#include "battle/soundCues.h"
#include "battleTestKit.h"
#include "population/loader.h"

namespace {

struct playedSound {
    int effect;
    int pan;
    bool operator==(const playedSound& other) const
    {
        return effect == other.effect && pan == other.pan;
    }
};

void PrintTo(const playedSound& sound, std::ostream* out)
{
    *out << "{effect " << sound.effect << ", pan " << sound.pan << "}";
}

class recordingPlayer : public samplePlayer {
public:
    void play(int effect, int pan) override { played.push_back({effect, pan}); }

    int count(int effect) const
    {
        return static_cast<int>(
            std::count_if(played.begin(), played.end(),
                          [&](const playedSound& s) { return s.effect == effect; }));
    }

    std::vector<playedSound> played;
};

class recordingMusic : public musicPlayer {
public:
    void startPiece(int piece) override { started.push_back(piece); }
    void setLevel(int level) override { levels.push_back(level); }
    int level() const { return levels.empty() ? -1 : levels.back(); }

    std::vector<int> started;
    std::vector<int> levels;
};

// A headless battle whose controller tells recording players what to play.
class listenedBattle : public headlessBattle {
public:
    listenedBattle() : cues(recorder, data), musicChoice(music, data)
    {
        battle.setSoundCues(&cues);
        battle.setMusicCues(&musicChoice);
    }

    unit* first(int type)
    {
        const std::vector<unit*> found = units()->search(units()->getUnits(), searchByType, type);
        return found.empty() ? nullptr : found.front();
    }

    // Ticking passes until a unit of the type is in the list; false if none comes.
    bool passUntilPresent(int type)
    {
        for (int tries = 0; tries < 40 && first(type) == nullptr; ++tries)
            pass(true);
        return first(type) != nullptr;
    }

    int panAt(const unit& member)
    {
        return fixtoi(member.getPosX()) * 255 / data.getArena()->getArenaSizeX();
    }

    // Ticking passes until the battle is in the state; false if it never is.
    bool passUntilState(int wanted)
    {
        for (int tries = 0; tries < 100 && battle.getState() != wanted; ++tries)
            pass(true);
        return battle.getState() == wanted;
    }

    // The fight begun, with nothing in it yet.
    void stageFight()
    {
        skipCountdown();
        units()->clearAll();
    }

    // A fighter, and what it is to meet a few steps later at the same place.
    void stageMeeting(int x, int otherType)
    {
        stageFight();
        queueUnit(poleon, x, 0);
        if (otherType >= 0)
            queueUnit(otherType, x, 3);
    }

    void queueUnit(int type, int x, int delay)
    {
        auto* request = new unitCreate();
        request->unitType = type;
        request->posX = itofix(x);
        request->posY = itofix(150);
        request->delay = delay;
        units()->addCreate(request);
    }

    recordingPlayer recorder;
    soundCues cues;
    recordingMusic music;
    musicCues musicChoice;
};

}  // namespace

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
