/* The joystick driver of the web platform: the first pad of the browser's
 * Gamepad API, read at every poll, numbered as Linux numbers an Xbox-style
 * pad (its xpad driver), so that the game's default layout and its
 * configuration mean the same in a page as on the desktop. A page learns of
 * a pad only once it is pressed, so the driver always reports one pad, at
 * rest until the browser shows one. The page's touch controls are a pad of
 * the standard layout too (Module.touchPad): while a finger holds one of
 * them it is the pad read, so the game never knows a touch from a pad. */

#include <emscripten.h>

#include "aintweb.h"

#define PAD_AXES 8
#define PAD_BUTTONS 11
#define FULL_TRAVEL 127

/* The axes, as xpad: 0, 1 left stick; 2 left trigger; 3, 4 right stick;
 * 5 right trigger; 6, 7 d-pad. Allegro keeps them in sticks, counted in
 * order. */
static const struct {
    const char* name;
    int axes;
    int flags;
} sticks[] = {
    {"Left stick", 2, JOYFLAG_ANALOGUE | JOYFLAG_SIGNED},
    {"Left trigger", 1, JOYFLAG_ANALOGUE | JOYFLAG_SIGNED},
    {"Right stick", 2, JOYFLAG_ANALOGUE | JOYFLAG_SIGNED},
    {"Right trigger", 1, JOYFLAG_ANALOGUE | JOYFLAG_SIGNED},
    {"D-pad", 2, JOYFLAG_DIGITAL | JOYFLAG_SIGNED},
};

static const char* const axis_names[] = {"X", "Y", "Z"};

/* The buttons, as xpad: A, B, X, Y, LB, RB, Back, Start, Guide, the sticks. */
static const char* const button_names[PAD_BUTTONS] = {
    "A", "B", "X", "Y", "LB", "RB", "Back", "Start", "Guide", "Left stick", "Right stick"};

/* The "standard" mapping's axes 0 to 3 are the two sticks; its buttons 0 to
 * 16 are A, B, X, Y, LB, RB, LT, RT, Back, Start, the sticks, the d-pad's
 * up, down, left and right, and Guide. The triggers run from 0 to 1 and rest
 * at -127 here, as on Linux. A pad of another mapping is read in its own
 * order. Answers whether there is a pad. */
/* clang-format off */
EM_JS(int, web_read_pad, (int *axes, int *buttons, int travel), {
   var pads = navigator.getGamepads ? Array.from(navigator.getGamepads()) : [];
   if (Module['touchPad'])
      pads.unshift(Module['touchPad']);
   var pad = null;
   for (var i = 0; i < pads.length && !pad; i++) {
      if (pads[i] && pads[i].connected)
         pad = pads[i];
   }
   if (!pad)
      return 0;
   var axis = function(n) { return pad.axes[n] || 0; };
   var held = function(n) { return pad.buttons[n] ? pad.buttons[n].value : 0; };
   var pressed = function(n) { return !!(pad.buttons[n] && pad.buttons[n].pressed); };
   var trigger = function(n) { return 2 * held(n) - 1; };
   var positions, down;
   if (pad.mapping === 'standard') {
      positions = [axis(0), axis(1), trigger(6), axis(2), axis(3), trigger(7),
                   held(15) - held(14), held(13) - held(12)];
      down = [0, 1, 2, 3, 4, 5, 8, 9, 16, 10, 11].map(pressed);
   } else {
      positions = [0, 1, 2, 3, 4, 5, 6, 7].map(axis);
      down = [0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10].map(pressed);
   }
   for (var a = 0; a < positions.length; a++) {
      var value = Math.max(-1, Math.min(1, positions[a]));
      HEAP32[(axes >> 2) + a] = Math.round(value * travel);
   }
   for (var b = 0; b < down.length; b++)
      HEAP32[(buttons >> 2) + b] = down[b] ? 1 : 0;
   return 1;
});
/* clang-format on */

static void describe_pad(JOYSTICK_INFO* pad)
{
    int s, a;

    pad->flags = JOYFLAG_ANALOGUE | JOYFLAG_SIGNED;
    pad->num_sticks = sizeof(sticks) / sizeof(sticks[0]);
    pad->num_buttons = PAD_BUTTONS;
    for (s = 0; s < pad->num_sticks; s++) {
        pad->stick[s].name = sticks[s].name;
        pad->stick[s].flags = sticks[s].flags;
        pad->stick[s].num_axis = sticks[s].axes;
        for (a = 0; a < sticks[s].axes; a++)
            pad->stick[s].axis[a].name = axis_names[a];
    }
    for (s = 0; s < PAD_BUTTONS; s++)
        pad->button[s].name = button_names[s];
}

static int web_joy_poll(void)
{
    int axes[PAD_AXES] = {0};
    int buttons[PAD_BUTTONS] = {0};
    JOYSTICK_INFO* pad = &joy[0];
    int s, a, n = 0;

    /* With no pad, everything rests; an axis at 0 is held neither way. */
    web_read_pad(axes, buttons, FULL_TRAVEL);
    for (s = 0; s < pad->num_sticks; s++) {
        for (a = 0; a < pad->stick[s].num_axis; a++, n++) {
            JOYSTICK_AXIS_INFO* axis = &pad->stick[s].axis[a];
            axis->pos = axes[n];
            axis->d1 = axes[n] < -FULL_TRAVEL / 2;
            axis->d2 = axes[n] > FULL_TRAVEL / 2;
        }
    }
    for (n = 0; n < PAD_BUTTONS; n++)
        pad->button[n].b = buttons[n];
    return 0;
}

static int web_joy_init(void)
{
    num_joysticks = 1;
    describe_pad(&joy[0]);
    return web_joy_poll();
}

static void web_joy_exit(void) { num_joysticks = 0; }

JOYSTICK_DRIVER joystick_web = {
    .id = JOY_TYPE_WEB,
    .name = empty_string,
    .desc = empty_string,
    .ascii_name = "Web gamepad",
    .init = web_joy_init,
    .exit = web_joy_exit,
    .poll = web_joy_poll,
};
