#ifndef BROX_DATAFILEINSPECTOR_H
#define BROX_DATAFILEINSPECTOR_H

#include <allegro.h>

#include <cstdint>
#include <string>
#include <vector>

#include "picData.h"

// Checks a graphics datafile before and after Allegro loads it. Allegro's
// loader trusts its input and crashes on a truncated or damaged file, so the
// file's structure is walked here first, with every size checked, down into
// the objects of every kind Allegro's tools write.
// Every answer is empty when all is well, else what is wrong in a few words.
class datafileInspector {
public:
    // Objects a usable graphics datafile must hold.
    static constexpr int requiredObjects = picData::objectCount;

    // False when the file is missing or cannot be opened for reading, which
    // the game reports as not found; anything else there counts as found.
    static bool isFound(const char* fileName);
    // The file as a whole: a regular file, readable, well formed, with
    // pictures where the game needs them.
    static std::string fileProblem(const char* fileName);
    // The same for the file's bytes once unpacked (after the packfile magic
    // has been dealt with).
    static std::string unpackedProblem(const std::vector<unsigned char>& bytes);
    // A datafile as Allegro loaded it.
    static std::string loadedProblem(const DATAFILE* file);

    // The same checks for the sound datafile, which holds a sample at each
    // of its first sampleCount indices.
    static std::string soundFileProblem(const char* fileName, int sampleCount);
    static std::string loadedSoundProblem(const DATAFILE* file, int sampleCount);

private:
    static bool isUnusedIndex(int index);
    // Reads and walks a whole file, leaving the types of its objects.
    static std::string wholeFileProblem(const char* fileName, std::vector<std::int32_t>& types);
    // Whether the objects the game reads, the first count, are of the type;
    // the picture file's unused indices may hold anything.
    static std::string typesProblem(const std::vector<std::int32_t>& types, int count,
                                    std::int32_t type);
    static std::string loadedTypesProblem(const DATAFILE* file, int count, std::int32_t type);
};

#endif
