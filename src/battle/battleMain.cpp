#include "battleMain.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "musicCues.h"
#include "population/loader.h"
#include "population/unitList.h"
#include "shell/dataObj.h"
#include "shell/datafileInspector.h"
#include "shell/main.h"
#include "shell/picData.h"
#include "soundCues.h"
#include "units/playerUnit.h"

namespace {

constexpr int countdownPasses = 15;
constexpr int wonBannerPasses = 150;
constexpr int lostBannerPasses = 30;
// Steps at the start of a round before it can be won or lost.
constexpr int roundGraceSteps = 30;

constexpr int arenaFloorGrey = 64;
constexpr int hudGrey = 128;
constexpr int helpLineHeight = 12;
constexpr const char* pausedLine = "paused: Tab resumes";
constexpr const char* mutedLine = "muted: M unmutes";
// X moves the focus in bursts of out and in events a few milliseconds apart
// (a window given the focus under the pointer gets both); only a loss that
// lasts this many passes is one.
constexpr int focusLossPasses = 3;

int grey(int level) { return makecol(level, level, level); }

}  // namespace

battleMain::battleMain() : roundLoader(std::make_unique<loader>()) {}

battleMain::~battleMain()
{
    if (statusIconCanvas != nullptr)
        destroy_bitmap(statusIconCanvas);
    if (arenaBuffer != nullptr)
        destroy_bitmap(arenaBuffer);
    if (buffer != nullptr)
        destroy_bitmap(buffer);
}

void battleMain::setDataObj(dataObj* newData) { data = newData; }
void battleMain::setSoundCues(soundCues* listener) { cues = listener; }
void battleMain::setMusicCues(musicCues* listener) { music = listener; }
BITMAP* battleMain::getBuffer() { return buffer; }
int battleMain::getState() const { return state; }
int battleMain::getStateTimer() const { return stateTimer; }
int battleMain::getRound() const { return round; }
int battleMain::getNextRound() const { return nextRound; }
void battleMain::setNextRound(int value) { nextRound = value; }
int battleMain::getLatestTime() const { return latestTime; }
unitList* battleMain::getBattleUnits() { return battleUnits.get(); }
BITMAP* battleMain::getArenaBuffer() { return arenaBuffer; }

BITMAP* battleMain::datafilePic(int index) const
{
    return static_cast<BITMAP*>(datafile[index].dat);
}

bool battleMain::loadDatafile()
{
    // Allegro's loader crashes on a damaged file, so the file is checked
    // before it is loaded, and what was loaded is checked again.
    const bool found = datafileInspector::isFound(datafileName);
    std::string problem = found ? datafileInspector::fileProblem(datafileName) : "";
    if (found && problem.empty()) {
        datafile = data->setDatafile(datafileName);
        problem = datafileInspector::loadedProblem(datafile);
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (!found) {
        std::printf("Graphics datafile not found. Now exiting.\n");
        return false;
    }
    if (!problem.empty()) {
        std::printf("Graphics datafile %s is unusable: %s. Now exiting.\n", datafileName,
                    problem.c_str());
        data->releaseDatafile();
        datafile = nullptr;
        return false;
    }
    return true;
}

void battleMain::pickPictures()
{
    wonPic = datafilePic(picData::wonBanner);
    lostPic = datafilePic(picData::lostBanner);
    hpIcon = datafilePic(picData::hpIcon);
    timerIcon = datafilePic(picData::timerIcon);
    invicIcon = datafilePic(picData::invincibleIcon);
    stunIcon = datafilePic(picData::stunIcon);
    hasteIcon = datafilePic(picData::hasteIcon);
    slowIcon = datafilePic(picData::slowIcon);
    juiceBlockIcon = datafilePic(picData::juiceBlockIcon);
    juiceBoostIcon = datafilePic(picData::juiceBoostIcon);
    weakenIcon = datafilePic(picData::weakenIcon);
}

int battleMain::init()
{
    if (!loadDatafile())
        return -1;
    set_palette(desktop_palette);
    videoSettings* video = data->getVideoSettings();
    // Drawn at the configured size whatever the screen's; the main loop
    // scales it onto the screen.
    buffer = create_bitmap(video->getResolutionX(), video->getResolutionY());
    // Headless (tests, tools) the caller supplies the ticks.
    if (screen != nullptr)
        install_int_ex(incFrameTick, BPS_TO_TIMER(30));
    pickPictures();
    battleUnits = std::make_unique<unitList>();
    battleUnits->setLoader(roundLoader.get());
    roundLoader->init(battleUnits.get(), datafile);
    restart(true, true);
    arena* field = data->getArena();
    video->setObjectPositions(field->getArenaSizeX(), field->getArenaSizeY());
    data->getInputObj()->getCursor()->setCursorPic(datafilePic(picData::cursorPic));
    return 0;
}

void battleMain::restart(bool advance, bool withCountdown)
{
    frameCount = 0;
    frameInRound = 0;
    gamePaused = false;
    shouldPauseTimer = false;
    roundLoader->loadRound(round, nextRound, battleUnits.get(), roundPic, data, datafile, advance);
    if (arenaBuffer != nullptr)
        destroy_bitmap(arenaBuffer);
    arena* field = data->getArena();
    arenaBuffer = create_bitmap(field->getArenaSizeX(), field->getArenaSizeY());
    latestTime = battleUnits->latestTime();
    state = withCountdown ? stateCountdown : stateFighting;
    stateTimer = countdownPasses;
}

void battleMain::go()
{
    int resolutionX = 0;
    int resolutionY = 0;
    data->getVideoSettings()->getResolution(resolutionX, resolutionY);
    runCountdown();
    if (state == stateFighting && latestTime < frameCount)
        state = stateLastWave;
    checkRoundEnd();
    runBanner();
    if (frameTick > 0)
        draw(buffer, arenaBuffer);
    battleUnits->cullUnits();
    data->getInputObj()->processInput(resolutionX, resolutionY, frameTick > 0);
    // After the poll: a key that Allegro let go of when the focus left is
    // then forgotten before anything acts on its release.
    followWindowFocus();
    // The ticks this pass answers for; one that arrives later in the pass is
    // kept for the next pass instead of being lost with the reset.
    const int ticksSeen = frameTick;
    if (ticksSeen > 0 && !gamePaused) {
        applyInput();
        frameCount += 1;
    }
    battleUnits->cullUnits();
    readPauseAndReset();
    frameTick -= ticksSeen;
    if (cues != nullptr)
        cues->listen(*this);
    if (music != nullptr)
        music->listen(*this);
}

void battleMain::runCountdown()
{
    if (state != stateCountdown)
        return;
    gamePaused = true;
    shouldPauseTimer = true;
    stateTimer -= 1;
    if (stateTimer < 0) {
        state = stateFighting;
        gamePaused = false;
        shouldPauseTimer = false;
    }
}

void battleMain::checkRoundEnd()
{
    if ((state != stateFighting && state != stateLastWave) || frameCount <= roundGraceSteps)
        return;
    // Loss is tested first: both sides gone on one pass is a lost round.
    if (!battleUnits->anyRemainingAffiliation(affiliationPlayer)) {
        state = stateLost;
        stateTimer = lostBannerPasses;
        shouldPauseTimer = true;
    } else if (!battleUnits->anyRemainingAffiliation(affiliationEnemy)) {
        state = stateWon;
        stateTimer = wonBannerPasses;
        shouldPauseTimer = true;
    }
}

void battleMain::runBanner()
{
    if (state != stateWon && state != stateLost)
        return;
    if (!gamePaused)
        stateTimer -= 1;
    if (stateTimer >= 0)
        return;
    if (state == stateWon) {
        round = nextRound;
        restart(true, true);
    } else {
        restart(false, false);
    }
}

void battleMain::followWindowFocus()
{
    if (windowFocused) {
        passesUnfocused = 0;
        return;
    }
    passesUnfocused += 1;
    // An unfocused game reads no keys, even where the system still hands
    // it some: nothing pressed now acts, now or when it is let go.
    data->getInputObj()->forgetHeldInput();
    // The fight never runs unseen; the countdown and the banners run their
    // course, and the fight that follows them starts paused.
    const bool fighting = state == stateFighting || state == stateLastWave;
    if (passesUnfocused >= focusLossPasses && fighting && !gamePaused) {
        gamePaused = true;
        shouldPauseTimer = true;
    }
}

void battleMain::readPauseAndReset()
{
    const std::vector<bool>& clicked = *data->getInputObj()->getKeyWasClicked();
    if (clicked[keyPause]) {
        gamePaused = !gamePaused;
        shouldPauseTimer = gamePaused.load();
    }
    if (clicked[keyMenu])
        restart(false, false);
}

void battleMain::applyInput() { battleUnits->stepUnits(data); }

void battleMain::draw(BITMAP* target, BITMAP* arenaTarget)
{
    drawBackground(target, arenaTarget);
    drawUnits(arenaTarget);
    const videoSettings* video = data->getVideoSettings();
    arena* field = data->getArena();
    const fixed scale = video->getArenaScale();
    stretch_blit(arenaTarget, target, 0, 0, field->getArenaSizeX(), field->getArenaSizeY(),
                 video->getArenaPosX(), video->getArenaPosY(),
                 fixtoi(field->getArenaSizeX() * scale), fixtoi(field->getArenaSizeY() * scale));
    drawCursor(target);
    drawDisplay(target);
}

void battleMain::drawBackground(BITMAP* target, BITMAP* arenaTarget)
{
    int r = 0;
    int g = 0;
    int b = 0;
    data->getVideoSettings()->getBackgroundColor(r, g, b);
    clear_to_color(target, makecol(r, g, b));
    clear_to_color(arenaTarget, grey(arenaFloorGrey));
    arena* field = data->getArena();
    if (field->getArenaPic() != nullptr)
        stretch_sprite(arenaTarget, field->getArenaPic(), 0, 0, field->getArenaSizeX(),
                       field->getArenaSizeY());
}

void battleMain::drawUnits(BITMAP* arenaTarget)
{
    for (unit* member : battleUnits->getUnits())
        member->draw(arenaTarget, gamePaused);
}

void battleMain::drawCursor(BITMAP* target)
{
    cursor* mouseCursor = data->getInputObj()->getCursor();
    int x = 0;
    int y = 0;
    mouseCursor->getCursorShouldBe(x, y);
    mouseCursor->setCursor(x, y);
    BITMAP* pic = mouseCursor->getCursorPic();
    if (pic != nullptr)
        draw_sprite(target, pic, x - pic->w / 2, y - pic->h / 2);
}

playerUnit* battleMain::findPlayer() const
{
    const std::vector<unit*> players =
        battleUnits->search(battleUnits->getUnits(), searchByAffiliation, affiliationPlayer);
    return players.empty() ? nullptr : dynamic_cast<playerUnit*>(players.front());
}

void battleMain::drawDisplay(BITMAP* target)
{
    playerUnit* player = findPlayer();
    float fraction = 0;
    if (player != nullptr && player->getMaxHP() != 0)
        fraction = static_cast<float>(static_cast<double>(player->getHP()) / player->getMaxHP());
    if (fraction < 0)
        fraction = 0;
    if (fraction > 1)
        fraction = 1;
    drawHPBar(target, fraction, player != nullptr ? player->getHPBarColor() : 0);
    drawTimerBar(target, frameInRound);
    if (player != nullptr)
        drawStatus(target, player);
    drawHelpTexts(target);
    drawBanner(target);
}

void battleMain::drawHelpTexts(BITMAP* target)
{
    const int top = (data->getVideoSettings()->getResolutionY() / 20) * 17 + 30;
    const char* const texts[] = {"tab pause", "F10 reset", "ESC exit"};
    for (int line = 0; line < 3; ++line)
        textprintf_ex(target, font, 0, top + line * helpLineHeight, grey(hudGrey), -1, "%s",
                      texts[line]);
}

void battleMain::drawBanner(BITMAP* target)
{
    BITMAP* banner = nullptr;
    if (state == stateCountdown)
        banner = roundPic;
    else if (state == stateWon)
        banner = wonPic;
    else if (state == stateLost)
        banner = lostPic;
    if (banner == nullptr)
        return;
    const videoSettings* video = data->getVideoSettings();
    draw_sprite(target, banner, (video->getResolutionX() - banner->w) / 2,
                (video->getResolutionY() - banner->h) / 2);
}

void battleMain::drawHPBar(BITMAP* target, float fraction, int colour)
{
    const videoSettings* video = data->getVideoSettings();
    const int x = video->getHPBarStartX();
    const int y = video->getHPBarStartY();
    const int width = video->getHPBarSizeX();
    const int height = video->getHPBarSizeY();
    rectfill(target, x, y, x + width, y + height, makecol(0, 0, 0));
    rectfill(target, x, y, x + static_cast<int>(width * fraction), y + height, colour);
    rect(target, x, y, x + width, y + height, grey(hudGrey));
    stretch_sprite(target, hpIcon, x - height, y, height, height);
}

void battleMain::drawTimerBar(BITMAP* target, int value)
{
    const videoSettings* video = data->getVideoSettings();
    const int arenaHeight = fixtoi(data->getArena()->getArenaSizeY() * video->getArenaScale());
    const int halfBar = static_cast<int>(video->getHPBarSizeY() * 0.5);
    const int y = video->getArenaPosY() + arenaHeight + halfBar;
    stretch_sprite(target, timerIcon, video->getHPBarStartX() - video->getHPBarSizeY(), y, halfBar,
                   halfBar);
    const int x = video->getHPBarStartX() + 10;
    textprintf_ex(target, font, x, y, grey(hudGrey), -1, "%d", value);
    // The countdown pauses too, but shows its own banner.
    const int pausedX = x + text_length(font, "0000000000");
    if (gamePaused && state != stateCountdown)
        textprintf_ex(target, font, pausedX, y, grey(hudGrey), -1, "%s", pausedLine);
    // Kept clear of the paused line, so that neither moves when the other shows.
    if (data->getInputObj()->isSoundMuted())
        textprintf_ex(target, font,
                      pausedX + text_length(font, pausedLine) + text_length(font, "  "), y,
                      grey(hudGrey), -1, "%s", mutedLine);
}

void battleMain::drawStatus(BITMAP* target, playerUnit* player)
{
    struct statusSlot {
        int ailment;
        BITMAP* icon;
        bool rightColumn;
        int row;
    };
    const statusSlot slots[] = {
        {ailmentInvincible, invicIcon, true, 0},       {ailmentHaste, hasteIcon, true, 2},
        {ailmentJuiceBoost, juiceBoostIcon, true, 1},  {ailmentStun, stunIcon, false, 0},
        {ailmentJuiceBlock, juiceBlockIcon, false, 1}, {ailmentSlow, slowIcon, false, 2},
        {ailmentWeaken, weakenIcon, false, 3}};
    const videoSettings* video = data->getVideoSettings();
    const int resolutionY = video->getResolutionY();
    const int size = resolutionY / 8;
    const int arenaWidth = fixtoi(data->getArena()->getArenaSizeX() * video->getArenaScale());
    BITMAP* scratch = statusCanvas(size);
    set_trans_blender(255, 255, 255, 255);
    for (const statusSlot& slot : slots) {
        const int timeLeft = player->getStatusAilment(slot.ailment);
        if (timeLeft <= 0)
            continue;
        clear_bitmap(scratch);
        stretch_blit(slot.icon, scratch, 0, 0, slot.icon->w, slot.icon->h, 0, 0, size, size);
        const int biggest = player->getBiggestStatusTime(slot.ailment);
        // A time raised without its biggest time must not overflow the light.
        const int light = biggest > 0 ? std::min(timeLeft * 255 / biggest, 255) : 0;
        const int x =
            slot.rightColumn ? video->getArenaPosX() + arenaWidth : video->getArenaPosX() - size;
        const int y = video->getArenaPosY() + (resolutionY * slot.row) / 8;
        draw_lit_sprite(target, scratch, x, y, light);
    }
}

BITMAP* battleMain::statusCanvas(int size)
{
    if (statusIconCanvas != nullptr && statusIconCanvas->w != size) {
        destroy_bitmap(statusIconCanvas);
        statusIconCanvas = nullptr;
    }
    if (statusIconCanvas == nullptr)
        statusIconCanvas = create_bitmap(size, size);
    return statusIconCanvas;
}
