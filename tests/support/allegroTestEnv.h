#ifndef BROX_ALLEGRO_TEST_ENV_H
#define BROX_ALLEGRO_TEST_ENV_H

#include <allegro.h>

#include <cerrno>
#include <cstdlib>

// Brings Allegro up once per test process without any display, keyboard or
// mouse driver: memory bitmaps, drawing, fixed-point maths and datafiles work,
// and key, mouse_x, mouse_y and mouse_b are plain globals a test can set.
inline void ensureHeadlessAllegro(int colorDepth = 32)
{
    static bool started = false;
    if (!started) {
        install_allegro(SYSTEM_NONE, &errno, atexit);
        started = true;
    }
    set_color_depth(colorDepth);
}

#endif
