/* The graphics driver of the web platform: a windowed 32-bit screen in
 * memory, shown on the page's canvas at each vsync, which then waits for the
 * browser's next animation frame. */

#include <emscripten.h>

#include "aintweb.h"

static uint32_t* screen_pixels = NULL;
static int screen_w = 0;
static int screen_h = 0;

/* Sizes the canvas and keeps its 2D context and one image to copy into. */
/* clang-format off */
EM_JS(void, web_open_canvas, (int w, int h), {
   var canvas = Module['canvas'];
   canvas.width = w;
   canvas.height = h;
   var context = canvas.getContext('2d', { alpha: false });
   var image = context.createImageData(w, h);
   Module['webScreen'] = {
      context: context,
      image: image,
      pixels: new Uint32Array(image.data.buffer)
   };
   Module['shownFrames'] = 0;
   Module['changedFrames'] = 0;
});
/* clang-format on */

/* Allegro's 32-bit pixels keep red in the lowest byte (its default shifts,
 * which this driver leaves alone), so they are the canvas's R, G, B bytes
 * already; only the fourth byte, which the canvas reads as alpha, is set.
 * The counts let the page measure how many frames the game draws. */
/* clang-format off */
EM_JS(void, web_show_screen, (const uint32_t *pixels, int count), {
   var screen = Module['webScreen'];
   var source = HEAPU32.subarray(pixels >> 2, (pixels >> 2) + count);
   var target = screen.pixels;
   var changed = false;
   for (var i = 0; i < count; i++) {
      var rgba = (source[i] | 0xFF000000) >>> 0;
      if (target[i] !== rgba) {
         target[i] = rgba;
         changed = true;
      }
   }
   screen.context.putImageData(screen.image, 0, 0);
   Module['shownFrames']++;
   if (changed)
      Module['changedFrames']++;
});
/* clang-format on */

/* A hidden page gets no animation frames; a timeout keeps the game turning
 * there, slowly, so that it sees the focus leave and pauses the fight. */
/* clang-format off */
EM_ASYNC_JS(void, web_wait_for_frame, (void), {
   await new Promise(function(resolve) {
      var timeout;
      var frame = requestAnimationFrame(function() {
         clearTimeout(timeout);
         resolve();
      });
      timeout = setTimeout(function() {
         cancelAnimationFrame(frame);
         resolve();
      }, 100);
   });
});
/* clang-format on */

/* clang-format off */
EM_JS(void, web_close_canvas, (void), {
   delete Module['webScreen'];
});
/* clang-format on */

static BITMAP* web_gfx_init(int w, int h, int v_w, int v_h, int color_depth)
{
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
    screen_pixels = _AL_MALLOC_ATOMIC((size_t)w * h * sizeof(uint32_t));
    if (!screen_pixels) {
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Not enough memory"));
        return NULL;
    }
    memset(screen_pixels, 0, (size_t)w * h * sizeof(uint32_t));
    bmp = _make_bitmap(w, h, (uintptr_t)screen_pixels, &gfx_web, 32, w * sizeof(uint32_t));
    if (!bmp) {
        _AL_FREE(screen_pixels);
        screen_pixels = NULL;
        ustrzcpy(allegro_error, ALLEGRO_ERROR_SIZE, get_config_text("Not enough memory"));
        return NULL;
    }
    screen_w = gfx_web.w = w;
    screen_h = gfx_web.h = h;
    gfx_web.vid_mem = w * h * sizeof(uint32_t);
    web_open_canvas(w, h);
    return bmp;
}

static void web_gfx_exit(BITMAP* bmp)
{
    (void)bmp;
    web_close_canvas();
    _AL_FREE(screen_pixels);
    screen_pixels = NULL;
    screen_w = screen_h = 0;
}

static void web_vsync(void)
{
    web_show_screen(screen_pixels, screen_w * screen_h);
    _web_sound_mix();
    web_wait_for_frame();
    _web_follow_page_attention();
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
