#include "main.h"

#include <allegro.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "audio/musicDevice.h"
#include "audio/soundDevice.h"
#include "battle/battleMain.h"
#include "battle/musicCues.h"
#include "battle/soundCues.h"
#include "dataObj.h"
#include "windowIdentity.h"

std::atomic<int> frameTick{0};
std::atomic<int> frameInRound{0};
std::atomic<bool> gamePaused{false};
std::atomic<bool> shouldPauseTimer{false};
std::atomic<bool> windowFocused{true};
std::atomic<bool> closeRequested{false};
int frameCount = 0;
battleMain* bM = nullptr;
dataObj* dO = nullptr;

void incFrameTick()
{
    frameTick += 1;
    if (!shouldPauseTimer)
        frameInRound += 1;
}
END_OF_FUNCTION(incFrameTick)

namespace {

soundDevice* sound = nullptr;
soundCues* cues = nullptr;
musicDevice* music = nullptr;
musicCues* musicChoice = nullptr;

void onCloseButton() { closeRequested = true; }
void onSwitchIn() { windowFocused = true; }
void onSwitchOut() { windowFocused = false; }

// In a window the game keeps running in the background; the battle pauses
// itself when the focus leaves, so the switch callbacks only report it.
void followWindowManager()
{
    set_close_button_callback(onCloseButton);
    if (set_display_switch_mode(SWITCH_BACKGROUND) == 0) {
        set_display_switch_callback(SWITCH_IN, onSwitchIn);
        set_display_switch_callback(SWITCH_OUT, onSwitchOut);
    }
}

// When only the safe mode opens, the game lays itself out for the screen it
// got: a layout for the configured size would put the HUD off screen.
bool openGraphicsMode(videoSettings& video)
{
    set_color_depth(video.getColorDepth());
    const int driver = video.getWindowed() ? GFX_AUTODETECT_WINDOWED : GFX_AUTODETECT_FULLSCREEN;
    if (set_gfx_mode(driver, video.getResolutionX(), video.getResolutionY(), 0, 0) == 0)
        return true;
    if (set_gfx_mode(GFX_SAFE, 640, 480, 0, 0) != 0)
        return false;
    video.setResolution(SCREEN_W, SCREEN_H);
    return true;
}

void startSound()
{
    sound = new soundDevice();
    const bool running = sound->start(dO->getSoundVolume(), dO->getMusicVolume());
    if (sound->playsEffects()) {
        cues = new soundCues(*sound, *dO);
        bM->setSoundCues(cues);
    }
    if (!running || dO->getMusicVolume() == 0)
        return;
    music = new musicDevice();
    if (!music->start()) {
        std::fprintf(stderr, "Playing without music: the sound driver has no voice for it\n");
        return;
    }
    musicChoice = new musicCues(*music, *dO);
    bM->setMusicCues(musicChoice);
}

}  // namespace

int mainInitialize()
{
    bM = new battleMain();
    dO = new dataObj();
    dO->readConfig();
    windowIdentity::beforeGraphicsMode("brox");
    if (!openGraphicsMode(*dO->getVideoSettings())) {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        allegro_message("Unable to set any graphic mode\n%s\n", allegro_error);
        return 1;
    }
    set_window_title("Brox");
    followWindowManager();
    // With no pad connected the driver finds none, silently, and only the
    // keyboard and mouse play.
    if (dO->getInputObj()->getGamepad()->isEnabled())
        install_joystick(JOY_TYPE_AUTODETECT);
    bM->setDataObj(dO);
    if (bM->init() != 0)
        return -1;
    startSound();
    return 0;
}

// An X server that has just started, or that is resetting because its last
// client left, can refuse a connection for a moment; the library then fails
// with no reason given. A few more tries, a moment apart, get past that.
bool startLibrary()
{
    constexpr int attempts = 3;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        if (allegro_init() == 0)
            return true;
        if (attempt < attempts)
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    return false;
}

int runGame()
{
    windowIdentity::beforeLibrary();
    if (!startLibrary()) {
        // Without a display the player would otherwise see nothing at all.
        std::fprintf(stderr, "Unable to start the Allegro game library: %s\n",
                     allegro_error[0] != '\0' ? allegro_error
                                              : "no display or console to show the game on");
        return 1;
    }
    install_keyboard();
    install_timer();
    install_mouse();
    LOCK_VARIABLE(frameTick);
    LOCK_VARIABLE(frameInRound);
    LOCK_VARIABLE(shouldPauseTimer);
    LOCK_FUNCTION(incFrameTick);

    if (mainInitialize() != 0)
        return 0;
    while (!key[KEY_ESC] && !closeRequested) {
        bM->go();
        if (music != nullptr)
            music->fillStream();
        vsync();
        blit(bM->getBuffer(), screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
    }
    return 0;
}
