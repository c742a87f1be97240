/* Brox's web platform for Allegro 4.4: the drivers that put Allegro's screen,
 * keyboard, mouse, timer, sound and pads into a browser page, built with emscripten.
 * Nothing here blocks: a page gets no events while its code runs, so the
 * screen's vsync is where the program yields to the browser (ASYNCIFY), and
 * every event handler and the timer run on the one thread meanwhile.
 * Each driver names only the methods it has; Allegro takes a NULL method as
 * its own fallback or as nothing to do. */

#ifndef AINTWEB_H
#define AINTWEB_H

#include "allegro.h"
#include "allegro/internal/aintern.h"

#define SYSTEM_WEB AL_ID('W', 'E', 'B', ' ')
#define GFX_WEB AL_ID('W', 'E', 'B', 'G')
#define KEYBOARD_WEB AL_ID('W', 'E', 'B', 'K')
#define MOUSE_WEB AL_ID('W', 'E', 'B', 'M')
#define TIMER_WEB AL_ID('W', 'E', 'B', 'T')
#define DIGI_WEB AL_ID('W', 'E', 'B', 'D')
#define JOY_TYPE_WEB AL_ID('W', 'E', 'B', 'J')

AL_VAR(SYSTEM_DRIVER, system_web);
AL_VAR(GFX_DRIVER, gfx_web);
AL_VAR(KEYBOARD_DRIVER, keyboard_web);
AL_VAR(MOUSE_DRIVER, mouse_web);
AL_VAR(TIMER_DRIVER, timer_web);
AL_VAR(DIGI_DRIVER, digi_web);
AL_VAR(JOYSTICK_DRIVER, joystick_web);

/* Mixes what is due to keep the sound queued ahead; the screen's vsync,
 * right after the main loop has refilled its streams, asks. */
AL_FUNC(void, _web_sound_mix, (void));

/* Runs the timer callbacks that came due while the browser had the turn;
 * every wait that yields to the browser asks when it ends. */
AL_FUNC(void, _web_timer_catch_up, (void));

/* Switches in or out as the page gains or loses the player's attention
 * (another tab or window); the screen's vsync asks. */
AL_FUNC(void, _web_follow_page_attention, (void));

/* Whether the page is out of sight (another tab in front, or minimised),
 * as the last vsync saw it. */
AL_FUNC(int, _web_page_hidden, (void));

/* A page out of sight gets a pass a second at best, too few to keep sound
 * queued: its sound stops there and starts again when it shows. */
AL_FUNC(void, _web_sound_follow_visibility, (int hidden));

/* On a switch out what is held is let go, as Allegro's X11 driver does on a
 * focus out. */
AL_FUNC(void, _web_keyboard_release_all, (void));
AL_FUNC(void, _web_mouse_release_all, (void));

/* The screen's size, for the mouse's range while the pointer is locked. */
AL_FUNC(void, _web_screen_size, (int* w, int* h));

#endif
