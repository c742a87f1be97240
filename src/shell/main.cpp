#include "main.h"

#include <allegro.h>

#include <cstdio>

#include "battleMain.h"
#include "dataObj.h"

std::atomic<int> frameTick{0};
std::atomic<int> frameInRound{0};
std::atomic<bool> gamePaused{false};
std::atomic<bool> shouldPauseTimer{false};
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

bool openGraphicsMode(const videoSettings& video)
{
    set_color_depth(video.getColorDepth());
    const int driver = video.getWindowed() ? GFX_AUTODETECT_WINDOWED : GFX_AUTODETECT_FULLSCREEN;
    if (set_gfx_mode(driver, video.getResolutionX(), video.getResolutionY(), 0, 0) == 0)
        return true;
    return set_gfx_mode(GFX_SAFE, 640, 480, 0, 0) == 0;
}

}  // namespace

int mainInitialize()
{
    bM = new battleMain();
    dO = new dataObj();
    dO->readConfig();
    if (!openGraphicsMode(*dO->getVideoSettings())) {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        allegro_message("Unable to set any graphic mode\n%s\n", allegro_error);
        return 1;
    }
    set_window_title("Brox");
    bM->setDataObj(dO);
    return bM->init();
}

int runGame()
{
    if (allegro_init() != 0) {
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
    while (!key[KEY_ESC]) {
        bM->go();
        vsync();
        blit(bM->getBuffer(), screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
    }
    return 0;
}
