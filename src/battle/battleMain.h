#ifndef BROX_BATTLEMAIN_H
#define BROX_BATTLEMAIN_H

#include <allegro.h>

class dataObj;

// Battle states, the values of battleMain's state.
enum battleState {
    stateCountdown = 0,
    stateFighting = 1,
    stateLastWave = 2,
    stateWon = 3,
    stateLost = 4
};

// The one object that runs the battle: paces it, polls input, runs the
// round's state machine, draws frames and steps the simulation.
class battleMain {
public:
    // The graphics datafile, read from the working directory.
    static constexpr const char* datafileName = "picData.dat";

    battleMain();
    ~battleMain();
    battleMain(const battleMain&) = delete;
    battleMain& operator=(const battleMain&) = delete;

    void setDataObj(dataObj* newData);
    // 0 on success, -1 when the graphics datafile is missing or unusable.
    int init();
    // One pass of the main loop.
    void go();
    BITMAP* getBuffer();

    void draw(BITMAP* target, BITMAP* arenaTarget);
    void drawBackground(BITMAP* target, BITMAP* arenaTarget);
    void drawCursor(BITMAP* target);

private:
    bool loadDatafile();
    BITMAP* datafilePic(int index) const;

    BITMAP* buffer = nullptr;
    BITMAP* arenaBuffer = nullptr;
    dataObj* data = nullptr;
    int state = stateCountdown;
    int stateTimer = 15;
    DATAFILE* datafile = nullptr;
};

#endif
