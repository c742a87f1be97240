#ifndef BROX_SCRIPTED_PLAYER_H
#define BROX_SCRIPTED_PLAYER_H

#include <allegro.h>

#include "battleTestKit.h"

// A player at the controls of a headless battle, and the harness around it.
// Each pass asks the player the same things in the same order, so that a
// seeded player plays the same game on every run.
class scriptedPlayer {
public:
    virtual ~scriptedPlayer() = default;

    // Sets the keys and the mouse for the pass.
    virtual void act(headlessBattle& game, long pass) = 0;
    // What the harness does to the battle before the pass: keeping the
    // fighter alive, or leaving it to lose.
    virtual void guard(unitList& units, long pass) = 0;
    // The timer ticks the pass answers for.
    virtual int ticks(long pass) = 0;
};

// What one pass did.
struct playedPass {
    int stateBefore = 0;
    bool pausedBefore = false;
    int state = 0;
    // Whether the pass ran a simulation step, and how many have run so far.
    bool stepped = false;
    long steps = 0;

    bool won() const { return state == stateWon && stateBefore != stateWon; }
    bool lost() const { return state == stateLost && stateBefore != stateLost; }
};

// Plays pass by pass until `steps` simulation steps have run, telling
// `seen` after each pass what it did; then lets go of every control.
template <typename Seen>
void playSteps(headlessBattle& game, scriptedPlayer& player, long steps, Seen seen)
{
    playedPass played;
    for (long pass = 0; played.steps < steps; ++pass) {
        played.stateBefore = game.battle.getState();
        played.pausedBefore = gamePaused;
        const int countBefore = frameCount;
        player.act(game, pass);
        player.guard(*game.units(), pass);
        for (int tick = player.ticks(pass); tick > 0; --tick)
            incFrameTick();
        game.battle.go();
        played.state = game.battle.getState();
        // A step shows as the step counter rising by one, or falling to 1
        // when the pass started a round over; steps that F10 undoes on the
        // same pass go uncounted.
        played.stepped = frameCount == countBefore + 1 || (frameCount == 1 && countBefore > 1);
        played.steps += played.stepped ? 1 : 0;
        seen(played);
    }
    for (int code = 0; code < KEY_MAX; ++code)
        key[code] = 0;
    mouse_b = 0;
}

#endif
