/* The timer driver of the web platform. A page has no threads to spare: a
 * timeout of the browser's event loop hands the real time that has passed to
 * Allegro's timer handler, which runs the install_int_ex callbacks on the
 * page's one thread while the game waits for its next frame, and says when
 * the next one is due; the next timeout is set for then. A hidden page's
 * timeouts come late, and the count catches up. */

#include <emscripten.h>
#include <emscripten/eventloop.h>

#include "aintweb.h"

static long next_pulse = 0;
static double last_msec = 0;

static void web_timer_pulse(void* data)
{
    double now = emscripten_get_now();
    double ticks = (now - last_msec) * TIMERS_PER_SECOND / 1000.0;
    int whole = ticks > 0x40000000 ? 0x40000000 : (int)ticks;
    long delay;

    (void)data;
    /* What is left below one tick is kept for the next pulse. */
    last_msec += whole * 1000.0 / TIMERS_PER_SECOND;
    delay = _handle_timer_tick(whole);
    next_pulse = emscripten_set_timeout(web_timer_pulse, delay * 1000.0 / TIMERS_PER_SECOND, NULL);
}

static int web_timer_init(void)
{
    last_msec = emscripten_get_now();
    next_pulse = emscripten_set_timeout(web_timer_pulse, 0, NULL);
    return 0;
}

static void web_timer_exit(void)
{
    emscripten_clear_timeout(next_pulse);
    next_pulse = 0;
}

/* Sleeping yields to the browser, so the timer runs on meanwhile. */
static void web_rest(unsigned int msec, void (*callback)(void))
{
    double until = emscripten_get_now() + msec;

    if (!callback) {
        emscripten_sleep(msec);
        return;
    }
    while (emscripten_get_now() < until) {
        callback();
        emscripten_sleep(1);
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
