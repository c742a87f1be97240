#include "main.h"

#include <allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "audio/musicDevice.h"
#include "audio/soundDevice.h"
#include "battle/battleMain.h"
#include "battle/musicCues.h"
#include "battle/screenFit.h"
#include "battle/soundCues.h"
#include "dataObj.h"
#include "screenCopy.h"
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
screenCopy* finalCopy = nullptr;
// Set by the window thread when the screen may have lost what was on it.
std::atomic<bool> screenNeedsClearing{true};

void onCloseButton() { closeRequested = true; }
void onSwitchIn()
{
    windowFocused = true;
    screenNeedsClearing = true;
}
void onSwitchOut() { windowFocused = false; }

// The game keeps running in the background; the battle pauses itself when
// the focus leaves, so the switch callbacks only report it. A full screen of
// the display's own (as DirectX's) forgets its contents meanwhile.
void followWindowManager()
{
    set_close_button_callback(onCloseButton);
    if (set_display_switch_mode(SWITCH_BACKGROUND) == 0
        || set_display_switch_mode(SWITCH_BACKAMNESIA) == 0) {
        set_display_switch_callback(SWITCH_IN, onSwitchIn);
        set_display_switch_callback(SWITCH_OUT, onSwitchOut);
    }
}

// False where the system cannot tell, as in a web page, whose canvas the
// page itself scales.
bool desktopSize(int& width, int& height)
{
    return get_desktop_resolution(&width, &height) == 0 && width > 0 && height > 0;
}

int chosenWindowScale(const videoSettings& video)
{
    int desktopWidth = 0;
    int desktopHeight = 0;
    if (!desktopSize(desktopWidth, desktopHeight))
        return 1;
    const int fits = screenFit::largestWindowScale(video.getResolutionX(), video.getResolutionY(),
                                                   desktopWidth, desktopHeight);
    const int asked = video.getWindowScale();
    if (asked == 0)
        return fits;
    if (asked > fits)
        std::fprintf(stderr,
                     "windowScale %d: a window of %d x %d does not fit the %d x %d desktop; it "
                     "opens at %d x %d\n",
                     asked, asked * video.getResolutionX(), asked * video.getResolutionY(),
                     desktopWidth, desktopHeight, fits * video.getResolutionX(),
                     fits * video.getResolutionY());
    return std::min(asked, fits);
}

// Covers the whole monitor at the desktop's size, without changing the
// monitor's mode where a window manager can be asked for it.
bool openFullScreen()
{
    int width = 0;
    int height = 0;
    if (!desktopSize(width, height))
        return false;
    const bool managed = windowIdentity::askForFullScreen(true);
    const int driver = managed ? GFX_AUTODETECT_WINDOWED : GFX_AUTODETECT_FULLSCREEN;
    if (set_gfx_mode(driver, width, height, 0, 0) == 0)
        return true;
    if (managed)
        windowIdentity::askForFullScreen(false);
    return false;
}

bool openConfiguredMode(const videoSettings& video)
{
    const int width = video.getResolutionX();
    const int height = video.getResolutionY();
    if (!video.getWindowed())
        return openFullScreen()
               || set_gfx_mode(GFX_AUTODETECT_FULLSCREEN, width, height, 0, 0) == 0;
    const int scale = chosenWindowScale(video);
    return (scale > 1
            && set_gfx_mode(GFX_AUTODETECT_WINDOWED, scale * width, scale * height, 0, 0) == 0)
           || set_gfx_mode(GFX_AUTODETECT_WINDOWED, width, height, 0, 0) == 0;
}

// When only the safe mode opens, the game lays itself out for the screen it
// got: a layout for the configured size would put the HUD off screen.
bool openGraphicsMode(videoSettings& video)
{
    set_color_depth(video.getColorDepth());
    if (openConfiguredMode(video))
        return true;
    if (set_gfx_mode(GFX_SAFE, 640, 480, 0, 0) != 0)
        return false;
    video.setResolution(SCREEN_W, SCREEN_H);
    return true;
}

// The picture is drawn at the configured size and scaled onto the screen
// the mode gave; the mouse is read back through the same fit.
void fitPictureToScreen()
{
    const videoSettings& video = *dO->getVideoSettings();
    const screenFit fit =
        screenFit::onScreen(video.getResolutionX(), video.getResolutionY(), SCREEN_W, SCREEN_H);
    dO->getInputObj()->setScreenFit(fit);
    finalCopy = new screenCopy(fit);
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
    fitPictureToScreen();
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
        finalCopy->show(bM->getBuffer(), screen, screenNeedsClearing.exchange(false));
    }
    return 0;
}
