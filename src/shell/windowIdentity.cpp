#include "windowIdentity.h"

#include <allegro.h>

// A browser page is Unix to Allegro, but has no X server.
#if defined(ALLEGRO_UNIX) && !defined(ALLEGRO_MACOSX) && !defined(__EMSCRIPTEN__)
#include <xalleg.h>

#include <X11/Xatom.h>

#include "windowIcon.h"
#define BROX_X11_WINDOW 1

// The X11 driver's icon; the manual declares it, no header does.
extern "C" void* allegro_icon;
#endif

void windowIdentity::beforeLibrary()
{
#ifdef BROX_X11_WINDOW
    allegro_icon = static_cast<void*>(broxIconXpm);
#endif
}

void windowIdentity::beforeGraphicsMode(const char* programName)
{
#ifdef BROX_X11_WINDOW
    // Allegro keeps the names for the window it makes again after a mode,
    // but hands them only to its inner window, not to the one the window
    // manager sees: that one is named here.
    xwin_set_window_name(programName, windowClass);
    // Allegro's own thread talks to the display too, so under its lock.
    XLOCK();
    if (_xwin.display != nullptr && _xwin.wm_window != None) {
        XClassHint hint;
        hint.res_name = _xwin.application_name;
        hint.res_class = _xwin.application_class;
        XSetClassHint(_xwin.display, _xwin.wm_window, &hint);
        const Atom netWmIcon = XInternAtom(_xwin.display, "_NET_WM_ICON", False);
        XChangeProperty(_xwin.display, _xwin.wm_window, netWmIcon, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(broxIconArgb), broxIconArgbLength);
        XFlush(_xwin.display);
    }
    XUNLOCK();
#else
    static_cast<void>(programName);
#endif
}
