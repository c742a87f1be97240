#include "windowIdentity.h"

#include <allegro.h>

// Where Allegro has its X11 driver: not on Windows, macOS or a web page.
#ifdef ALLEGRO_WITH_XWINDOWS
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

bool windowIdentity::askForFullScreen(bool wanted)
{
#ifdef BROX_X11_WINDOW
    // Allegro's full-screen mode is a window above the window manager that
    // grabs the keyboard, which no other window can then come in front of.
    // A managed window in the full-screen state covers the monitor as well,
    // and the window manager can switch away from it. Set while the window
    // is unmapped, the property is read when it is shown.
    bool asked = false;
    XLOCK();
    if (_xwin.display != nullptr && _xwin.wm_window != None) {
        const Atom state = XInternAtom(_xwin.display, "_NET_WM_STATE", False);
        if (wanted) {
            Atom fullScreen = XInternAtom(_xwin.display, "_NET_WM_STATE_FULLSCREEN", False);
            XChangeProperty(_xwin.display, _xwin.wm_window, state, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(&fullScreen), 1);
        } else {
            XDeleteProperty(_xwin.display, _xwin.wm_window, state);
        }
        XFlush(_xwin.display);
        asked = true;
    }
    XUNLOCK();
    return asked;
#else
    static_cast<void>(wanted);
    return false;
#endif
}
