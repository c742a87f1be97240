#include <gtest/gtest.h>

#include <allegro.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "allegroTestEnv.h"
#include "battleMain.h"
#include "dataObj.h"
#include "datafileInspector.h"

// Inputs the fuzzers of tools/fuzz found, kept as cases.

namespace {

using bytes = std::vector<unsigned char>;

void put32(bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

void putObject(bytes& out, int type, const bytes& contents)
{
    put32(out, static_cast<std::uint32_t>(type));
    put32(out, static_cast<std::uint32_t>(contents.size()));
    put32(out, static_cast<std::uint32_t>(contents.size()));
    out.insert(out.end(), contents.begin(), contents.end());
}

// An 8-bit picture of one pixel: depth, width and height, then the pixel.
const bytes onePixel = {0, 8, 0, 1, 0, 1, 7};

// The unpacked contents of a picture file with every object the game needs,
// object `odd` holding the given type and contents instead of a picture
// (none does for -1).
bytes pictureFileWith(int odd, int type, const bytes& contents)
{
    bytes out;
    put32(out, DAT_MAGIC);
    put32(out, datafileInspector::requiredObjects);
    for (int index = 0; index < datafileInspector::requiredObjects; ++index) {
        if (index == odd)
            putObject(out, type, contents);
        else
            putObject(out, DAT_BITMAP, onePixel);
    }
    return out;
}

// A nested datafile's contents: its object count, then its objects.
bytes nestedWith(int type, const bytes& contents)
{
    bytes out;
    put32(out, 2);
    putObject(out, DAT_BITMAP, onePixel);
    putObject(out, type, contents);
    return out;
}

} // namespace

// Allegro loads an object of type DAT_END (-1) by calling a null function:
// a file with one at an index the game does not use passed the check and
// crashed the game in load_datafile.
TEST(FuzzRegressionTest, ObjectOfTheEndTypeIsRefused)
{
    EXPECT_EQ(datafileInspector::unpackedProblem(pictureFileWith(-1, DAT_END, {})), "");
    EXPECT_EQ(datafileInspector::unpackedProblem(pictureFileWith(29, DAT_END, {1, 2})),
              "object 29: its kind marks the end of a datafile");
    EXPECT_EQ(datafileInspector::unpackedProblem(
                  pictureFileWith(34, DAT_FILE, nestedWith(DAT_END, {}))),
              "object 34: object 1: its kind marks the end of a datafile");
}

TEST(FuzzRegressionTest, GameRefusesAFileWithAnObjectOfTheEndTypeWithoutLoadingIt)
{
    ensureHeadlessAllegro();
    char folder[] = "/tmp/broxfuzzXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(folder), 0);
    bytes file;
    put32(file, F_NOPACK_MAGIC);
    const bytes contents = pictureFileWith(29, DAT_END, {1, 2});
    file.insert(file.end(), contents.begin(), contents.end());
    std::ofstream(battleMain::datafileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));

    int result = 0;
    std::string output;
    {
        dataObj data;
        battleMain battle;
        battle.setDataObj(&data);
        testing::internal::CaptureStdout();
        result = battle.init();
        std::fflush(stdout);
        output = testing::internal::GetCapturedStdout();
    }
    std::remove(battleMain::datafileName);
    ASSERT_EQ(chdir(previous), 0);
    rmdir(folder);

    EXPECT_EQ(result, -1);
    EXPECT_NE(output.find("unusable: object 29: its kind marks the end of a datafile"),
              std::string::npos);
}
