// Costs of one simulation step and one drawn frame, each also reported as a
// share of the frame budget of the 30 Hz game ("budget%").

#include <benchmark/benchmark.h>

#include <allegro.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "battle/battleMain.h"
#include "chaserCrowd.h"
#include "population/loader.h"
#include "population/unitList.h"
#include "scratchFolder.h"
#include "shell/dataObj.h"
#include "shell/main.h"

namespace {

constexpr double frameBudgetSeconds = 1.0 / 30;
constexpr unsigned int scenarioSeed = 1234;
// Steps of the round-2 scene before the measured one: bolts fly from the
// first on, orbiters and the blast are called on the tenth.
constexpr int roundTwoLeadSteps = 13;
constexpr int orbiterAndBlastStep = 10;
// Steps of a chaser crowd before the measured one: past its first aim, so
// the chasers are dashing.
constexpr int crowdLeadSteps = 16;

// A battle brought up without display or timer, its pictures loaded at the
// given colour depth, the way the game loads them for its screen.
class benchBattle {
public:
    benchBattle(int resolutionX, int resolutionY, int depth)
    {
        static const bool started = install_allegro(SYSTEM_NONE, &errno, atexit) == 0;
        set_color_depth(depth);
        data.getVideoSettings()->setResolution(resolutionX, resolutionY);
        const std::string picData = BROX_PICDATA;
        workingFolder withPictures(picData.substr(0, picData.rfind('/')));
        ready = started && withPictures.entered();
        if (ready) {
            battle.setDataObj(&data);
            ready = battle.init() == 0;
            ready = withPictures.leave() && ready;
        }
        frameInRound = 0;
        gamePaused = false;
        shouldPauseTimer = false;
    }

    unitList* units() { return battle.getBattleUnits(); }

    // One step with the mouse buttons and the keyboard as given.
    void step(int buttons, bool space)
    {
        mouse_b = buttons;
        key[KEY_SPACE] = space ? 1 : 0;
        stepBattle(battle, data);
    }

    bool ready = false;
    dataObj data;
    battleMain battle;
};

int countOfType(unitList* list, int type)
{
    return static_cast<int>(list->search(list->getUnits(), searchByType, type).size());
}

bool allAlive(unitList* list)
{
    for (const unit* member : list->getUnits())
        if (member->getHP() <= 0)
            return false;
    return true;
}

bool isArrival(const unit* member)
{
    const int type = member->getUnitType();
    return type == chaser || type == seeker || type == healOrb;
}

// Spreads the round's arrivals over a grid of the arena, clear of the
// fighter in the middle, so that no two touch: all at once on the border
// they would crowd and kill each other.
void spreadArrivals(benchBattle& scene)
{
    constexpr int spacing = 50;
    constexpr int clearRadius = 110;
    const arena* field = scene.data.getArena();
    const int width = field->getArenaSizeX();
    const int height = field->getArenaSizeY();
    std::vector<unit*> arrivals;
    for (unit* member : scene.units()->getUnits())
        if (isArrival(member))
            arrivals.push_back(member);
    std::size_t next = 0;
    for (int y = spacing / 2; y < height; y += spacing)
        for (int x = spacing / 2; x < width && next < arrivals.size(); x += spacing) {
            const int dx = x - width / 2;
            const int dy = y - height / 2;
            if (dx * dx + dy * dy >= clearRadius * clearRadius)
                arrivals[next++]->setPos(itofix(x), itofix(y));
        }
}

// Round 2 at its fullest: every scheduled unit has arrived and is alive, and
// the fighter has bolts in flight, three orbiters and a blast. The fighter
// fires first; then the rest of the schedule arrives at once.
bool stageRoundTwo(benchBattle& scene)
{
    std::srand(scenarioSeed);
    scene.battle.setNextRound(2);
    scene.battle.restart(true, false);
    unitList* list = scene.units();
    list->createUnits();
    unit* fighter = list->getUnits().front();
    fighter->setHP(fighter->getMaxHP());
    for (int step = 0; step < roundTwoLeadSteps; ++step) {
        // Right button and Space go down a step early: both act on release.
        const bool calling = step == orbiterAndBlastStep - 1;
        scene.step(calling ? 3 : 1, calling);
    }
    // Each step ended with one more call.
    for (int call = 1 + roundTwoLeadSteps; call <= scene.battle.getLatestTime(); ++call)
        list->createUnits();
    spreadArrivals(scene);
    return countOfType(list, poleon) == 1 && countOfType(list, chaser) == 51
           && countOfType(list, seeker) == 9 && countOfType(list, healOrb) == 3
           && countOfType(list, orbiter) == 3 && countOfType(list, blast) == 1
           && countOfType(list, bolt) >= 2 && allAlive(list);
}

// The fighter in the middle of a square arena with chasers strewn all over
// it, one per 64 x 64 pixels.
bool stageChaserCrowd(benchBattle& scene, int chasers)
{
    std::srand(scenarioSeed);
    int side = 64;
    while (side * side < chasers * 64 * 64)
        side *= 2;
    unitList* list = scene.units();
    requestChaserCrowd(*scene.data.getArena(), *list, side, chasers, false);
    list->createUnits();
    for (int step = 0; step < crowdLeadSteps; ++step)
        scene.step(0, false);
    return countOfType(list, chaser) > chasers * 9 / 10;
}

template <typename Stage> void measureStep(benchmark::State& state, Stage stage)
{
    benchBattle scene(640, 480, 32);
    if (!scene.ready) {
        state.SkipWithError("the battle did not start (picData.dat?)");
        return;
    }
    std::size_t population = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const bool staged = stage(scene);
        population = scene.units()->getUnits().size();
        state.ResumeTiming();
        if (!staged) {
            state.SkipWithError("the scene could not be staged");
            break;
        }
        scene.battle.applyInput();
    }
    state.counters["units"] = static_cast<double>(population);
}

void roundTwoStep(benchmark::State& state) { measureStep(state, stageRoundTwo); }

// The crowd is staged with the contact grid, which plays it out as the
// all-pairs test would; only the measured step uses the test asked for.
void measureCrowdStep(benchmark::State& state, bool gridUsed)
{
    const int chasers = static_cast<int>(state.range(0));
    measureStep(state, [chasers, gridUsed](benchBattle& scene) {
        scene.units()->setContactGridUsed(true);
        const bool staged = stageChaserCrowd(scene, chasers);
        scene.units()->setContactGridUsed(gridUsed);
        return staged;
    });
}

void chaserCrowdStep(benchmark::State& state) { measureCrowdStep(state, true); }

// The same step with every unit tested against every other, as before the grid.
void chaserCrowdStepAllPairs(benchmark::State& state) { measureCrowdStep(state, false); }

void roundTwoFrame(benchmark::State& state)
{
    benchBattle scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                      static_cast<int>(state.range(2)));
    if (!scene.ready || !stageRoundTwo(scene)) {
        state.SkipWithError("the round-2 scene could not be staged");
        return;
    }
    for (auto _ : state)
        scene.battle.draw(scene.battle.getBuffer(), scene.battle.getArenaBuffer());
    state.counters["units"] = static_cast<double>(scene.units()->getUnits().size());
}

}  // namespace

BENCHMARK(roundTwoStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(chaserCrowdStep)->Arg(256)->Arg(1024)->Arg(4096)->Unit(benchmark::kMicrosecond);
BENCHMARK(chaserCrowdStepAllPairs)->Arg(1024)->Arg(4096)->Unit(benchmark::kMicrosecond);
BENCHMARK(roundTwoFrame)
    ->ArgNames({"width", "height", "bits"})
    ->Args({640, 480, 24})
    ->Args({640, 480, 32})
    ->Args({800, 600, 24})
    ->Args({800, 600, 32})
    ->Args({1024, 768, 24})
    ->Args({1024, 768, 32})
    ->Unit(benchmark::kMicrosecond);

namespace {

// The console table with one more column: the CPU time of an iteration as a
// share of the frame budget, in per cent.
class budgetReporter : public benchmark::ConsoleReporter {
public:
    budgetReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        std::vector<Run> shared = runs;
        for (Run& run : shared) {
            if (run.error_occurred)
                continue;
            // A share varies as much as the time it is a share of.
            const bool variation = run.aggregate_unit == benchmark::kPercentage;
            const double seconds =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            run.counters["budget%"] =
                variation ? run.cpu_accumulated_time : seconds / frameBudgetSeconds * 100;
        }
        ConsoleReporter::ReportRuns(shared);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    budgetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
