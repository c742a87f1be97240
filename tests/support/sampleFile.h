#ifndef BROX_SAMPLE_FILE_H
#define BROX_SAMPLE_FILE_H

#include <gtest/gtest.h>

#include <allegro.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "byteWriter.h"

// The last sample of a test file: bits (negative for stereo), the frames
// stored and the frames its header declares.
struct sampleShape {
    int bits = 16;
    std::uint32_t frames = 4;
    std::uint32_t declaredFrames = 4;
};

// A compressed datafile of silent samples; a declared length other than
// the stored one makes a damaged sample.
inline void writeSampleFile(const char* name, int samples, sampleShape last = {})
{
    std::vector<unsigned char> bytes;
    putBig(bytes, DAT_MAGIC);
    putBig(bytes, samples);
    for (int index = 0; index < samples; ++index) {
        const sampleShape shape = index == samples - 1 ? last : sampleShape{};
        const std::uint32_t dataBytes =
            shape.frames * (shape.bits < 0 ? 2 : 1) * (std::abs(shape.bits) / 8);
        putBig(bytes, DAT_SAMPLE);
        putBig(bytes, 8 + dataBytes);
        putBig(bytes, 8 + dataBytes);
        putBig(bytes, static_cast<std::uint16_t>(shape.bits), 2);
        putBig(bytes, 22050, 2);
        putBig(bytes, shape.declaredFrames);
        bytes.insert(bytes.end(), dataBytes, 0x80);
    }
    PACKFILE* out = pack_fopen(name, F_WRITE_PACKED);
    ASSERT_NE(out, nullptr);
    pack_fwrite(bytes.data(), static_cast<long>(bytes.size()), out);
    pack_fclose(out);
}

#endif
