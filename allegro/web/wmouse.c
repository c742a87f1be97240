/* The mouse driver of the web platform: movement becomes mickeys, from the
 * events' movementX and movementY, so aiming works as on the desktop; a click
 * on the canvas asks for pointer lock, and where the browser refuses it the
 * pointer's place on the canvas, however large the page shows it, is the
 * mouse position. */

#include <limits.h>

#include <emscripten.h>
#include <emscripten/html5.h>

#include "aintweb.h"

#define CANVAS "#canvas"

static int mickey_x = 0;
static int mickey_y = 0;
static int range_x1 = 0, range_y1 = 0, range_x2 = -1, range_y2 = -1;

static int clamp(int value, int low, int high)
{
    return value < low ? low : value > high ? high : value;
}

/* The range Allegro set, or else the whole screen once there is one. */
static void place_mouse(int x, int y)
{
    int x1 = range_x1, y1 = range_y1, x2 = range_x2, y2 = range_y2;

    if (x2 < x1 || y2 < y1) {
        _web_screen_size(&x2, &y2);
        x1 = y1 = 0;
        x2 = x2 > 0 ? x2 - 1 : INT_MAX;
        y2 = y2 > 0 ? y2 - 1 : INT_MAX;
    }
    _mouse_x = clamp(x, x1, x2);
    _mouse_y = clamp(y, y1, y2);
}

static int pointer_locked(void)
{
    EmscriptenPointerlockChangeEvent status;

    return emscripten_get_pointerlock_status(&status) == EMSCRIPTEN_RESULT_SUCCESS
           && status.isActive;
}

/* The page scales the canvas to its window: the pointer's place on the
 * canvas, in the page's pixels, is scaled to the screen's. */
static void place_pointer(const EmscriptenMouseEvent* event)
{
    double css_w, css_h;
    int w, h;

    _web_screen_size(&w, &h);
    if (emscripten_get_element_css_size(CANVAS, &css_w, &css_h) != EMSCRIPTEN_RESULT_SUCCESS
        || css_w < 1 || css_h < 1 || w <= 0 || h <= 0) {
        place_mouse(event->targetX, event->targetY);
        return;
    }
    place_mouse((int)(event->targetX * w / css_w), (int)(event->targetY * h / css_h));
}

static EM_BOOL on_move(int type, const EmscriptenMouseEvent* event, void* data)
{
    (void)type;
    (void)data;
    mickey_x += event->movementX;
    mickey_y += event->movementY;
    /* Locked, the pointer stays put and only the movement tells. */
    if (pointer_locked())
        place_mouse(_mouse_x + event->movementX, _mouse_y + event->movementY);
    else
        place_pointer(event);
    _handle_mouse_input();
    return EM_FALSE;
}

/* The DOM numbers buttons 0 left, 1 middle, 2 right; Allegro's bits are
 * 1 left, 2 right, 4 middle. */
static int button_bit(unsigned short button)
{
    switch (button) {
    case 0:
        return 1;
    case 1:
        return 4;
    case 2:
        return 2;
    default:
        return 0;
    }
}

static EM_BOOL on_button(int type, const EmscriptenMouseEvent* event, void* data)
{
    (void)data;
    if (type == EMSCRIPTEN_EVENT_MOUSEDOWN) {
        _mouse_b |= button_bit(event->button);
        if (!pointer_locked())
            emscripten_request_pointerlock(CANVAS, EM_FALSE);
    } else {
        _mouse_b &= ~button_bit(event->button);
    }
    _handle_mouse_input();
    /* Answering TRUE keeps a middle click from scrolling the page. */
    return EM_TRUE;
}

/* clang-format off */
EM_JS(void, web_menu_on_canvas, (int allowed), {
   var canvas = Module['canvas'];
   if (!Module['webNoMenu'])
      Module['webNoMenu'] = function(event) { event.preventDefault(); };
   if (allowed)
      canvas.removeEventListener('contextmenu', Module['webNoMenu']);
   else
      canvas.addEventListener('contextmenu', Module['webNoMenu']);
});
/* clang-format on */

/* Movement and presses count on the canvas; a release anywhere on the page,
 * so that a button let go off the canvas is not held on. */
static void listen_to_mouse(em_mouse_callback_func move, em_mouse_callback_func button)
{
    emscripten_set_mousemove_callback(CANVAS, NULL, EM_TRUE, move);
    emscripten_set_mousedown_callback(CANVAS, NULL, EM_TRUE, button);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, NULL, EM_TRUE, button);
}

void _web_mouse_release_all(void)
{
    if (mouse_driver != &mouse_web)
        return;
    _mouse_b = 0;
    _handle_mouse_input();
}

static int web_mouse_init(void)
{
    mickey_x = mickey_y = 0;
    listen_to_mouse(on_move, on_button);
    web_menu_on_canvas(FALSE);
    return 3;
}

static void web_mouse_exit(void)
{
    listen_to_mouse(NULL, NULL);
    web_menu_on_canvas(TRUE);
    if (pointer_locked())
        emscripten_exit_pointerlock();
}

static void web_mouse_position(int x, int y)
{
    place_mouse(x, y);
    mickey_x = mickey_y = 0;
}

static void web_mouse_set_range(int x1, int y1, int x2, int y2)
{
    range_x1 = x1;
    range_y1 = y1;
    range_x2 = x2;
    range_y2 = y2;
    place_mouse(_mouse_x, _mouse_y);
}

static void web_mouse_get_mickeys(int* x, int* y)
{
    *x = mickey_x;
    *y = mickey_y;
    mickey_x = mickey_y = 0;
}

MOUSE_DRIVER mouse_web = {
    .id = MOUSE_WEB,
    .name = empty_string,
    .desc = empty_string,
    .ascii_name = "Web mouse",
    .init = web_mouse_init,
    .exit = web_mouse_exit,
    .position = web_mouse_position,
    .set_range = web_mouse_set_range,
    .get_mickeys = web_mouse_get_mickeys,
};
