#include <gtest/gtest.h>

#include <allegro.h>

#include <malloc.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime; GCC ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

#include "battleTestKit.h"

namespace {

// Heap bytes in use: the sanitizer's count where it owns the heap, else
// glibc's.
std::size_t liveHeapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// BROX_SOAK_STEPS sets the length of the run; CI's default is short.
long soakSteps()
{
    const char* setting = std::getenv("BROX_SOAK_STEPS");
    const long steps = setting != nullptr ? std::atol(setting) : 0;
    return steps > 0 ? steps : 10000;
}

constexpr unsigned soakSeed = 7;
// No round holds more than the 64 units of round 2, the fighter's marker,
// three orbiters, a blast and a few bolts.
constexpr std::size_t populationBound = 100;
// What a round's start may hold above the same round's earlier starts:
// vector capacities and the like, far below one leaked unit per round.
constexpr std::size_t heapSlackBytes = 16 * 1024;

// A player who mashes the controls: movement keys and the fire button held
// for random stretches, the other controls clicked now and then, the mouse
// anywhere, even off the screen. The timer now and then ticks late or not
// at all.
class randomPlayer {
public:
    explicit randomPlayer(unsigned seed) : random(seed) {}

    void act(int width, int height)
    {
        for (int code : {KEY_W, KEY_A, KEY_S, KEY_D})
            key[code] = held(key[code] != 0, 12);
        key[KEY_SPACE] = clicked(key[KEY_SPACE] != 0, 80);
        key[KEY_TAB] = clicked(key[KEY_TAB] != 0, 1500);
        key[KEY_F10] = clicked(key[KEY_F10] != 0, 4000);
        const bool fire = held((mouse_b & 1) != 0, 25);
        const bool call = clicked((mouse_b & 2) != 0, 50);
        mouse_b = (fire ? 1 : 0) | (call ? 2 : 0);
        mouse_x = within(-40, width + 40);
        mouse_y = within(-40, height + 40);
    }

    int ticks()
    {
        if (chance(20))
            return 0;
        return chance(20) ? 2 : 1;
    }

    // Whether the harness guards the fighter on this pass. Aiming needs
    // mouse movement, which a headless Allegro cannot report, so the
    // fighter only ever fires upward and would lose every round on its own:
    // in long guarded stretches its hit points are kept full, so that it
    // survives, can pay for blasts and wins; in short stretches between
    // them it is left alone and loses.
    bool guarding()
    {
        if (--stretchLeft <= 0) {
            guarded = !guarded;
            stretchLeft = guarded ? within(1000, 3000) : within(100, 600);
        }
        return guarded;
    }

private:
    // Held for a stretch, then let go for a stretch.
    bool held(bool down, int oneIn) { return chance(oneIn) ? !down : down; }

    // Down for one pass, then up again.
    bool clicked(bool down, int oneIn) { return !down && chance(oneIn); }

    bool chance(int oneIn) { return within(1, oneIn) == 1; }

    int within(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    std::mt19937 random;
    bool guarded = false;
    int stretchLeft = 0;
};

struct soakRecord {
    long steps = 0;
    int wins = 0;
    int losses = 0;
    std::set<int> roundsWon;
    std::size_t largestPopulation = 0;
    // Heap in use just after each start of a round, by round.
    std::map<int, std::vector<std::size_t>> heapAtRoundStart;
};

void healFighter(unitList& units)
{
    for (unit* member : units.search(units.getUnits(), searchByAffiliation, affiliationPlayer))
        member->setHP(member->getMaxHP());
}

bool isBanner(int state)
{
    return state == stateWon || state == stateLost;
}

// Plays pass by pass until the given number of simulation steps has run.
// A step shows as frameCount rising by one, or falling to 1 when the pass
// started a round over; steps that F10 undoes on the same pass go uncounted.
soakRecord soak(headlessBattle& game, randomPlayer& player, long steps)
{
    soakRecord record;
    int width = 0;
    int height = 0;
    game.data.getVideoSettings()->getResolution(width, height);
    while (record.steps < steps) {
        const int stateBefore = game.battle.getState();
        const int countBefore = frameCount;
        player.act(width, height);
        if (player.guarding())
            healFighter(*game.units());
        frameTick = player.ticks();
        game.battle.go();
        if (frameCount == countBefore + 1 || (frameCount == 1 && countBefore > 1))
            ++record.steps;
        const int state = game.battle.getState();
        if (state == stateWon && stateBefore != stateWon) {
            ++record.wins;
            record.roundsWon.insert(game.battle.getRound());
        }
        if (state == stateLost && stateBefore != stateLost)
            ++record.losses;
        if (isBanner(stateBefore) && !isBanner(state))
            record.heapAtRoundStart[game.battle.getRound()].push_back(liveHeapBytes());
        record.largestPopulation =
            std::max(record.largestPopulation, game.units()->getUnits().size());
    }
    return record;
}

// The largest rise of a round's starting heap over its second start; the
// first start of each round still grows containers to their working size.
std::size_t heapGrowth(const soakRecord& record)
{
    std::size_t growth = 0;
    for (const auto& [round, samples] : record.heapAtRoundStart)
        for (std::size_t i = 2; i < samples.size(); ++i)
            if (samples[i] > samples[1])
                growth = std::max(growth, samples[i] - samples[1]);
    return growth;
}

} // namespace

// The whole game played for thousands of steps by a random, seeded player:
// rounds are won and lost, the cycle comes round again, the population
// stays bounded and the heap does not grow; once the battle is gone, the
// heap is back where it was. Under AddressSanitizer, tools/soak.sh runs it
// for 100,000 steps and more.
TEST(SoakTest, RandomPlayKeepsTheGameTurningWithinBoundedMemory)
{
    ensureHeadlessAllegro(32);
    const long steps = soakSteps();
    {
        // The first battle of a process sets up what stays for good.
        headlessBattle warmUp;
        warmUp.passes(100);
    }
    const std::size_t heapBefore = liveHeapBytes();
    long stepsRun = 0;
    int wins = 0;
    int losses = 0;
    std::size_t roundsWon = 0;
    std::size_t largestPopulation = 0;
    std::size_t growth = 0;
    {
        headlessBattle game;
        ASSERT_EQ(game.initResult, 0);
        // The first round again, from a seeded generator: the same run
        // every time.
        std::srand(soakSeed);
        game.battle.restart(false, true);
        randomPlayer player(soakSeed);
        const soakRecord record = soak(game, player, steps);
        stepsRun = record.steps;
        wins = record.wins;
        losses = record.losses;
        roundsWon = record.roundsWon.size();
        largestPopulation = record.largestPopulation;
        growth = heapGrowth(record);
        std::printf("soak: %ld steps, %d rounds won, %d lost; rounds won:", stepsRun, wins, losses);
        for (int round : record.roundsWon)
            std::printf(" %d", round);
        std::printf("; largest population %zu; heap growth %zu bytes\n", largestPopulation, growth);
    }
    for (int code : {KEY_W, KEY_A, KEY_S, KEY_D, KEY_SPACE, KEY_TAB, KEY_F10})
        key[code] = 0;
    mouse_b = 0;

    EXPECT_GE(stepsRun, steps);
    EXPECT_GT(losses, 0);
    // Rounds 0, 1, 2 and the end round: the cycle has come round.
    EXPECT_EQ(roundsWon, 4u);
    EXPECT_LE(largestPopulation, populationBound);
    EXPECT_LE(growth, heapSlackBytes);
    EXPECT_LE(liveHeapBytes(), heapBefore + heapSlackBytes);
}
