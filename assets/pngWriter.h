// Writes an Allegro bitmap as a PNG file, for the desktop icons and the
// README's pictures of the status icons:
// Allegro itself writes only BMP, PCX and TGA.
#ifndef BROX_PNGWRITER_H
#define BROX_PNGWRITER_H

#include <allegro.h>

// The mask colour becomes fully transparent, every other pixel opaque.
// Returns false when the file cannot be written.
bool writePng(const char* path, BITMAP* bitmap);

#endif
