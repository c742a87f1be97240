#include <gtest/gtest.h>

#include <allegro.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "allegroTestEnv.h"
#include "battle/battleMain.h"
#include "byteWriter.h"
#include "scratchFolder.h"
#include "shell/dataObj.h"
#include "shell/datafileInspector.h"

// Inputs the fuzzers of tests/fuzz found, kept as cases.

namespace {

using bytes = std::vector<unsigned char>;

bytes operator+(bytes first, const bytes& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// An object as a datafile stores it: type, stored and unpacked size (the
// same: stored raw), contents.
bytes object(int type, const bytes& contents)
{
    bytes out;
    putBig(out, static_cast<std::uint32_t>(type));
    putBig(out, static_cast<std::uint32_t>(contents.size()));
    putBig(out, static_cast<std::uint32_t>(contents.size()));
    return out + contents;
}

// An object compressed on its own: its stored size, then the negative size
// of its contents, then Allegro's LZSS stream of them.
bytes compressedObject(int type, const bytes& packed, int size)
{
    bytes out;
    putBig(out, static_cast<std::uint32_t>(type));
    putBig(out, static_cast<std::uint32_t>(packed.size()));
    putBig(out, static_cast<std::uint32_t>(-size));
    return out + packed;
}

// A property in front of an object.
bytes property(int type, const std::string& value)
{
    bytes out;
    putBig(out, DAT_PROPERTY);
    putBig(out, static_cast<std::uint32_t>(type));
    putBig(out, static_cast<std::uint32_t>(value.size()));
    return out + bytes(value.begin(), value.end());
}

// An 8-bit picture of one pixel: depth, width and height, then the pixel.
const bytes onePixel = object(DAT_BITMAP, {0, 8, 0, 1, 0, 1, 7});

// The unpacked contents of a picture file with every object the game needs,
// object `odd` given in full (with any properties) instead of a picture;
// none is for -1.
bytes pictureFileWith(int odd, const bytes& oddObject)
{
    bytes out;
    putBig(out, DAT_MAGIC);
    putBig(out, datafileInspector::requiredObjects);
    for (int index = 0; index < datafileInspector::requiredObjects; ++index)
        out = out + (index == odd ? oddObject : onePixel);
    return out;
}

// A nested datafile's contents: its object count, then its objects.
bytes nested(const bytes& second)
{
    bytes out;
    putBig(out, 2);
    return out + onePixel + second;
}

// The findings, as picData.dat files without the packfile magic.
const bytes endTypeObject = pictureFileWith(29, object(DAT_END, {1, 2}));
const bytes endTypeProperty = pictureFileWith(51, property(DAT_END, "PIC51") + onePixel);

// Runs battleMain::init on the given file as picData.dat in a fresh folder;
// its result, and what it printed in `output`.
int initWith(const bytes& contents, std::string& output)
{
    ensureHeadlessAllegro();
    inScratchFolder inScratch;
    if (!inScratch.entered())
        return -2;
    bytes file;
    putBig(file, F_NOPACK_MAGIC);
    file = file + contents;
    std::ofstream(battleMain::datafileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    int result = 0;
    {
        dataObj data;
        battleMain battle;
        battle.setDataObj(&data);
        testing::internal::CaptureStdout();
        result = battle.init();
        std::fflush(stdout);
        output = testing::internal::GetCapturedStdout();
    }
    return inScratch.leave() ? result : -2;
}

}  // namespace

// Allegro loads an object of type DAT_END (-1) by calling a null function:
// a file with one at an index the game does not use passed the check and
// crashed the game in load_datafile.
TEST(FuzzRegressionTest, ObjectOfTheEndTypeIsRefused)
{
    EXPECT_EQ(datafileInspector::unpackedProblem(pictureFileWith(-1, {})), "");
    EXPECT_EQ(datafileInspector::unpackedProblem(endTypeObject),
              "object 29: its kind marks the end of a datafile");
    EXPECT_EQ(datafileInspector::unpackedProblem(
                  pictureFileWith(34, object(DAT_FILE, nested(object(DAT_END, {}))))),
              "object 34: object 1: its kind marks the end of a datafile");
}

// A property of type DAT_END ends the object's list of properties in
// Allegro, so the loaded file leaked the property's contents for good.
TEST(FuzzRegressionTest, PropertyOfTheEndTypeIsRefused)
{
    EXPECT_EQ(datafileInspector::unpackedProblem(
                  pictureFileWith(51, property(DAT_NAME, "PIC51") + onePixel)),
              "");
    EXPECT_EQ(datafileInspector::unpackedProblem(endTypeProperty),
              "object 51: its properties are damaged");
    EXPECT_EQ(datafileInspector::unpackedProblem(
                  pictureFileWith(29, object(DAT_FILE, nested(property(DAT_END, "") + onePixel)))),
              "object 29: object 1: its properties are damaged");
}

TEST(FuzzRegressionTest, GameRefusesBothFindingsWithoutLoadingThem)
{
    std::string output;
    EXPECT_EQ(initWith(endTypeObject, output), -1);
    EXPECT_NE(output.find("unusable: object 29: its kind marks the end of a datafile"),
              std::string::npos);
    EXPECT_EQ(initWith(endTypeProperty, output), -1);
    EXPECT_NE(output.find("unusable: object 51: its properties are damaged"), std::string::npos);
}

// Allegro loses its place in the file after an object compressed on its own
// whose compressed bytes go on once its contents are complete: the next
// "object" it read was garbage, and it called a null loader for it.
TEST(FuzzRegressionTest, CompressedBytesBeyondAnObjectsContentsAreRefused)
{
    // A flag byte with every bit set, then literal bytes: the 8-bit picture
    // of one pixel.
    const bytes packedPixel = {0xff, 0, 8, 0, 1, 0, 1, 7};
    EXPECT_EQ(datafileInspector::unpackedProblem(
                  pictureFileWith(29, compressedObject(DAT_BITMAP, packedPixel, 7))),
              "");
    const bytes overlong =
        pictureFileWith(29, compressedObject(DAT_BITMAP, packedPixel + bytes{0x14}, 7));
    EXPECT_EQ(datafileInspector::unpackedProblem(overlong),
              "object 29: its compressed contents are damaged");
    std::string output;
    EXPECT_EQ(initWith(overlong, output), -1);
    EXPECT_NE(output.find("unusable: object 29: its compressed contents are damaged"),
              std::string::npos);
}

// Allegro's unpacker leaves the last 18 bytes of its ring as the memory was
// until it writes them: an object whose copy read one of them first
// unpacked to one thing in the check and to another in the loader, which
// then failed.
TEST(FuzzRegressionTest, CompressedCopiesFromRingBytesNotYetWrittenAreRefused)
{
    // Six literal bytes (the depth and size of an 8-bit picture of one
    // pixel), then its pixel copied from the ring: from the ring's zero
    // start, from the byte written last, or from the one after it.
    const auto withPixelFrom = [](unsigned char low, unsigned char high) {
        const bytes packed = {0x3f, 0, 8, 0, 1, 0, 1, low, high};
        return pictureFileWith(29, compressedObject(DAT_BITMAP, packed, 7));
    };
    EXPECT_EQ(datafileInspector::unpackedProblem(withPixelFrom(0x00, 0x00)), "");
    EXPECT_EQ(datafileInspector::unpackedProblem(withPixelFrom(0xf3, 0xf0)), "");
    EXPECT_EQ(datafileInspector::unpackedProblem(withPixelFrom(0xf4, 0xf0)),
              "object 29: its compressed contents are damaged");
}
