// Writes the starting corpus of the datafile fuzzer into a folder: complete
// picture files, unpacked, the way the fuzzer's target reads them. A file
// the check accepts is too large to be found from nothing.

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "datWriter.h"
#include "datafileInspector.h"

namespace {

// Every object a small picture of the given side, filled with one colour.
std::vector<NamedPicture> pictures(int side)
{
    std::vector<NamedPicture> all;
    for (int index = 0; index < datafileInspector::requiredObjects; ++index) {
        BITMAP* pic = create_bitmap_ex(32, side, side);
        clear_to_color(pic, makecol32(index * 4, 255 - index * 4, 128));
        all.push_back({"PIC" + std::to_string(index), pic});
    }
    return all;
}

// Writes the pictures through the game's own writer and reads the file
// back unpacked.
std::vector<unsigned char> unpackedDatafile(int side)
{
    std::vector<NamedPicture> all = pictures(side);
    const std::string packed = "/tmp/broxSeedPacked.dat";
    const bool written = writeDatafile(packed.c_str(), all);
    for (NamedPicture& pic : all)
        destroy_bitmap(pic.bitmap);
    std::vector<unsigned char> bytes;
    PACKFILE* file = written ? pack_fopen(packed.c_str(), F_READ_PACKED) : nullptr;
    if (file == nullptr)
        return bytes;
    int c = 0;
    while ((c = pack_getc(file)) != EOF)
        bytes.push_back(static_cast<unsigned char>(c));
    pack_fclose(file);
    std::remove(packed.c_str());
    return bytes;
}

bool writeSeed(const std::string& folder, int side)
{
    const std::vector<unsigned char> bytes = unpackedDatafile(side);
    if (bytes.empty() || !datafileInspector::unpackedProblem(bytes).empty())
        return false;
    std::ofstream out(folder + "/complete" + std::to_string(side), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    install_allegro(SYSTEM_NONE, &errno, atexit);
    for (int side : {1, 2})
        if (!writeSeed(argv[1], side)) {
            std::fprintf(stderr, "could not write a seed of side %d\n", side);
            return 1;
        }
    return 0;
}
END_OF_MAIN()
