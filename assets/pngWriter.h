// Writes an Allegro bitmap as a PNG file, for the desktop icons and the
// README's pictures of the status icons:
// Allegro itself writes only BMP, PCX and TGA.
#ifndef BROX_PNGWRITER_H
#define BROX_PNGWRITER_H

#include <allegro.h>

#include <vector>

// The mask colour becomes fully transparent, every other pixel opaque.
// Returns false when the file cannot be written.
bool writePng(const char* path, BITMAP* bitmap);
// The same PNG file's bytes, for a file that embeds it (a Windows icon).
std::vector<unsigned char> pngBytes(BITMAP* bitmap);
// Red, green, blue and alpha of every pixel, row by row, the mask colour
// transparent.
std::vector<unsigned char> rgbaPixels(BITMAP* bitmap);

#endif
