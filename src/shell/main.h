#ifndef BROX_MAIN_H
#define BROX_MAIN_H

#include <atomic>

class battleMain;
class dataObj;

// Shared with the timer callback, which runs on its own thread.
extern std::atomic<int> frameTick;
extern std::atomic<int> frameInRound;
extern std::atomic<bool> gamePaused;
extern std::atomic<bool> shouldPauseTimer;
// Set by the window's callbacks, which run on the window thread.
extern std::atomic<bool> windowFocused;
extern std::atomic<bool> closeRequested;

// Simulation steps since the round was (re)started; main thread only.
extern int frameCount;

extern battleMain* bM;
extern dataObj* dO;

// The 30 Hz frame timer callback.
void incFrameTick();

// Creates the battle and the game data, reads the configuration, opens the
// graphics mode and initialises the battle. 0 on success.
int mainInitialize();

// allegro_init, tried again a moment later when the display refuses the
// first connection; false when the library cannot start.
bool startLibrary();

// The whole process after its entry point: start-up, main loop, exit code.
int runGame();

#endif
