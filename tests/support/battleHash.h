#ifndef BROX_BATTLE_HASH_H
#define BROX_BATTLE_HASH_H

// The battle's state as text and its hash, as the whole-game replay records
// them; any test that must tell whether two games played out alike uses it.

#include <allegro.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "battleTestKit.h"

// The battle at one step: the controller and its counters on one line, then
// one line per unit in list order with every field the unit describes.
struct battleSnapshot {
    std::string controller;
    std::vector<std::vector<stateField>> units;
};

inline battleSnapshot stateOf(headlessBattle& game)
{
    std::ostringstream line;
    battleMain& battle = game.battle;
    line << "battle state=" << battle.getState() << " stateTimer=" << battle.getStateTimer()
         << " round=" << battle.getRound() << " nextRound=" << battle.getNextRound()
         << " latestTime=" << battle.getLatestTime() << " frameCount=" << frameCount
         << " frameInRound=" << frameInRound << " frameTick=" << frameTick
         << " paused=" << gamePaused << " clockStopped=" << shouldPauseTimer
         << " units=" << game.units()->getUnits().size();
    battleSnapshot state{line.str(), {}};
    for (const unit* member : game.units()->getUnits()) {
        state.units.emplace_back();
        member->describeState(state.units.back());
    }
    return state;
}

inline std::string unitLine(const std::vector<stateField>& fields)
{
    std::string line = "unit";
    for (const stateField& field : fields)
        line += std::string(" ") + field.name + "=" + std::to_string(field.value);
    return line;
}

// 64-bit FNV-1a: the same on every compiler and build.
inline std::uint64_t hashOf(const std::string& text, std::uint64_t hash = 14695981039346656037ull)
{
    for (unsigned char byte : text) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return hash;
}

inline std::string hex(std::uint64_t value, int digits)
{
    char text[17];
    std::snprintf(text, sizeof text, "%0*llx", digits, static_cast<unsigned long long>(value));
    return text;
}

inline int field(const std::vector<stateField>& fields, const std::string& name)
{
    for (const stateField& each : fields)
        if (name == each.name)
            return each.value;
    return 0;
}

// What the record keeps of a unit: who it is, where, how it fares, and the
// hash of its whole line, which tells whether anything else changed.
inline std::string unitSummary(const std::vector<stateField>& fields)
{
    std::ostringstream text;
    text << "unit id=" << field(fields, "id") << " type=" << field(fields, "type")
         << " x=" << fixtoi(field(fields, "x")) << " y=" << fixtoi(field(fields, "y"))
         << " hp=" << field(fields, "hp") << " activity=" << field(fields, "activity")
         << " hash=" << hex(hashOf(unitLine(fields)) & 0xffffffffu, 8);
    return text.str();
}

// One checkpoint as the record file holds it: "step <n> hash <h>", the
// controller line, then one summary line per unit.
struct checkpoint {
    long step = 0;
    std::string hash;
    std::vector<std::string> lines;
    std::vector<std::string> fullUnits;  // every field of every unit; not recorded
};

inline std::vector<std::string> unitLinesOf(const battleSnapshot& state)
{
    std::vector<std::string> lines;
    for (const std::vector<stateField>& fields : state.units)
        lines.push_back(unitLine(fields));
    return lines;
}

// The hash of the whole battle: the controller line, then every unit's line.
inline std::string battleHash(const std::string& controller,
                              const std::vector<std::string>& unitLines)
{
    std::uint64_t hash = hashOf(controller);
    for (const std::string& line : unitLines)
        hash = hashOf(line, hash);
    return hex(hash, 16);
}

inline checkpoint checkpointOf(long step, const battleSnapshot& state)
{
    checkpoint taken{step, "", {state.controller}, unitLinesOf(state)};
    for (const std::vector<stateField>& fields : state.units)
        taken.lines.push_back(unitSummary(fields));
    taken.hash = battleHash(state.controller, taken.fullUnits);
    return taken;
}

#endif
