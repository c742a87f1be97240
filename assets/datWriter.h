// Writes bitmaps or samples as an Allegro datafile that load_datafile reads
// back.
#ifndef BROX_DATWRITER_H
#define BROX_DATWRITER_H

#include <allegro.h>

#include <cstdint>
#include <string>
#include <vector>

struct NamedPicture {
    std::string name;
    BITMAP* bitmap;  // 32 bits per pixel
};

// The objects go into the file in the order given, each a DAT_BITMAP with
// a NAME property. The file is compressed as a whole. Returns false when
// the file cannot be written.
bool writeDatafile(const char* path, const std::vector<NamedPicture>& pictures);

struct NamedSample {
    std::string name;
    int rate;                        // samples a second
    std::vector<std::int16_t> wave;  // mono
};

// The same for sounds: each a 16-bit mono DAT_SAMPLE with a NAME property.
bool writeDatafile(const char* path, const std::vector<NamedSample>& sounds);

#endif
