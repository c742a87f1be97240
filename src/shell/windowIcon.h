#ifndef BROX_WINDOWICON_H
#define BROX_WINDOWICON_H

// The fighter icon for the programs' X11 windows, drawn at build time by the
// picture builder (picbuilder --icon-source) into a source of the build.

// 32 x 32, as the XPM data Allegro's X11 driver takes for allegro_icon.
extern const char* broxIconXpm[];
// _NET_WM_ICON's data: per size its width, height and ARGB pixels.
extern const unsigned long broxIconArgb[];
extern const int broxIconArgbLength;

#endif
