/* The timer driver of the web platform. A page has no threads to spare, and
 * the program sees what its install_int_ex callbacks count only between its
 * own turns: so whenever it gets its turn back from the browser (after a
 * vsync, a rest or a yield), Allegro's timer handler is handed the real time
 * that has passed, and runs the callbacks that were due meanwhile. No
 * timeouts of its own wake the page for them. */

#include <emscripten.h>

#include "aintweb.h"

static int timer_running = FALSE;
static double last_msec = 0;

void _web_timer_catch_up(void)
{
    double ticks;
    int whole;

    if (!timer_running)
        return;
    ticks = (emscripten_get_now() - last_msec) * TIMERS_PER_SECOND / 1000.0;
    whole = ticks > 0x40000000 ? 0x40000000 : (int)ticks;
    /* What is left below one tick is kept for the next turn. */
    last_msec += whole * 1000.0 / TIMERS_PER_SECOND;
    _handle_timer_tick(whole);
}

static int web_timer_init(void)
{
    last_msec = emscripten_get_now();
    timer_running = TRUE;
    return 0;
}

static void web_timer_exit(void) { timer_running = FALSE; }

/* Sleeping yields to the browser, so the timer runs on meanwhile. */
static void web_rest(unsigned int msec, void (*callback)(void))
{
    double until = emscripten_get_now() + msec;

    if (!callback) {
        emscripten_sleep(msec);
        _web_timer_catch_up();
        return;
    }
    while (emscripten_get_now() < until) {
        callback();
        emscripten_sleep(1);
        _web_timer_catch_up();
    }
}

/* install_int and its kin are left to timer.c's own queue. */
TIMER_DRIVER timer_web = {
    .id = TIMER_WEB,
    .name = empty_string,
    .desc = empty_string,
    .ascii_name = "Web timer",
    .init = web_timer_init,
    .exit = web_timer_exit,
    .rest = web_rest,
};
