/* The system driver of the web platform: its driver lists, the page's title,
 * and the page's attention, which it turns into Allegro's display switch. */

#include <stdio.h>

#include <emscripten.h>

#include "aintweb.h"
#include "allegro/platform/aintunix.h"

static _DRIVER_INFO web_gfx_drivers[] = {{GFX_WEB, &gfx_web, TRUE}, {0, NULL, 0}};

static _DRIVER_INFO web_keyboard_drivers[] = {{KEYBOARD_WEB, &keyboard_web, TRUE}, {0, NULL, 0}};

static _DRIVER_INFO web_mouse_drivers[] = {{MOUSE_WEB, &mouse_web, TRUE}, {0, NULL, 0}};

static _DRIVER_INFO web_timer_drivers[] = {{TIMER_WEB, &timer_web, TRUE}, {0, NULL, 0}};

static _DRIVER_INFO web_joystick_drivers[] = {
    {JOY_TYPE_WEB, &joystick_web, TRUE}, {JOY_TYPE_NONE, &joystick_none, TRUE}, {0, NULL, 0}};

static _DRIVER_INFO web_digi_drivers[] = {{DIGI_WEB, &digi_web, TRUE}, {0, NULL, 0}};

/* No MIDI: the game makes its music itself. */
static _DRIVER_INFO web_no_drivers[] = {{0, NULL, 0}};

static _DRIVER_INFO* web_gfx_list(void) { return web_gfx_drivers; }
static _DRIVER_INFO* web_keyboard_list(void) { return web_keyboard_drivers; }
static _DRIVER_INFO* web_mouse_list(void) { return web_mouse_drivers; }
static _DRIVER_INFO* web_timer_list(void) { return web_timer_drivers; }
static _DRIVER_INFO* web_joystick_list(void) { return web_joystick_drivers; }
static _DRIVER_INFO* web_digi_list(void) { return web_digi_drivers; }
static _DRIVER_INFO* web_midi_list(void) { return web_no_drivers; }

static int page_has_player = TRUE;
static int page_hidden = FALSE;

int _web_page_hidden(void) { return page_hidden; }

/* The player is with the page while it is the visible tab of the focused
 * window; anything else is a switch out. Asked at every vsync rather than
 * told by the page's events, so that a page that starts out of sight is
 * seen as such once the program has set its switch callbacks. A page out of
 * sight also stops painting and playing its sound. */
void _web_follow_page_attention(void)
{
    int hidden = EM_ASM_INT({ return document.hidden; });
    int now = !hidden && EM_ASM_INT({ return document.hasFocus(); });

    if (hidden != page_hidden) {
        page_hidden = hidden;
        _web_sound_follow_visibility(hidden);
    }
    if (now == page_has_player)
        return;
    page_has_player = now;
    if (now) {
        _switch_in();
    } else {
        _web_keyboard_release_all();
        _web_mouse_release_all();
        _switch_out();
    }
}

static int web_sys_init(void)
{
    os_type = OSTYPE_UNIX;
    page_has_player = TRUE;
    page_hidden = FALSE;
    return 0;
}

/* Nothing to undo: the page outlives the program. */
static void web_sys_exit(void) {}

static void web_set_window_title(AL_CONST char* name)
{
    EM_ASM({ document.title = UTF8ToString($0); }, name);
}

static void web_message(AL_CONST char* msg) { fputs(msg, stderr); }

/* A page runs on while it is hidden, so the background is the only mode. */
static int web_set_display_switch_mode(int mode) { return mode == SWITCH_BACKGROUND ? 0 : -1; }

static int web_desktop_color_depth(void) { return 32; }

static void web_get_gfx_safe_mode(int* driver, struct GFX_MODE* mode)
{
    *driver = GFX_WEB;
    mode->width = 640;
    mode->height = 480;
    mode->bpp = 32;
}

/* rest(0): give the browser a turn. */
static void web_yield_timeslice(void)
{
    emscripten_sleep(0);
    _web_timer_catch_up();
}

SYSTEM_DRIVER system_web = {
    .id = SYSTEM_WEB,
    .name = empty_string,
    .desc = empty_string,
    .ascii_name = "Web page",
    .init = web_sys_init,
    .exit = web_sys_exit,
    .set_window_title = web_set_window_title,
    .message = web_message,
    .set_display_switch_mode = web_set_display_switch_mode,
    .desktop_color_depth = web_desktop_color_depth,
    .get_gfx_safe_mode = web_get_gfx_safe_mode,
    .yield_timeslice = web_yield_timeslice,
    /* One thread: Unix's mutexes cost nothing and keep timer.c as it is. */
    .create_mutex = _unix_create_mutex,
    .destroy_mutex = _unix_destroy_mutex,
    .lock_mutex = _unix_lock_mutex,
    .unlock_mutex = _unix_unlock_mutex,
    .gfx_drivers = web_gfx_list,
    .digi_drivers = web_digi_list,
    .midi_drivers = web_midi_list,
    .keyboard_drivers = web_keyboard_list,
    .mouse_drivers = web_mouse_list,
    .joystick_drivers = web_joystick_list,
    .timer_drivers = web_timer_list,
};
