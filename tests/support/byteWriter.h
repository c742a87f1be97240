#ifndef BROX_BYTE_WRITER_H
#define BROX_BYTE_WRITER_H

#include <cstddef>
#include <cstdint>
#include <vector>

// The tests write their files byte by byte: Allegro's datafiles keep every
// number most significant byte first, the WAV sounds given to dat least
// significant first.

// Writes `value` over the `width` bytes of `bytes` from `at` on.
inline void setBig(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value,
                   int width = 4)
{
    for (int i = 0; i < width; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * (width - 1 - i)));
}

// Appends `value` in `width` bytes.
inline void putBig(std::vector<unsigned char>& bytes, std::uint32_t value, int width = 4)
{
    bytes.resize(bytes.size() + width);
    setBig(bytes, bytes.size() - width, value, width);
}

// Appends `value` in `width` bytes, least significant first.
inline void putLittle(std::vector<unsigned char>& bytes, std::uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

#endif
