/* The keyboard driver of the web platform: the page's key events, by the
 * physical key they name (KeyboardEvent.code), become Allegro key codes, so
 * that W A S D sit where they do on any layout and every key a player may
 * map in the configuration is there. */

#include <stdlib.h>
#include <string.h>

#include <emscripten.h>
#include <emscripten/html5.h>

#include "aintweb.h"

typedef struct WEB_KEY {
    const char* code;
    int scancode;
} WEB_KEY;

/* Letters, digits, the keypad's digits and F1 to F12 are found by pattern
 * (find_scancode); these are the rest. */
static const WEB_KEY named_keys[] = {
    {"Escape", KEY_ESC},
    {"Backquote", KEY_TILDE},
    {"Minus", KEY_MINUS},
    {"Equal", KEY_EQUALS},
    {"Backspace", KEY_BACKSPACE},
    {"Tab", KEY_TAB},
    {"BracketLeft", KEY_OPENBRACE},
    {"BracketRight", KEY_CLOSEBRACE},
    {"Enter", KEY_ENTER},
    {"Semicolon", KEY_COLON},
    {"Quote", KEY_QUOTE},
    {"Backslash", KEY_BACKSLASH},
    {"IntlBackslash", KEY_BACKSLASH2},
    {"Comma", KEY_COMMA},
    {"Period", KEY_STOP},
    {"Slash", KEY_SLASH},
    {"Space", KEY_SPACE},
    {"Insert", KEY_INSERT},
    {"Delete", KEY_DEL},
    {"Home", KEY_HOME},
    {"End", KEY_END},
    {"PageUp", KEY_PGUP},
    {"PageDown", KEY_PGDN},
    {"ArrowLeft", KEY_LEFT},
    {"ArrowRight", KEY_RIGHT},
    {"ArrowUp", KEY_UP},
    {"ArrowDown", KEY_DOWN},
    {"NumpadDivide", KEY_SLASH_PAD},
    {"NumpadMultiply", KEY_ASTERISK},
    {"NumpadSubtract", KEY_MINUS_PAD},
    {"NumpadAdd", KEY_PLUS_PAD},
    {"NumpadDecimal", KEY_DEL_PAD},
    {"NumpadEnter", KEY_ENTER_PAD},
    {"NumpadEqual", KEY_EQUALS_PAD},
    {"PrintScreen", KEY_PRTSCR},
    {"Pause", KEY_PAUSE},
    {"IntlRo", KEY_ABNT_C1},
    {"IntlYen", KEY_YEN},
    {"KanaMode", KEY_KANA},
    {"Convert", KEY_CONVERT},
    {"NonConvert", KEY_NOCONVERT},
    {"ShiftLeft", KEY_LSHIFT},
    {"ShiftRight", KEY_RSHIFT},
    {"ControlLeft", KEY_LCONTROL},
    {"ControlRight", KEY_RCONTROL},
    {"AltLeft", KEY_ALT},
    {"AltRight", KEY_ALTGR},
    {"MetaLeft", KEY_LWIN},
    {"MetaRight", KEY_RWIN},
    {"ContextMenu", KEY_MENU},
    {"ScrollLock", KEY_SCRLOCK},
    {"NumLock", KEY_NUMLOCK},
    {"CapsLock", KEY_CAPSLOCK},
};

/* The browser keeps these: reload, full screen and its developer tools. */
static const char* const browser_keys[] = {"F5", "F11", "F12"};

static int find_scancode(const char* code)
{
    size_t i;

    if (strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && !code[4])
        return KEY_A + (code[3] - 'A');
    if (strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9' && !code[6])
        return KEY_0 + (code[5] - '0');
    if (strncmp(code, "Numpad", 6) == 0 && code[6] >= '0' && code[6] <= '9' && !code[7])
        return KEY_0_PAD + (code[6] - '0');
    if (code[0] == 'F' && code[1] >= '1' && code[1] <= '9') {
        int n = atoi(code + 1);
        if (n >= 1 && n <= 12)
            return KEY_F1 + n - 1;
    }
    for (i = 0; i < sizeof(named_keys) / sizeof(named_keys[0]); i++) {
        if (strcmp(code, named_keys[i].code) == 0)
            return named_keys[i].scancode;
    }
    return 0;
}

/* For the page's settings form, which learns a key by its press before the
 * game runs: the key code of a KeyboardEvent.code (0 for none), and the
 * name Allegro, and so the desktop's settings program, gives a key code. */
EMSCRIPTEN_KEEPALIVE int web_key_scancode(const char* code) { return find_scancode(code); }

EMSCRIPTEN_KEEPALIVE const char* web_key_name(int scancode)
{
    return scancode > 0 && scancode < KEY_MAX ? _keyboard_common_names[scancode] : "";
}

static int browser_keeps(const EmscriptenKeyboardEvent* event)
{
    size_t i;

    if (event->ctrlKey || event->metaKey)
        return TRUE;
    for (i = 0; i < sizeof(browser_keys) / sizeof(browser_keys[0]); i++) {
        if (strcmp(event->code, browser_keys[i]) == 0)
            return TRUE;
    }
    return FALSE;
}

/* What goes into Allegro's key buffer: the character the key types, or 0
 * for a key that types none (as Allegro's other drivers give F1). */
static int typed_character(const EmscriptenKeyboardEvent* event)
{
    const unsigned char* key = (const unsigned char*)event->key;

    if (key[0] && !key[1])
        return key[0];
    if (strcmp(event->key, "Enter") == 0)
        return '\r';
    if (strcmp(event->key, "Backspace") == 0)
        return '\b';
    if (strcmp(event->key, "Tab") == 0)
        return '\t';
    if (strcmp(event->key, "Escape") == 0)
        return 27;
    return 0;
}

/* Answering TRUE keeps the browser from acting on the key: Tab must not move
 * the focus, Space must not scroll, F10 must not open a menu. */
static EM_BOOL on_key(int type, const EmscriptenKeyboardEvent* event, void* data)
{
    int scancode = find_scancode(event->code);

    (void)data;
    if (!scancode)
        return EM_FALSE;
    if (type == EMSCRIPTEN_EVENT_KEYDOWN)
        _handle_key_press(typed_character(event), scancode);
    else
        _handle_key_release(scancode);
    return !browser_keeps(event);
}

void _web_keyboard_release_all(void)
{
    int i;

    if (keyboard_driver != &keyboard_web)
        return;
    for (i = 0; i < KEY_MAX; i++) {
        if (key[i])
            _handle_key_release(i);
    }
}

static void listen_to_keys(em_key_callback_func callback)
{
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, NULL, EM_TRUE, callback);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, NULL, EM_TRUE, callback);
}

static int web_key_init(void)
{
    listen_to_keys(on_key);
    return 0;
}

static void web_key_exit(void) { listen_to_keys(NULL); }

KEYBOARD_DRIVER keyboard_web = {
    .id = KEYBOARD_WEB,
    .name = empty_string,
    .desc = empty_string,
    .ascii_name = "Web keyboard",
    .autorepeat = TRUE, /* the browser repeats held keys */
    .init = web_key_init,
    .exit = web_key_exit,
};
