#include "soundCues.h"

#include <algorithm>

#include "battleMain.h"
#include "population/loader.h"
#include "population/unitList.h"
#include "shell/dataObj.h"
#include "shell/main.h"

namespace {

// The ailments an enemy's hit leaves on the fighter; the others come from
// heal orbs.
constexpr int harmfulAilments[] = {ailmentJuiceBlock, ailmentWeaken, ailmentStun, ailmentSlow};

int spawnEffect(int type)
{
    switch (type) {
    case bolt:
        return soundBolt;
    case orbiter:
        return soundOrbiters;
    case blast:
        return soundBlast;
    default:
        return -1;
    }
}

bool isFightState(int state) { return state == stateFighting || state == stateLastWave; }

}  // namespace

soundCues::soundCues(samplePlayer& output, dataObj& gameData) : player(output), data(gameData) {}

void soundCues::listen(battleMain& battle)
{
    // A restarted round counts its steps and its unit ids from zero again, so
    // what was remembered no longer describes it.
    const bool restarted = frameCount < lastStep;
    if (restarted)
        traces.clear();
    lastStep = frameCount;
    hearUnits(battle.getBattleUnits()->getUnits());
    if (!restarted)
        hearState(battle.getState(), gamePaused);
    lastState = battle.getState();
    lastPaused = gamePaused;
    playCues();
}

soundCues::unitTrace soundCues::traceOf(const unit& member)
{
    unitTrace trace{member.getUnitID(), member.getUnitType(), member.getHP(), {}};
    for (int ailment = 0; ailment < statusAilmentCount; ++ailment)
        trace.ailments[ailment] = member.getStatusAilment(ailment);
    return trace;
}

const soundCues::unitTrace* soundCues::previousTrace(int id) const
{
    const auto found =
        std::lower_bound(traces.begin(), traces.end(), id,
                         [](const unitTrace& trace, int wanted) { return trace.id < wanted; });
    return found != traces.end() && found->id == id ? &*found : nullptr;
}

void soundCues::hearUnits(const std::vector<unit*>& units)
{
    std::vector<unitTrace> now;
    now.reserve(units.size());
    for (const unit* member : units) {
        now.push_back(traceOf(*member));
        const unitTrace& trace = now.back();
        const unitTrace* before = previousTrace(trace.id);
        const int pan = panOf(*member);
        if (before == nullptr || before->type != trace.type) {
            cue(spawnEffect(trace.type), pan);
        } else if (member->getAffiliation() == affiliationPlayer) {
            hearFighter(trace, *before, pan);
        } else if (member->getAffiliation() == affiliationEnemy && before->hp > 0
                   && trace.hp < before->hp) {
            cue(trace.hp > 0 ? soundEnemyHurt : soundEnemyDestroyed, pan);
        }
    }
    traces.swap(now);
}

// Taking damage sets the fighter's invincibility, and only heal orbs give
// juice boosts; a hit that does no damage leaves ailments alone.
void soundCues::hearFighter(const unitTrace& now, const unitTrace& before, int pan)
{
    const auto rose = [&](int ailment) { return now.ailments[ailment] > before.ailments[ailment]; };
    if (rose(ailmentJuiceBoost))
        cue(soundHealTaken, pan);
    else if (rose(ailmentInvincible))
        cue(soundFighterHurt, pan);
    else if (std::any_of(std::begin(harmfulAilments), std::end(harmfulAilments), rose))
        cue(soundAilment, pan);
}

void soundCues::hearState(int state, bool paused)
{
    if (state != lastState) {
        if (state == stateCountdown)
            cue(soundRoundTitle, centrePan);
        else if (state == stateWon)
            cue(soundRoundWon, centrePan);
        else if (state == stateLost)
            cue(soundRoundLost, centrePan);
    } else if (paused != lastPaused && isFightState(state)) {
        cue(paused ? soundPause : soundResume, centrePan);
    }
}

void soundCues::cue(int effect, int pan)
{
    if (effect < 0)
        return;
    panSum[effect] += pan;
    heard[effect] += 1;
}

// Several of one effect in a pass play once, from where they were on average.
void soundCues::playCues()
{
    const bool muted = data.getInputObj()->isSoundMuted();
    for (int effect = 0; effect < soundEffectCount; ++effect) {
        if (heard[effect] > 0 && !muted)
            player.play(effect, panSum[effect] / heard[effect]);
        panSum[effect] = 0;
        heard[effect] = 0;
    }
}

int soundCues::panOf(const unit& member) const
{
    const int width = data.getArena()->getArenaSizeX();
    if (width <= 0)
        return centrePan;
    return std::clamp(fixtoi(member.getPosX()) * 255 / width, 0, 255);
}
