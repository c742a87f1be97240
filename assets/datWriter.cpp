#include "datWriter.h"

namespace {

void writeProperty(PACKFILE* f, int type, const std::string& value)
{
    pack_mputl(DAT_PROPERTY, f);
    pack_mputl(type, f);
    pack_mputl(static_cast<long>(value.size()), f);
    pack_fwrite(value.data(), static_cast<long>(value.size()), f);
}

// A bitmap object: depth, width and height, then the pixels row by row,
// three bytes (red, green, blue) each, as datafiles store true colour.
void writeBitmap(PACKFILE* f, BITMAP* bmp)
{
    const long size = 6 + 3L * bmp->w * bmp->h;
    pack_mputl(DAT_BITMAP, f);
    pack_mputl(size, f);  // stored size
    pack_mputl(size, f);  // unpacked size: the same, as objects are stored raw
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

// A sample object: bits, rate and length, then the data, which Allegro
// keeps unsigned and a datafile stores low byte first.
void writeSample(PACKFILE* f, const NamedSample& sound)
{
    const long length = static_cast<long>(sound.wave.size());
    const long size = 8 + 2 * length;
    pack_mputl(DAT_SAMPLE, f);
    pack_mputl(size, f);
    pack_mputl(size, f);
    pack_mputw(16, f);
    pack_mputw(sound.rate, f);
    pack_mputl(length, f);
    for (std::int16_t value : sound.wave)
        pack_iputw(static_cast<std::uint16_t>(value) ^ 0x8000, f);
}

// Every object is preceded by its name; the file is compressed as a whole.
template <typename Object, typename WriteBody>
bool writeObjects(const char* path, const std::vector<Object>& objects, WriteBody writeBody)
{
    PACKFILE* f = pack_fopen(path, F_WRITE_PACKED);
    if (!f)
        return false;
    pack_mputl(DAT_MAGIC, f);
    pack_mputl(static_cast<long>(objects.size()), f);
    for (const Object& object : objects) {
        writeProperty(f, DAT_NAME, object.name);
        writeBody(f, object);
    }
    const bool written = !pack_ferror(f);
    return pack_fclose(f) == 0 && written;
}

}  // namespace

bool writeDatafile(const char* path, const std::vector<NamedPicture>& pictures)
{
    for (const NamedPicture& pic : pictures)
        if (!pic.bitmap || bitmap_color_depth(pic.bitmap) != 32)
            return false;
    return writeObjects(path, pictures,
                        [](PACKFILE* f, const NamedPicture& pic) { writeBitmap(f, pic.bitmap); });
}

bool writeDatafile(const char* path, const std::vector<NamedSample>& sounds)
{
    for (const NamedSample& sound : sounds)
        if (sound.rate <= 0 || sound.rate > 0xffff || sound.wave.empty())
            return false;
    return writeObjects(path, sounds, writeSample);
}
