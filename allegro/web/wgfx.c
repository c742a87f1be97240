/* The graphics driver of the web platform: a windowed 32-bit screen in
 * memory, shown on the page's canvas at a vsync only when something was
 * drawn into it since the last time, and only while the page is in sight;
 * each vsync then waits for the browser's next animation frame, or for a
 * timeout while nothing new comes. */

#include <emscripten.h>

#include "aintweb.h"

static uint32_t* screen_pixels = NULL;
/* The screen's pixels as the canvas takes them: alpha set. */
static uint32_t* canvas_pixels = NULL;
static int screen_w = 0;
static int screen_h = 0;

/* Row ranges [top, bottom), empty when top >= bottom. */
typedef struct ROWS {
    int top, bottom;
} ROWS;

/* Rows that Allegro's drawing primitives wrote into since the canvas was
 * last updated, whose canvas pixels are still to be made from the screen's;
 * and the rows whose canvas pixels changed since then, to be put on the
 * canvas. */
static ROWS drawn = {0, 0};
static ROWS changed = {0, 0};

/* Passes since a frame was last shown; the game shows one at every other
 * pass while it plays, so after a few without one it is standing still. */
#define STILL_AFTER_PASSES 4
static int passes_since_shown = 0;
/* For the page's measurements: when the program last got its turn back, and
 * how long its copies onto the screen took since. */
static double resumed_at = 0;
static double copying_ms = 0;
/* Whether the next still pass takes a turn of the browser's, or runs at
 * once after the last. */
static int still_turn_due = TRUE;

static void add_rows(ROWS* rows, int top, int bottom)
{
    if (rows->top >= rows->bottom) {
        rows->top = top;
        rows->bottom = bottom;
        return;
    }
    if (top < rows->top)
        rows->top = top;
    if (bottom > rows->bottom)
        rows->bottom = bottom;
}

/* Every drawing primitive asks for a screen line before it writes there, as
 * Allegro's X11 driver tracks its updates. */
static uintptr_t web_write_line(BITMAP* bmp, int line)
{
    add_rows(&drawn, line + bmp->y_ofs, line + bmp->y_ofs + 1);
    return (uintptr_t)bmp->line[line];
}

/* Allegro's 32-bit pixels keep red in the lowest byte (its default shifts,
 * which this driver leaves alone), so they are the canvas's R, G, B bytes
 * already; only the fourth byte, which the canvas reads as alpha, is set. */
static void to_canvas(const uint32_t* from, int count)
{
    uint32_t* to = canvas_pixels + (from - screen_pixels);
    int i;

    for (i = 0; i < count; i++)
        to[i] = from[i] | 0xFF000000u;
}

/* Copies pixels onto the screen and, alpha set, into the canvas's pixels in
 * one stroke: a third cheaper here than a memcpy and then to_canvas. */
static void copy_to_screen(const uint32_t* from, uint32_t* to, int count)
{
    uint32_t* canvas = canvas_pixels + (to - screen_pixels);
    int i;

    for (i = 0; i < count; i++) {
        uint32_t pixel = from[i];

        to[i] = pixel;
        canvas[i] = pixel | 0xFF000000u;
    }
}

/* Eight bytes at a time, and the differences of sixteen pixels gathered
 * before one test: an unchanged 640 x 480 screen, which most passes bring,
 * is compared in 0.13 ms here, against 0.15 ms a pair at a time and 0.34 ms
 * a pixel at a time. */
typedef uint64_t __attribute__((__may_alias__, __aligned__(4))) pixel_pair;
#define PAIRS_A_TEST 8

static int same_pixels(const uint32_t* a, const uint32_t* b, int count)
{
    const pixel_pair* pairs_a = (const pixel_pair*)a;
    const pixel_pair* pairs_b = (const pixel_pair*)b;
    int pairs = count / 2;
    int i = 0;

    for (; i + PAIRS_A_TEST <= pairs; i += PAIRS_A_TEST) {
        uint64_t differences = 0;
        int k;

        for (k = 0; k < PAIRS_A_TEST; k++)
            differences |= pairs_a[i + k] ^ pairs_b[i + k];
        if (differences)
            return FALSE;
    }
    for (; i < pairs; i++) {
        if (pairs_a[i] != pairs_b[i])
            return FALSE;
    }
    return count % 2 == 0 || a[count - 1] == b[count - 1];
}

/* The main loop copies its back buffer onto the screen at every pass, but
 * the game draws a new frame only at its timer's ticks: rows that come
 * unchanged are left alone, so that an old frame is never shown again, and
 * a changed row goes on to the canvas's pixels in the same stroke. */
static void web_blit_from_memory(BITMAP* src, BITMAP* dst, int s_x, int s_y, int d_x, int d_y,
                                 int w, int h)
{
    double started = emscripten_get_now();
    int y;

    for (y = 0; y < h; y++) {
        const uint32_t* from = (const uint32_t*)src->line[s_y + y] + s_x;
        uint32_t* to = (uint32_t*)dst->line[d_y + y] + d_x;

        if (!same_pixels(from, to, w)) {
            copy_to_screen(from, to, w);
            add_rows(&changed, d_y + y + dst->y_ofs, d_y + y + dst->y_ofs + 1);
        }
    }
    copying_ms += emscripten_get_now() - started;
}

/* Sizes the canvas and keeps its 2D context. */
/* clang-format off */
EM_JS(void, web_open_canvas, (int w, int h), {
   var canvas = Module['canvas'];
   canvas.width = w;
   canvas.height = h;
   var screen = { context: canvas.getContext('2d', { alpha: false }), image: null, letGo: null, stillDue: 0 };
   screen.onVisibility = function() {
      if (document.hidden && screen.letGo)
         screen.letGo();
   };
   document.addEventListener('visibilitychange', screen.onVisibility);
   Module['webScreen'] = screen;
   Module['shownFrames'] = 0;
   Module['passes'] = 0;
   Module['programMs'] = 0;
   Module['copyMs'] = 0;
});
/* clang-format on */

/* Puts the given rows of the canvas's pixels on the canvas, straight from
 * the program's memory: an image over the memory is made again only when
 * the memory has grown (which replaces its buffer). putImageData measured
 * cheaper here than a WebGL texture upload (scripts/webCost.sh), and it
 * keeps every pixel as it is. */
/* clang-format off */
EM_JS(void, web_show_rows, (const uint32_t *pixels, int w, int h, int top, int bottom), {
   var screen = Module['webScreen'];
   if (!screen.image || screen.image.data.buffer !== HEAPU8.buffer)
      screen.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, w * h * 4), w, h);
   screen.context.putImageData(screen.image, 0, 0, 0, top, w, bottom - top);
   Module['shownFrames']++;
});
/* clang-format on */

/* While the game shows frames, a pass waits for the browser's next animation
 * frame, so that each is shown in step with the display. While nothing new is
 * shown (a paused fight, a round's title) plain timeouts pace the passes
 * instead, two passes to a 30th of a second: asking for animation frames
 * makes the browser produce them, and every turn the page takes costs as much
 * again as the pass itself, while a key is still seen within 33 ms. A hidden
 * page gets no animation frames (one asked for as it hides is let go), and a
 * timeout of 100 ms keeps the game turning there, slowly, so that it sees the
 * focus leave and pauses the fight, and its timer counts. */
#define WAIT_ANIMATION_FRAME 0
#define WAIT_STILL 1
#define WAIT_HIDDEN 2

/* clang-format off */
EM_ASYNC_JS(void, web_wait_for_frame, (int wait), {
   var screen = Module['webScreen'];
   await new Promise(function(resolve) {
      var now = performance.now();
      var period = 2000 / 60;
      if (wait == 1) {
         /* Each still turn is due two 60ths of a second after the last, so
          * that a timeout that came late is made up at the next one. */
         screen.stillDue = screen.stillDue > now - period ? screen.stillDue + period : now + period;
         setTimeout(resolve, screen.stillDue - now);
         return;
      }
      if (wait == 2 || document.hidden) {
         setTimeout(resolve, 100);
         return;
      }
      var frame = requestAnimationFrame(function() {
         screen.letGo = null;
         resolve();
      });
      screen.letGo = function() {
         cancelAnimationFrame(frame);
         screen.letGo = null;
         resolve();
      };
   });
});
/* clang-format on */

/* For the page's tests and measurements: the passes of the main loop, the
 * time the program ran between its turns (the game's pass and the copies
 * onto the screen) and the time those copies took. */
/* clang-format off */
EM_JS(void, web_count_pass, (double program_ms, double copy_ms), {
   Module['passes']++;
   Module['programMs'] += program_ms;
   Module['copyMs'] += copy_ms;
});
/* clang-format on */

/* clang-format off */
EM_JS(void, web_close_canvas, (void), {
   document.removeEventListener('visibilitychange', Module['webScreen'].onVisibility);
   delete Module['webScreen'];
});
/* clang-format on */

static void show_changed_rows(void)
{
    if (drawn.top < drawn.bottom) {
        to_canvas(screen_pixels + drawn.top * screen_w, (drawn.bottom - drawn.top) * screen_w);
        add_rows(&changed, drawn.top, drawn.bottom);
        drawn.top = drawn.bottom = 0;
    }
    web_show_rows(canvas_pixels, screen_w, screen_h, changed.top, changed.bottom);
    changed.top = changed.bottom = 0;
}

static void free_screen(void)
{
    _AL_FREE(screen_pixels);
    _AL_FREE(canvas_pixels);
    screen_pixels = canvas_pixels = NULL;
}

static BITMAP* web_gfx_init(int w, int h, int v_w, int v_h, int color_depth)
{
    size_t size = (size_t)w * h * sizeof(uint32_t);
    BITMAP* bmp;

    if (color_depth != 32) {
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Unsupported color depth"));
        return NULL;
    }
    if ((v_w != 0 && v_w != w) || (v_h != 0 && v_h != h) || w <= 0 || h <= 0) {
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE,
                 get_config_text("Unsupported virtual resolution"));
        return NULL;
    }
    screen_pixels = _AL_MALLOC_ATOMIC(size);
    canvas_pixels = _AL_MALLOC_ATOMIC(size);
    bmp = screen_pixels && canvas_pixels
              ? _make_bitmap(w, h, (uintptr_t)screen_pixels, &gfx_web, 32, w * sizeof(uint32_t))
              : NULL;
    if (!bmp) {
        free_screen();
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Not enough memory"));
        return NULL;
    }
    memset(screen_pixels, 0, size);
    bmp->write_bank = web_write_line;
    _screen_vtable.blit_from_memory = web_blit_from_memory;
    screen_w = gfx_web.w = w;
    screen_h = gfx_web.h = h;
    gfx_web.vid_mem = size;
    web_open_canvas(w, h);
    add_rows(&drawn, 0, h);
    return bmp;
}

static void web_gfx_exit(BITMAP* bmp)
{
    (void)bmp;
    web_close_canvas();
    free_screen();
    screen_w = screen_h = 0;
    drawn.top = drawn.bottom = changed.top = changed.bottom = 0;
    passes_since_shown = 0;
    still_turn_due = TRUE;
    resumed_at = copying_ms = 0;
}

static void wait_for_turn(void)
{
    if (_web_page_hidden()) {
        web_wait_for_frame(WAIT_HIDDEN);
    } else if (passes_since_shown < STILL_AFTER_PASSES) {
        web_wait_for_frame(WAIT_ANIMATION_FRAME);
        still_turn_due = TRUE;
    } else {
        if (still_turn_due)
            web_wait_for_frame(WAIT_STILL);
        still_turn_due = !still_turn_due;
    }
}

/* A hidden page is not painted: what was drawn meanwhile is shown when it is
 * in sight again. */
static void web_vsync(void)
{
    double program_ms = resumed_at > 0 ? emscripten_get_now() - resumed_at : 0;

    if ((drawn.top < drawn.bottom || changed.top < changed.bottom) && !_web_page_hidden()) {
        show_changed_rows();
        passes_since_shown = 0;
    } else if (passes_since_shown < STILL_AFTER_PASSES) {
        passes_since_shown++;
    }
    _web_sound_mix();
    web_count_pass(program_ms, copying_ms);
    copying_ms = 0;
    wait_for_turn();
    _web_timer_catch_up();
    _web_follow_page_attention();
    resumed_at = emscripten_get_now();
}

void _web_screen_size(int* w, int* h)
{
    *w = screen_w;
    *h = screen_h;
}

GFX_DRIVER gfx_web = {
    .id = GFX_WEB,
    .name = empty_string,
    .desc = empty_string,
    .ascii_name = "Web canvas",
    .init = web_gfx_init,
    .exit = web_gfx_exit,
    .vsync = web_vsync,
    /* The game draws its own mouse cursor, and 32 bits have no palette. */
    .linear = TRUE,
    .windowed = TRUE,
};
