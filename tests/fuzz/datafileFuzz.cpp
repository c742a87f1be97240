// libFuzzer target: arbitrary bytes as the unpacked contents of picData.dat.
// The check exists because Allegro's loader trusts its input, so every file
// the check lets through must load with load_datafile without a fault and
// pass the check of the loaded datafile.

#include <allegro.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "byteWriter.h"
#include "shell/datafileInspector.h"

namespace {

std::string scratchFile;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void removeScratchFile() { std::remove(scratchFile.c_str()); }

// The bytes as an uncompressed datafile on disk, the way the game finds it.
void writeScratchFile(const std::vector<unsigned char>& bytes)
{
    std::vector<unsigned char> file;
    putBig(file, F_NOPACK_MAGIC);
    file.insert(file.end(), bytes.begin(), bytes.end());
    std::ofstream out(scratchFile, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()),
              static_cast<std::streamsize>(file.size()));
    require(static_cast<bool>(out));
}

// The game runs at 24 or 32 bits, and Allegro converts every picture to
// the screen's depth as it loads it; the last byte picks which one.
int depthFor(const std::vector<unsigned char>& bytes) { return (bytes.back() & 1) != 0 ? 24 : 32; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    install_allegro(SYSTEM_NONE, &errno, atexit);
    char name[] = "/tmp/broxFuzzXXXXXX";
    const int fd = mkstemp(name);
    require(fd >= 0);
    close(fd);
    scratchFile = name;
    std::atexit(removeScratchFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<unsigned char> bytes(data, data + size);
    if (!datafileInspector::unpackedProblem(bytes).empty())
        return 0;
    writeScratchFile(bytes);
    require(datafileInspector::fileProblem(scratchFile.c_str()).empty());
    set_color_depth(depthFor(bytes));
    DATAFILE* loaded = load_datafile(scratchFile.c_str());
    require(datafileInspector::loadedProblem(loaded).empty());
    unload_datafile(loaded);
    return 0;
}
