// Writes the starting corpus of the datafile fuzzer into a folder: picture
// files the check accepts, unpacked, the way the fuzzer's target reads them.
// Such a file is too large to be found from nothing, and the loader's paths
// give the fuzzer no coverage of their own, so the seeds bring the variety:
// every colour depth a datafile can store, properties, nested datafiles,
// palettes, and objects of every kind Allegro's dat utility writes, stored
// plain and compressed on their own.

#include <allegro.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "byteWriter.h"
#include "datWorkshop.h"
#include "shell/datafileInspector.h"

namespace {

using bytes = std::vector<unsigned char>;

// One object: an optional NAME property, the type, the stored and the
// unpacked size (the same: objects are stored raw) and the contents.
void putObject(bytes& out, int type, const bytes& contents, const std::string& name)
{
    if (!name.empty()) {
        putBig(out, DAT_PROPERTY);
        putBig(out, DAT_NAME);
        putBig(out, static_cast<std::uint32_t>(name.size()));
        out.insert(out.end(), name.begin(), name.end());
    }
    putBig(out, static_cast<std::uint32_t>(type));
    putBig(out, static_cast<std::uint32_t>(contents.size()));
    putBig(out, static_cast<std::uint32_t>(contents.size()));
    out.insert(out.end(), contents.begin(), contents.end());
}

// A datafile stores 32-bit pictures as three bytes a pixel, and -32 for
// pictures with an alpha channel, four bytes a pixel.
bytes bitmap(int bits, int side)
{
    const int pixelBytes = bits == -32 ? 4 : bits == 32 ? 3 : (bits + 7) / 8;
    bytes contents;
    putBig(contents, bits, 2);
    putBig(contents, side, 2);
    putBig(contents, side, 2);
    for (int i = 0; i < side * side * pixelBytes; ++i)
        contents.push_back(static_cast<unsigned char>(i * 37));
    return contents;
}

bytes palette()
{
    bytes contents;
    for (int i = 0; i < 256 * 4; ++i)
        contents.push_back(static_cast<unsigned char>(i % 64));
    return contents;
}

struct object {
    int type;
    bytes contents;
};

bytes datafile(const std::vector<object>& objects, bool named)
{
    bytes out;
    putBig(out, DAT_MAGIC);
    putBig(out, static_cast<std::uint32_t>(objects.size()));
    for (std::size_t i = 0; i < objects.size(); ++i)
        putObject(out, objects[i].type, objects[i].contents,
                  named ? "PIC" + std::to_string(i) : "");
    return out;
}

// Every object a picture of the given depth and side.
std::vector<object> plainPictures(int bits, int side)
{
    return std::vector<object>(datafileInspector::requiredObjects,
                               {DAT_BITMAP, bitmap(bits, side)});
}

// Pictures of every depth, a nested datafile and a palette where the game
// needs no picture, and two objects more than it needs.
std::vector<object> mixedObjects()
{
    const int depths[] = {8, 15, 16, 24, 32, -32};
    std::vector<object> objects;
    for (int index = 0; index < datafileInspector::requiredObjects; ++index)
        objects.push_back({DAT_BITMAP, bitmap(depths[index % 6], 1 + index % 3)});
    const bytes nested = datafile({{DAT_BITMAP, bitmap(16, 2)}, {DAT_PALETTE, palette()}}, true);
    // A nested datafile's contents are its object count and objects.
    objects[29] = {DAT_FILE, bytes(nested.begin() + 4, nested.end())};
    objects[34] = {DAT_PALETTE, palette()};
    objects.push_back({DAT_DATA, {1, 2, 3}});
    objects.push_back({DAT_ID('X', 'Y', 'Z', ' '), {}});
    return objects;
}

bool writeSeed(const std::string& path, const bytes& contents)
{
    if (!datafileInspector::unpackedProblem(contents).empty())
        return false;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(contents.data()),
              static_cast<std::streamsize>(contents.size()));
    return static_cast<bool>(out);
}

// How deep dat nests datafiles in the seeds: as deep as the game allows.
constexpr int seedNesting = 8;

// The file of every kind of object dat writes, with the objects' names
// stripped to keep it small, stored plain and with every object compressed
// on its own.
bool writeDatSeeds(const std::string& folder)
{
    datWorkshop shop;
    if (!shop.buildEveryKind("kinds.dat", seedNesting)) {
        std::fprintf(stderr, "%s\n", shop.report().c_str());
        return false;
    }
    for (const std::string compression : {"-c0", "-c1"}) {
        shop.copy("kinds.dat", "seed.dat");
        if (!shop.dat("-s2 seed.dat " + compression)) {
            std::fprintf(stderr, "%s\n", shop.report().c_str());
            return false;
        }
        // Without the packfile magic in front.
        const bytes file = shop.readBytes("seed.dat");
        const bytes unpacked(file.begin() + std::min<std::size_t>(4, file.size()), file.end());
        if (!writeSeed(folder + "/kinds" + compression, unpacked))
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    install_allegro(SYSTEM_NONE, &errno, atexit);
    const std::string folder = argv[1];
    const bool written = writeSeed(folder + "/plain32", datafile(plainPictures(32, 1), true))
                         && writeSeed(folder + "/plain8", datafile(plainPictures(8, 2), false))
                         && writeSeed(folder + "/mixed", datafile(mixedObjects(), true))
                         && writeDatSeeds(folder);
    if (!written) {
        std::fprintf(stderr, "could not write the seeds\n");
        return 1;
    }
    return 0;
}
END_OF_MAIN()
