#ifndef BROX_RECORDING_PLAYERS_H
#define BROX_RECORDING_PLAYERS_H

#include <algorithm>
#include <ostream>
#include <set>
#include <vector>

#include "audio/musicPlayer.h"
#include "audio/samplePlayer.h"

// Players that only write down, in order, what the cues ask of them.

struct playedSound {
    int effect;
    int pan;
    bool operator==(const playedSound& other) const
    {
        return effect == other.effect && pan == other.pan;
    }
};

inline void PrintTo(const playedSound& sound, std::ostream* out)
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

    // Every effect played at least once.
    std::set<int> effects() const
    {
        std::set<int> heard;
        for (const playedSound& sound : played)
            heard.insert(sound.effect);
        return heard;
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

#endif
