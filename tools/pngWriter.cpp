#include "pngWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::uint32_t crc32(const Bytes& data, std::size_t from)
{
    std::uint32_t crc = 0xffffffffu;
    for (std::size_t i = from; i < data.size(); ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t adler32(const Bytes& data)
{
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void put32(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

void putChunk(Bytes& out, const char* type, const Bytes& body)
{
    put32(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    put32(out, crc32(out, start));
}

// Filter byte 0 and RGBA for every row.
Bytes rawRows(BITMAP* bitmap)
{
    const int mask = bitmap_mask_color(bitmap);
    Bytes rows;
    for (int y = 0; y < bitmap->h; ++y) {
        rows.push_back(0);
        for (int x = 0; x < bitmap->w; ++x) {
            const int c = getpixel(bitmap, x, y);
            rows.insert(rows.end(), {static_cast<unsigned char>(getr32(c)),
                                     static_cast<unsigned char>(getg32(c)),
                                     static_cast<unsigned char>(getb32(c)),
                                     static_cast<unsigned char>(c == mask ? 0 : 255)});
        }
    }
    return rows;
}

// A zlib stream of stored (uncompressed) blocks: icons are small, and this
// needs no compressor.
Bytes zlibStored(const Bytes& data)
{
    Bytes out{0x78, 0x01};
    constexpr std::size_t maxBlock = 65535;
    std::size_t at = 0;
    do {
        const std::size_t size = std::min(maxBlock, data.size() - at);
        const bool last = at + size == data.size();
        out.push_back(last ? 1 : 0);
        out.insert(out.end(),
                   {static_cast<unsigned char>(size), static_cast<unsigned char>(size >> 8),
                    static_cast<unsigned char>(~size), static_cast<unsigned char>(~size >> 8)});
        out.insert(out.end(), data.begin() + at, data.begin() + at + size);
        at += size;
    } while (at < data.size());
    put32(out, adler32(data));
    return out;
}

}  // namespace

bool writePng(const char* path, BITMAP* bitmap)
{
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Bytes header;
    put32(header, static_cast<std::uint32_t>(bitmap->w));
    put32(header, static_cast<std::uint32_t>(bitmap->h));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", zlibStored(rawRows(bitmap)));
    putChunk(png, "IEND", {});
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && written;
}
