#include "datafileInspector.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

// Larger files are not pictures for this game; the objects compressed on
// their own in a file may unpack to as much again, all together.
constexpr long maxFileBytes = 64L * 1024 * 1024;
constexpr int maxPictureSide = 4096;
constexpr int maxNesting = 8;
constexpr int paletteBytes = 256 * 4;
constexpr int midiTracks = 32;

// A bounds-checked reader over part of the unpacked datafile.
class byteReader {
public:
    byteReader() = default;
    byteReader(const unsigned char* data, std::size_t size) : bytes(data), length(size) {}
    explicit byteReader(const std::vector<unsigned char>& data)
        : byteReader(data.data(), data.size())
    {
    }

    // The datafile's own fields are big-endian.
    bool read32(std::int32_t& value) { return readNumber(4, false, value); }

    bool read16(int& value)
    {
        std::int32_t wide = 0;
        const bool read = readNumber(2, false, wide);
        value = wide;
        return read;
    }

    bool readByte(int& value)
    {
        std::int32_t wide = 0;
        const bool read = readNumber(1, false, wide);
        value = wide & 0xff;
        return read;
    }

    // A signed number of 1, 2 or 4 bytes, least significant byte first.
    bool readLittle(int width, std::int32_t& value) { return readNumber(width, true, value); }

    bool skip(std::size_t count)
    {
        if (remaining() < count)
            return false;
        position += count;
        return true;
    }

    // The next count bytes, as a reader of their own.
    bool split(std::size_t count, byteReader& part)
    {
        if (remaining() < count)
            return false;
        part = byteReader(bytes + position, count);
        position += count;
        return true;
    }

    std::size_t remaining() const { return length - position; }
    const unsigned char* here() const { return bytes + position; }

private:
    bool readNumber(int width, bool littleEndian, std::int32_t& value)
    {
        if (remaining() < static_cast<std::size_t>(width))
            return false;
        std::uint32_t v = 0;
        for (int i = 0; i < width; ++i)
            v = (v << 8) | bytes[position + (littleEndian ? width - 1 - i : i)];
        position += width;
        const std::uint32_t signBit = 1u << (8 * width - 1);
        if (width < 4 && (v & signBit) != 0)
            v |= ~(signBit - 1);
        value = static_cast<std::int32_t>(v);
        return true;
    }

    const unsigned char* bytes = nullptr;
    std::size_t length = 0;
    std::size_t position = 0;
};

// Allegro's packfile interface over bytes in memory, so that an object
// compressed on its own is unpacked by Allegro's own decompressor.
class memoryPackfile {
public:
    explicit memoryPackfile(const byteReader& source)
        : bytes(source.here()),
          length(source.remaining()),
          file(pack_fopen_vtable(&vtable, this))
    {
    }
    ~memoryPackfile()
    {
        if (file != nullptr)
            pack_fclose(file);
    }
    memoryPackfile(const memoryPackfile&) = delete;
    memoryPackfile& operator=(const memoryPackfile&) = delete;

    PACKFILE* get() const { return file; }
    bool allRead() const { return position == length; }

private:
    static memoryPackfile& of(void* self) { return *static_cast<memoryPackfile*>(self); }
    static int close(void*) { return 0; }
    static int getByte(void* self)
    {
        memoryPackfile& source = of(self);
        return source.position < source.length ? source.bytes[source.position++] : EOF;
    }
    static int ungetByte(int byte, void* self)
    {
        memoryPackfile& source = of(self);
        if (source.position == 0)
            return EOF;
        --source.position;
        return byte;
    }
    static long read(void* out, long count, void* self)
    {
        memoryPackfile& source = of(self);
        const std::size_t taken = std::min(static_cast<std::size_t>(std::max(count, 0L)),
                                           source.length - source.position);
        std::memcpy(out, source.bytes + source.position, taken);
        source.position += taken;
        return static_cast<long>(taken);
    }
    static int putByte(int, void*) { return EOF; }
    static long write(const void*, long, void*) { return 0; }
    static int seek(void* self, int offset)
    {
        memoryPackfile& source = of(self);
        if (offset < 0 || static_cast<std::size_t>(offset) > source.length - source.position)
            return -1;
        source.position += offset;
        return 0;
    }
    static int atEnd(void* self) { return of(self).position >= of(self).length; }
    static int failed(void*) { return 0; }

    static constexpr PACKFILE_VTABLE vtable = {close, getByte, ungetByte, read,  putByte,
                                               write, seek,    atEnd,     failed};

    const unsigned char* bytes;
    std::size_t length;
    std::size_t position = 0;
    PACKFILE* file;
};

// Allegro's LZSS as its unpacker reads it: a flag byte before every eight
// items, a set bit (lowest first) for a literal byte, a clear one for two
// bytes that copy 3 to 18 bytes, one by one, from a ring of 4096 that the
// unpacked bytes are written into. The ring starts zero but for its last
// 18 bytes, where writing starts and which Allegro leaves as the memory
// was: a copy that reads one of them before it is written unpacks to
// whatever lay there, so that no two loads need agree. This walk only
// follows the copies; the bytes themselves are Allegro's to unpack.
bool readsOnlyWrittenRing(byteReader stream, std::size_t size)
{
    constexpr int ringSize = 4096;
    constexpr int firstWritten = ringSize - 18;
    std::size_t written = 0;
    while (written < size) {
        int flags = 0;
        if (!stream.readByte(flags))
            return false;
        for (int item = 0; item < 8 && written < size; ++item, flags >>= 1) {
            if ((flags & 1) != 0) {
                if (!stream.skip(1))
                    return false;
                ++written;
                continue;
            }
            int low = 0;
            int high = 0;
            if (!stream.readByte(low) || !stream.readByte(high))
                return false;
            const int from = low | (high & 0xf0) << 4;
            const int length = (high & 0x0f) + 3;
            for (int copied = 0; copied < length && written < size; ++copied, ++written) {
                const int position = (from + copied) % ringSize;
                if (position >= firstWritten
                    && static_cast<std::size_t>(position - firstWritten) >= written)
                    return false;
            }
        }
    }
    return true;
}

// Unpacks an object compressed on its own from its stored bytes, the way
// Allegro's loader reads it; false unless they hold every byte the object
// claims and no more (Allegro loses its place in the file after an object
// whose compressed bytes go on beyond its contents), and unpack the same
// on every load.
bool unpackObject(const byteReader& stored, std::size_t size, std::vector<unsigned char>& unpacked)
{
    if (!readsOnlyWrittenRing(stored, size))
        return false;
    memoryPackfile source(stored);
    LZSS_UNPACK_DATA* state = create_lzss_unpack_data();
    bool whole = false;
    if (source.get() != nullptr && state != nullptr) {
        unpacked.resize(size);
        whole = lzss_read(source.get(), state, static_cast<int>(size), unpacked.data())
                    == static_cast<int>(size)
                && source.allRead();
    }
    if (state != nullptr)
        free_lzss_unpack_data(state);
    return whole;
}

int bytesPerPixel(int bits)
{
    switch (bits) {
    case 8:
        return 1;
    case 15:
    case 16:
        return 2;
    case 24:
    case 32:
        return 3;
    case -32:
        return 4;
    default:
        return 0;
    }
}

// The depth and size in front of the pixels of a picture or sprite.
struct pictureHeader {
    int bits = 0;
    int width = 0;
    int height = 0;
};

std::string readPictureHeader(byteReader& contents, pictureHeader& header)
{
    if (!contents.read16(header.bits) || !contents.read16(header.width)
        || !contents.read16(header.height))
        return "its picture is cut short";
    if (bytesPerPixel(header.bits) == 0)
        return "its picture has an unknown colour depth";
    if (header.width < 1 || header.height < 1 || header.width > maxPictureSide
        || header.height > maxPictureSide)
        return "its picture has an impossible size";
    return "";
}

// Bitmaps and compiled sprites: the header, then every pixel.
std::string pictureProblem(byteReader& contents)
{
    pictureHeader header;
    const std::string problem = readPictureHeader(contents, header);
    if (!problem.empty())
        return problem;
    const std::size_t pixels =
        static_cast<std::size_t>(header.width) * header.height * bytesPerPixel(header.bits);
    return contents.remaining() == pixels && contents.skip(pixels) ? "" : "its picture is damaged";
}

// How an RLE sprite of a colour depth stores its runs: the width of a count,
// the count that ends a row, and the bytes of a pixel in the file and in
// memory, where Allegro gives 24-bit pixels four bytes too.
struct rleFormat {
    int countBytes;
    std::int32_t endOfRow;
    int filePixel;
    int memoryPixel;
};

rleFormat rleFormatOf(int bits)
{
    switch (bits) {
    case 8:
        return {1, 0, 1, 1};
    case 15:
    case 16:
        return {2, static_cast<std::int16_t>(0xf81f), 2, 2};
    case -32:
        return {4, 0xff00ff, 4, 4};
    default:
        return {4, 0xff00ff, 3, 4};
    }
}

// One row of an RLE sprite: runs of solid pixels (a positive count, then
// the pixels) and of skipped ones (a negative count) that cover the row
// exactly, then the end-of-row count.
bool rleRowIsSound(byteReader& contents, const rleFormat& format, int width, std::int64_t& solid)
{
    std::int64_t covered = 0;
    for (;;) {
        std::int32_t count = 0;
        if (!contents.readLittle(format.countBytes, count))
            return false;
        if (count == format.endOfRow)
            return covered == width;
        const std::int64_t run = count < 0 ? -std::int64_t{count} : count;
        if (count == 0 || run > width - covered)
            return false;
        if (count > 0 && !contents.skip(static_cast<std::size_t>(run) * format.filePixel))
            return false;
        covered += run;
        solid += count > 0 ? run : 0;
    }
}

// Allegro sizes the sprite it loads by the size the file gives for its
// runs in memory, so that size must be the one the runs take.
std::string rleSpriteProblem(byteReader& contents)
{
    pictureHeader header;
    const std::string problem = readPictureHeader(contents, header);
    if (!problem.empty())
        return problem;
    std::int32_t memoryBytes = 0;
    if (!contents.read32(memoryBytes))
        return "its sprite is damaged";
    const rleFormat format = rleFormatOf(header.bits);
    const std::size_t start = contents.remaining();
    std::int64_t solid = 0;
    for (int row = 0; row < header.height; ++row)
        if (!rleRowIsSound(contents, format, header.width, solid))
            return "its sprite is damaged";
    const std::int64_t fileBytes = static_cast<std::int64_t>(start - contents.remaining());
    if (fileBytes + solid * (format.memoryPixel - format.filePixel) != memoryBytes)
        return "its sprite is damaged";
    return "";
}

// One range of a font's glyphs; `kind` is the font's (1 mono, 0 colour),
// -1 until a range has set it.
bool fontRangeIsSound(byteReader& contents, bool onlyRange, int& kind)
{
    int rangeKind = 0;
    std::int32_t first = 0;
    std::int32_t last = 0;
    if (!contents.readByte(rangeKind) || !contents.read32(first) || !contents.read32(last))
        return false;
    const std::int64_t glyphs = std::int64_t{last} - first + 1;
    if (glyphs < 0 || glyphs > static_cast<std::int64_t>(contents.remaining() / 4))
        return false;
    // dat leaves the kind unset in a font without glyphs. Allegro loses the
    // glyphs of a mono range that follows a colour one, so a font is of one
    // kind throughout.
    if (onlyRange && glyphs == 0)
        return true;
    if ((rangeKind != 0 && rangeKind != 1) || (kind >= 0 && rangeKind != kind))
        return false;
    kind = rangeKind;
    for (std::int64_t glyph = 0; glyph < glyphs; ++glyph) {
        int width = 0;
        int height = 0;
        if (!contents.read16(width) || !contents.read16(height) || width < 0 || height < 0
            || width > maxPictureSide || height > maxPictureSide)
            return false;
        const int rowBytes = kind == 1 ? (width + 7) / 8 : width;
        if (!contents.skip(static_cast<std::size_t>(rowBytes) * height))
            return false;
    }
    return true;
}

// Fonts in the format of Allegro 4: a zero, the number of ranges, the ranges.
std::string fontProblem(byteReader& contents)
{
    int format = 0;
    int ranges = 0;
    if (!contents.read16(format) || format != 0 || !contents.read16(ranges) || ranges < 1)
        return "its font is damaged";
    int kind = -1;
    for (int range = 0; range < ranges; ++range)
        if (!fontRangeIsSound(contents, ranges == 1, kind))
            return "its font is damaged";
    return "";
}

// Samples: bits (negative for stereo), frequency, length in frames, data.
std::string sampleProblem(byteReader& contents)
{
    int bits = 0;
    std::int32_t frames = 0;
    if (!contents.read16(bits) || !contents.skip(2) || !contents.read32(frames) || frames < 0)
        return "its sample is damaged";
    if (bits != 8 && bits != 16 && bits != -8 && bits != -16)
        return "its sample is damaged";
    const std::size_t bytes =
        static_cast<std::size_t>(frames) * (bits < 0 ? 2 : 1) * (std::abs(bits) / 8);
    return contents.remaining() == bytes && contents.skip(bytes) ? "" : "its sample is damaged";
}

// MIDI music: beat divisions, then 32 tracks, each its length and data.
std::string midiProblem(byteReader& contents)
{
    if (!contents.skip(2))
        return "its music is damaged";
    for (int track = 0; track < midiTracks; ++track) {
        std::int32_t length = 0;
        if (!contents.read32(length) || length < 0
            || !contents.skip(static_cast<std::size_t>(length)))
            return "its music is damaged";
    }
    return "";
}

class structureWalker {
public:
    // Leaves the type of every object at the top level in types.
    std::string walkRoot(byteReader reader, std::vector<std::int32_t>& types)
    {
        std::int32_t magic = 0;
        if (!reader.read32(magic) || magic != DAT_MAGIC)
            return "it is not an Allegro datafile";
        return walkObjects(reader, 0, &types);
    }

private:
    std::string walkObjects(byteReader& reader, int depth, std::vector<std::int32_t>* rootTypes)
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
            const std::string problem = walkObject(reader, depth, type);
            if (!problem.empty())
                return "object " + std::to_string(index) + ": " + problem;
            if (rootTypes != nullptr)
                rootTypes->push_back(type);
        }
        return "";
    }

    std::string walkObject(byteReader& reader, int depth, std::int32_t& type)
    {
        if (!skipProperties(reader, type))
            return "its properties are damaged";
        std::int32_t storedSize = 0;
        std::int32_t size = 0;
        if (!reader.read32(storedSize) || !reader.read32(size))
            return "it is cut short";
        byteReader contents;
        if (storedSize < 0 || !reader.split(static_cast<std::size_t>(storedSize), contents))
            return "its size is wrong";
        // Allegro marks the free slots of its table of loaders with this
        // type and no loader: an object of it would be loaded by calling
        // a null function.
        if (type == DAT_END)
            return "its kind marks the end of a datafile";
        // A negative size marks an object compressed on its own.
        std::vector<unsigned char> unpacked;
        if (size < 0) {
            if (!unpack(contents, size, unpacked))
                return "its compressed contents are damaged";
            contents = byteReader(unpacked);
        } else if (size != storedSize) {
            return "its size is wrong";
        }
        std::string problem = contentsProblem(type, contents, depth);
        if (problem.empty() && contents.remaining() != 0)
            problem = "its size is wrong";
        return problem;
    }

    bool unpack(const byteReader& stored, std::int32_t size, std::vector<unsigned char>& unpacked)
    {
        const std::int64_t length = -std::int64_t{size};
        if (length > unpackBudget)
            return false;
        unpackBudget -= length;
        return unpackObject(stored, static_cast<std::size_t>(length), unpacked);
    }

    // The kinds whose loaders trust what they read are checked field by
    // field; Allegro keeps everything else as it is stored (animations and
    // instrument patches included), like plain data.
    std::string contentsProblem(std::int32_t type, byteReader& contents, int depth)
    {
        switch (type) {
        case DAT_BITMAP:
        case DAT_C_SPRITE:
        case DAT_XC_SPRITE:
            return pictureProblem(contents);
        case DAT_RLE_SPRITE:
            return rleSpriteProblem(contents);
        case DAT_FONT:
            return fontProblem(contents);
        case DAT_SAMPLE:
            return sampleProblem(contents);
        case DAT_MIDI:
            return midiProblem(contents);
        case DAT_FILE:
            return walkObjects(contents, depth + 1, nullptr);
        case DAT_PALETTE:
            return contents.remaining() == paletteBytes && contents.skip(paletteBytes)
                       ? ""
                       : "its palette is damaged";
        default:
            contents.skip(contents.remaining());
            return "";
        }
    }

    // Reads the property list in front of an object and leaves its type.
    // A property of the end type would end Allegro's list of the object's
    // properties early, and what it holds would never be freed.
    static bool skipProperties(byteReader& reader, std::int32_t& type)
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

    std::int64_t unpackBudget = maxFileBytes;
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

// A file compressed as a whole is unpacked by the same LZSS, so it too must
// copy only from ring bytes it has written. Such a stream takes at most nine
// bytes for eight unpacked ones.
bool packedFileUnpacksAlike(const char* fileName, std::size_t unpackedSize)
{
    std::vector<unsigned char> stream(4 + unpackedSize + unpackedSize / 8 + 1);
    std::ifstream file(fileName, std::ios::binary);
    file.read(reinterpret_cast<char*>(stream.data()), static_cast<std::streamsize>(stream.size()));
    stream.resize(static_cast<std::size_t>(file.gcount()));
    byteReader reader(stream);
    std::int32_t magic = 0;
    return !reader.read32(magic) || magic != F_PACK_MAGIC
           || readsOnlyWrittenRing(reader, unpackedSize);
}

}  // namespace

bool datafileInspector::isFound(const char* fileName)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(fileName, error);
    if (!std::filesystem::exists(status))
        return false;
    // Only a regular file is opened here: opening a FIFO waits for a writer.
    return !std::filesystem::is_regular_file(status) || std::ifstream(fileName).is_open();
}

std::string datafileInspector::fileProblem(const char* fileName)
{
    std::vector<std::int32_t> types;
    const std::string problem = wholeFileProblem(fileName, types);
    return problem.empty() ? typesProblem(types, requiredObjects, DAT_BITMAP) : problem;
}

std::string datafileInspector::unpackedProblem(const std::vector<unsigned char>& bytes)
{
    std::vector<std::int32_t> types;
    const std::string problem = structureWalker().walkRoot(byteReader(bytes), types);
    return problem.empty() ? typesProblem(types, requiredObjects, DAT_BITMAP) : problem;
}

std::string datafileInspector::loadedProblem(const DATAFILE* file)
{
    return loadedTypesProblem(file, requiredObjects, DAT_BITMAP);
}

std::string datafileInspector::soundFileProblem(const char* fileName, int sampleCount)
{
    std::vector<std::int32_t> types;
    const std::string problem = wholeFileProblem(fileName, types);
    return problem.empty() ? typesProblem(types, sampleCount, DAT_SAMPLE) : problem;
}

std::string datafileInspector::loadedSoundProblem(const DATAFILE* file, int sampleCount)
{
    return loadedTypesProblem(file, sampleCount, DAT_SAMPLE);
}

std::string datafileInspector::wholeFileProblem(const char* fileName,
                                                std::vector<std::int32_t>& types)
{
    // A FIFO or a device could keep the reading waiting, or going, for ever.
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error))
        return "it is not a regular file";
    std::vector<unsigned char> bytes;
    if (!readWholeFile(fileName, bytes))
        return "it could not be read";
    if (!packedFileUnpacksAlike(fileName, bytes.size()))
        return "its compressed contents are damaged";
    return structureWalker().walkRoot(byteReader(bytes), types);
}

std::string datafileInspector::typesProblem(const std::vector<std::int32_t>& types, int count,
                                            std::int32_t type)
{
    const int held = static_cast<int>(types.size());
    if (held < count)
        return "it holds " + std::to_string(held) + " objects, " + std::to_string(count)
               + " are needed";
    const char* kind = type == DAT_SAMPLE ? "sample" : "picture";
    for (int index = 0; index < count; ++index)
        if (types[index] != type && !(type == DAT_BITMAP && isUnusedIndex(index)))
            return "object " + std::to_string(index) + " is not a " + kind;
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
    return index == picData::spare29 || index == picData::spare34;
}
