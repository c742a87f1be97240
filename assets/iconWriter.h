// The fighter icon in the forms the programs carry it: compiled into the
// Linux programs for their X11 window, and as a Windows icon resource.
#ifndef BROX_ICONWRITER_H
#define BROX_ICONWRITER_H

// A C++ source that defines what src/shell/windowIcon.h declares.
bool writeIconSource(const char* path);
// A Windows .ico holding the icon at several sizes, each as a PNG.
bool writeIco(const char* path);

#endif
