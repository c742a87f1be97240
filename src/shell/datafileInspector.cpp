#include "datafileInspector.h"

#include <cstdint>

namespace {

// Larger files are not pictures for this game.
constexpr long maxFileBytes = 64L * 1024 * 1024;
constexpr int maxPictureSide = 4096;
constexpr int maxNesting = 8;

// A bounds-checked big-endian reader over the unpacked datafile.
class byteReader {
public:
    explicit byteReader(const std::vector<unsigned char>& data) : bytes(data) {}

    bool read32(std::int32_t& value)
    {
        if (remaining() < 4)
            return false;
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = (v << 8) | bytes[position++];
        value = static_cast<std::int32_t>(v);
        return true;
    }

    bool read16(int& value)
    {
        if (remaining() < 2)
            return false;
        const std::uint16_t v = static_cast<std::uint16_t>((bytes[position] << 8)
                                                           | bytes[position + 1]);
        position += 2;
        value = static_cast<std::int16_t>(v);
        return true;
    }

    bool skip(std::size_t count)
    {
        if (remaining() < count)
            return false;
        position += count;
        return true;
    }

    std::size_t remaining() const { return bytes.size() - position; }
    std::size_t offset() const { return position; }

private:
    const std::vector<unsigned char>& bytes;
    std::size_t position = 0;
};

int bytesPerPixel(int bits)
{
    switch (bits) {
    case 8: return 1;
    case 15:
    case 16: return 2;
    case 24:
    case 32: return 3;
    case -32: return 4;
    default: return 0;
    }
}

bool isAllegroType(std::int32_t type, const char* name)
{
    return type == DAT_ID(name[0], name[1], name[2], name[3]);
}

// Types with loaders of their own that the game has no use for and that
// are not checked here; everything unknown is plain data to Allegro.
bool isUncheckedType(std::int32_t type)
{
    for (const char* name : {"FONT", "MIDI", "PAT ", "FLIC", "RLE ", "CMP ", "XCMP"})
        if (isAllegroType(type, name))
            return true;
    return false;
}

class structureWalker {
public:
    explicit structureWalker(const std::vector<unsigned char>& bytes) : reader(bytes) {}

    // Leaves the type of every object at the top level in types.
    std::string walkRoot(std::vector<std::int32_t>& types)
    {
        std::int32_t magic = 0;
        if (!reader.read32(magic) || magic != DAT_MAGIC)
            return "it is not an Allegro datafile";
        return walkObjects(0, &types);
    }

private:
    std::string walkObjects(int depth, std::vector<std::int32_t>* rootTypes)
    {
        if (depth > maxNesting)
            return "its datafiles are nested too deeply";
        std::int32_t count = 0;
        if (!reader.read32(count) || count < 0)
            return "it is cut short";
        if (static_cast<std::size_t>(count) > reader.remaining() / 12)
            return "it claims more objects than it holds";
        for (std::int32_t index = 0; index < count; ++index) {
            std::int32_t type = 0;
            const std::string problem = walkObject(depth, type);
            if (!problem.empty())
                return "object " + std::to_string(index) + ": " + problem;
            if (rootTypes != nullptr)
                rootTypes->push_back(type);
        }
        return "";
    }

    std::string walkObject(int depth, std::int32_t& type)
    {
        if (!skipProperties(type))
            return "its properties are damaged";
        std::int32_t packedSize = 0;
        std::int32_t size = 0;
        if (!reader.read32(packedSize) || !reader.read32(size))
            return "it is cut short";
        if (size < 0)
            return "it is compressed on its own, which the game does not read";
        if (packedSize != size || static_cast<std::size_t>(size) > reader.remaining())
            return "its size is wrong";
        if (isUncheckedType(type))
            return "it is of a kind the game does not use";
        // Allegro marks the free slots of its table of loaders with this
        // type and no loader: an object of it would be loaded by calling
        // a null function.
        if (type == DAT_END)
            return "its kind marks the end of a datafile";
        const std::size_t end = reader.offset() + static_cast<std::size_t>(size);
        std::string problem;
        if (type == DAT_BITMAP) {
            problem = checkBitmap(static_cast<std::size_t>(size));
        } else if (type == DAT_SAMPLE) {
            problem = checkSample(static_cast<std::size_t>(size));
        } else if (type == DAT_FILE) {
            problem = walkObjects(depth + 1, nullptr);
        } else if (type == DAT_PALETTE) {
            problem = size == 256 * 4 ? "" : "its palette is damaged";
        }
        if (problem.empty() && reader.offset() > end)
            problem = "its size is wrong";
        if (problem.empty())
            reader.skip(end - reader.offset());
        return problem;
    }

    // Reads the property list in front of an object and leaves its type.
    // A property of the end type would end Allegro's list of the object's
    // properties early, and what it holds would never be freed.
    bool skipProperties(std::int32_t& type)
    {
        while (reader.read32(type)) {
            if (type != DAT_PROPERTY)
                return true;
            std::int32_t propertyType = 0;
            std::int32_t length = 0;
            if (!reader.read32(propertyType) || propertyType == DAT_END || !reader.read32(length)
                || length < 0 || !reader.skip(static_cast<std::size_t>(length)))
                return false;
        }
        return false;
    }

    std::string checkBitmap(std::size_t size)
    {
        int bits = 0;
        int width = 0;
        int height = 0;
        if (!reader.read16(bits) || !reader.read16(width) || !reader.read16(height))
            return "its picture is cut short";
        const int pixelBytes = bytesPerPixel(bits);
        if (pixelBytes == 0)
            return "its picture has an unknown colour depth";
        if (width < 1 || height < 1 || width > maxPictureSide || height > maxPictureSide)
            return "its picture has an impossible size";
        const std::size_t pixels = static_cast<std::size_t>(width) * height * pixelBytes;
        if (pixels + 6 != size)
            return "its picture is damaged";
        return "";
    }

    // Bits are 8 or 16, negative for stereo; the rate is unsigned.
    std::string checkSample(std::size_t size)
    {
        int bits = 0;
        int rate = 0;
        std::int32_t length = 0;
        if (!reader.read16(bits) || !reader.read16(rate) || !reader.read32(length))
            return "its sample is cut short";
        const int channels = bits < 0 ? 2 : 1;
        const int sampleBytes = (bits < 0 ? -bits : bits) / 8;
        if ((sampleBytes != 1 && sampleBytes != 2) || (bits % 8) != 0)
            return "its sample has an unknown format";
        if ((rate & 0xffff) == 0 || length < 0)
            return "its sample has an impossible rate or length";
        if (static_cast<std::size_t>(length) * channels * sampleBytes + 8 != size)
            return "its sample is damaged";
        return "";
    }

    byteReader reader;
};

bool readWholeFile(const char* fileName, std::vector<unsigned char>& bytes)
{
    PACKFILE* file = pack_fopen(fileName, F_READ_PACKED);
    if (file == nullptr)
        return false;
    unsigned char block[4096];
    long got = 0;
    while ((got = pack_fread(block, sizeof block, file)) > 0) {
        bytes.insert(bytes.end(), block, block + got);
        if (static_cast<long>(bytes.size()) > maxFileBytes)
            break;
    }
    const bool ok = pack_ferror(file) == 0 && static_cast<long>(bytes.size()) <= maxFileBytes;
    pack_fclose(file);
    return ok;
}

const char* kindName(std::int32_t type)
{
    return type == DAT_SAMPLE ? "sample" : "picture";
}

} // namespace

std::string datafileInspector::fileProblem(const char* fileName)
{
    std::vector<unsigned char> bytes;
    if (!readWholeFile(fileName, bytes))
        return "it could not be read";
    return unpackedProblem(bytes);
}

std::string datafileInspector::unpackedProblem(const std::vector<unsigned char>& bytes)
{
    std::vector<std::int32_t> types;
    const std::string problem = structureWalker(bytes).walkRoot(types);
    return problem.empty() ? typesProblem(types, requiredObjects, DAT_BITMAP) : problem;
}

std::string datafileInspector::loadedProblem(const DATAFILE* file)
{
    return loadedTypesProblem(file, requiredObjects, DAT_BITMAP);
}

std::string datafileInspector::soundFileProblem(const char* fileName, int sampleCount)
{
    std::vector<unsigned char> bytes;
    if (!readWholeFile(fileName, bytes))
        return "it could not be read";
    std::vector<std::int32_t> types;
    const std::string problem = structureWalker(bytes).walkRoot(types);
    return problem.empty() ? typesProblem(types, sampleCount, DAT_SAMPLE) : problem;
}

std::string datafileInspector::loadedSoundProblem(const DATAFILE* file, int sampleCount)
{
    return loadedTypesProblem(file, sampleCount, DAT_SAMPLE);
}

std::string datafileInspector::typesProblem(const std::vector<std::int32_t>& types, int count,
                                            std::int32_t type)
{
    const int held = static_cast<int>(types.size());
    if (held < count)
        return "it holds " + std::to_string(held) + " objects, " + std::to_string(count)
               + " are needed";
    for (int index = 0; index < count; ++index)
        if (types[index] != type && !(type == DAT_BITMAP && isUnusedIndex(index)))
            return "object " + std::to_string(index) + " is not a " + kindName(type);
    return "";
}

std::string datafileInspector::loadedTypesProblem(const DATAFILE* file, int count,
                                                  std::int32_t type)
{
    if (file == nullptr)
        return "it could not be read";
    std::vector<std::int32_t> types;
    for (int index = 0; index < count && file[index].type != DAT_END; ++index)
        types.push_back(file[index].dat != nullptr ? file[index].type : DAT_END);
    return typesProblem(types, count, type);
}

bool datafileInspector::isUnusedIndex(int index)
{
    return index == 29 || index == 34;
}
