#ifndef BROX_WINDOWIDENTITY_H
#define BROX_WINDOWIDENTITY_H

// What the desktop knows a program's window by: the fighter icon and, on
// X11, the class that the desktop entry's StartupWMClass names, so that
// docks group the window under the game's icon. On Windows the icon is the
// programs' icon resource and these do nothing.
class windowIdentity {
public:
    // The class every window of the game's programs carries (WM_CLASS).
    static constexpr const char* windowClass = "Brox";

    // Before allegro_init, which already makes the X11 window and gives it
    // Allegro's icon unless told another.
    static void beforeLibrary();
    // Between allegro_init and set_gfx_mode, before the window is shown:
    // its class, and the icon for desktops that read _NET_WM_ICON rather
    // than the older icon hint.
    static void beforeGraphicsMode(const char* programName);
    // Before set_gfx_mode opens a window of the desktop's size: whether it
    // asks the window manager to show it full screen (X11's
    // _NET_WM_STATE_FULLSCREEN), and so to let Alt+Tab switch away from it.
    // False where there is no window manager to ask; a full-screen mode
    // must then be a mode of the display.
    static bool askForFullScreen(bool wanted);
};

#endif
