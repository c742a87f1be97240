#include "iconWriter.h"

#include <allegro.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "picArt.h"
#include "pngWriter.h"
#include "shell/picLayout.h"

namespace {

using picLayout::poleonSide;

// The picture builder draws the fighter at whole multiples of its side.
struct icon {
    explicit icon(int side) : bitmap(fighterIcon(side / poleonSide)), size(side) {}
    ~icon() { destroy_bitmap(bitmap); }
    icon(const icon&) = delete;
    icon& operator=(const icon&) = delete;
    BITMAP* bitmap;
    int size;
};

std::string hexColour(const unsigned char* rgb)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb[0], rgb[1], rgb[2]);
    return text;
}

// Allegro's X11 driver hands the window manager this picture (as WM_HINTS).
std::string xpmArray(const icon& picture)
{
    static const char symbols[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-";
    const std::vector<unsigned char> rgba = rgbaPixels(picture.bitmap);
    std::map<std::string, std::string> codes;  // colour -> two symbols
    for (std::size_t pixel = 0; pixel < rgba.size(); pixel += 4)
        if (rgba[pixel + 3] != 0 && codes.count(hexColour(&rgba[pixel])) == 0) {
            const std::size_t n = codes.size();
            codes[hexColour(&rgba[pixel])] = {symbols[n / 64 % 64], symbols[n % 64]};
        }
    std::string out = "const char* broxIconXpm[] = {\n    \"" + std::to_string(picture.size) + " "
                      + std::to_string(picture.size) + " " + std::to_string(codes.size() + 1)
                      + " 2\",\n    \"  c None\",\n";
    for (const auto& [colour, code] : codes)
        out += "    \"" + code + " c " + colour + "\",\n";
    for (int y = 0; y < picture.size; ++y) {
        out += "    \"";
        for (int x = 0; x < picture.size; ++x) {
            const unsigned char* p = &rgba[(static_cast<std::size_t>(y) * picture.size + x) * 4];
            out += p[3] == 0 ? "  " : codes[hexColour(p)];
        }
        out += "\",\n";
    }
    return out + "};\n";
}

// _NET_WM_ICON, which task bars and window switchers read: for each size its
// width, height and then ARGB pixels.
std::string netWmIconArray(const std::vector<int>& sizes)
{
    std::string out = "const unsigned long broxIconArgb[] = {\n";
    std::size_t count = 0;
    for (int size : sizes) {
        const icon picture(size);
        const std::vector<unsigned char> rgba = rgbaPixels(picture.bitmap);
        out += "    " + std::to_string(size) + ", " + std::to_string(size) + ",\n";
        count += 2;
        for (std::size_t pixel = 0; pixel < rgba.size(); pixel += 4) {
            const std::uint32_t argb = std::uint32_t{rgba[pixel + 3]} << 24
                                       | std::uint32_t{rgba[pixel]} << 16
                                       | std::uint32_t{rgba[pixel + 1]} << 8 | rgba[pixel + 2];
            char text[16];
            std::snprintf(text, sizeof text, "0x%08X,", static_cast<unsigned>(argb));
            out += (pixel % 32 == 0 ? "    " : " ") + std::string(text)
                   + (pixel % 32 == 28 ? "\n" : "");
            ++count;
        }
    }
    return out + "};\nconst int broxIconArgbLength = " + std::to_string(count) + ";\n";
}

void putLittleEndian(std::vector<unsigned char>& out, unsigned value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

}  // namespace

bool writeIconSource(const char* path)
{
    std::ofstream out(path);
    out << "// Drawn by picbuilder --icon-source; do not edit.\n#include \"shell/windowIcon.h\"\n\n"
        << xpmArray(icon(32)) << "\n"
        << netWmIconArray({32, 64});
    return static_cast<bool>(out);
}

bool writeIco(const char* path)
{
    const std::vector<int> sizes = {32, 64, 128, 256};
    std::vector<std::vector<unsigned char>> images;
    for (int size : sizes)
        images.push_back(pngBytes(icon(size).bitmap));
    // ICONDIR, then one ICONDIRENTRY per image, then the images.
    std::vector<unsigned char> file;
    putLittleEndian(file, 0, 2);
    putLittleEndian(file, 1, 2);
    putLittleEndian(file, static_cast<unsigned>(sizes.size()), 2);
    std::size_t offset = 6 + 16 * sizes.size();
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        // A side of 256 is written as 0.
        putLittleEndian(file, sizes[i] % 256, 1);
        putLittleEndian(file, sizes[i] % 256, 1);
        putLittleEndian(file, 0, 2);   // no palette, reserved
        putLittleEndian(file, 1, 2);   // colour planes
        putLittleEndian(file, 32, 2);  // bits per pixel
        putLittleEndian(file, static_cast<unsigned>(images[i].size()), 4);
        putLittleEndian(file, static_cast<unsigned>(offset), 4);
        offset += images[i].size();
    }
    for (const auto& image : images)
        file.insert(file.end(), image.begin(), image.end());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}
