#include "datWriter.h"

namespace {

void writeProperty(PACKFILE *f, int type, const std::string &value) {
  pack_mputl(DAT_PROPERTY, f);
  pack_mputl(type, f);
  pack_mputl(static_cast<long>(value.size()), f);
  pack_fwrite(value.data(), static_cast<long>(value.size()), f);
}

// A bitmap object: depth, width and height, then the pixels row by row,
// three bytes (red, green, blue) each, as datafiles store true colour.
void writeBitmap(PACKFILE *f, BITMAP *bmp) {
  const long size = 6 + 3L * bmp->w * bmp->h;
  pack_mputl(DAT_BITMAP, f);
  pack_mputl(size, f); // stored size
  pack_mputl(size, f); // unpacked size: the same, as objects are stored raw
  pack_mputw(bitmap_color_depth(bmp), f);
  pack_mputw(bmp->w, f);
  pack_mputw(bmp->h, f);
  for (int y = 0; y < bmp->h; ++y)
    for (int x = 0; x < bmp->w; ++x) {
      const int c = getpixel(bmp, x, y);
      pack_putc(getr32(c), f);
      pack_putc(getg32(c), f);
      pack_putc(getb32(c), f);
    }
}

} // namespace

bool writeDatafile(const char *path, const std::vector<NamedPicture> &pictures) {
  for (const NamedPicture &pic : pictures)
    if (!pic.bitmap || bitmap_color_depth(pic.bitmap) != 32)
      return false;
  PACKFILE *f = pack_fopen(path, F_WRITE_PACKED);
  if (!f)
    return false;
  pack_mputl(DAT_MAGIC, f);
  pack_mputl(static_cast<long>(pictures.size()), f);
  for (const NamedPicture &pic : pictures) {
    writeProperty(f, DAT_NAME, pic.name);
    writeBitmap(f, pic.bitmap);
  }
  const bool written = !pack_ferror(f);
  return pack_fclose(f) == 0 && written;
}
