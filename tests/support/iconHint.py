"""Prints the size of the icon pixmap a window's WM_HINTS name, the older
icon hint that desktops without _NET_WM_ICON show, and how many of its
pixels are the given colour. Usage: iconHint.py ID RRGGBB"""
import sys

from Xlib import X, Xutil, display

screen = display.Display()
window = screen.create_resource_object("window", int(sys.argv[1], 0))
hints = window.get_wm_hints()
if hints is None or not hints.flags & Xutil.IconPixmapHint:
    print("no icon")
    sys.exit()
pixmap = hints.icon_pixmap
size = pixmap.get_geometry()
pixels = pixmap.get_image(0, 0, size.width, size.height, X.ZPixmap, 0xFFFFFFFF).data
# A 24-bit display keeps a pixel in four bytes: blue, green, red, unused.
red, green, blue = bytes.fromhex(sys.argv[2])
wanted = bytes([blue, green, red])
matches = sum(pixels[i : i + 3] == wanted for i in range(0, len(pixels), 4))
print(f"{size.width}x{size.height} {matches}")
