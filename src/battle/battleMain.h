#ifndef BROX_BATTLEMAIN_H
#define BROX_BATTLEMAIN_H

#include <allegro.h>

#include <memory>

class dataObj;
class loader;
class musicCues;
class playerUnit;
class soundCues;
class unitList;

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
    // Told after every pass what happened, to play it; null for silence.
    void setSoundCues(soundCues* listener);
    // Told after every pass what happened, to choose the music; null for none.
    void setMusicCues(musicCues* listener);
    // 0 on success, -1 when the graphics datafile is missing or unusable.
    int init();
    // (Re)loads a round: the next one when advancing, else the current one.
    void restart(bool advance, bool withCountdown);
    // One pass of the main loop.
    void go();
    // One simulation step.
    void applyInput();
    BITMAP* getBuffer();

    void draw(BITMAP* target, BITMAP* arenaTarget);
    void drawBackground(BITMAP* target, BITMAP* arenaTarget);
    void drawUnits(BITMAP* arenaTarget);
    void drawCursor(BITMAP* target);
    void drawDisplay(BITMAP* target);
    void drawHPBar(BITMAP* target, float fraction, int colour);
    void drawTimerBar(BITMAP* target, int value);
    void drawStatus(BITMAP* target, playerUnit* player);

    int getState() const;
    int getStateTimer() const;
    int getRound() const;
    int getNextRound() const;
    void setNextRound(int value);
    int getLatestTime() const;
    unitList* getBattleUnits();
    BITMAP* getArenaBuffer();

private:
    bool loadDatafile();
    BITMAP* datafilePic(int index) const;
    void pickPictures();
    void runCountdown();
    void checkRoundEnd();
    void runBanner();
    void readPauseAndReset();
    // Pauses the fight while the window is in the background.
    void followWindowFocus();
    // The first player-side unit of the list, or null.
    playerUnit* findPlayer() const;
    void drawHelpTexts(BITMAP* target);
    void drawBanner(BITMAP* target);
    // The status icons' scaling canvas, made again only when its size changes.
    BITMAP* statusCanvas(int size);

    std::unique_ptr<unitList> battleUnits;
    BITMAP* buffer = nullptr;
    BITMAP* arenaBuffer = nullptr;
    BITMAP* wonPic = nullptr;
    BITMAP* lostPic = nullptr;
    BITMAP* roundPic = nullptr;
    BITMAP* timerIcon = nullptr;
    BITMAP* hpIcon = nullptr;
    BITMAP* invicIcon = nullptr;
    BITMAP* stunIcon = nullptr;
    BITMAP* hasteIcon = nullptr;
    BITMAP* slowIcon = nullptr;
    BITMAP* juiceBlockIcon = nullptr;
    BITMAP* juiceBoostIcon = nullptr;
    BITMAP* weakenIcon = nullptr;
    BITMAP* statusIconCanvas = nullptr;
    dataObj* data = nullptr;
    int state = stateCountdown;
    int stateTimer = 15;
    int latestTime = 0;
    int round = 0;
    int nextRound = 0;
    int passesUnfocused = 0;
    std::unique_ptr<loader> roundLoader;
    DATAFILE* datafile = nullptr;
    soundCues* cues = nullptr;
    musicCues* music = nullptr;
};

#endif
