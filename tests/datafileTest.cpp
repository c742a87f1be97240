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

namespace {

struct datafileObject {
    int type;
    std::vector<unsigned char> payload;
};

void putBig32(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

void putBig16(std::vector<unsigned char>& out, std::uint16_t value)
{
    out.push_back(static_cast<unsigned char>(value >> 8));
    out.push_back(static_cast<unsigned char>(value));
}

datafileObject bitmapObject()
{
    datafileObject object{DAT_BITMAP, {}};
    putBig16(object.payload, 24);
    putBig16(object.payload, 2);
    putBig16(object.payload, 2);
    object.payload.insert(object.payload.end(), 2 * 2 * 3, 0x80);
    return object;
}

datafileObject dataObject()
{
    return datafileObject{DAT_DATA, {1, 2, 3, 4}};
}

// An uncompressed datafile in Allegro's format holding the given objects.
std::vector<unsigned char> datafileBytes(const std::vector<datafileObject>& objects)
{
    std::vector<unsigned char> out;
    putBig32(out, F_NOPACK_MAGIC);
    putBig32(out, DAT_MAGIC);
    putBig32(out, static_cast<std::uint32_t>(objects.size()));
    for (const datafileObject& object : objects) {
        putBig32(out, static_cast<std::uint32_t>(object.type));
        putBig32(out, static_cast<std::uint32_t>(object.payload.size()));
        putBig32(out, static_cast<std::uint32_t>(object.payload.size()));
        out.insert(out.end(), object.payload.begin(), object.payload.end());
    }
    return out;
}

std::vector<datafileObject> completeObjects()
{
    std::vector<datafileObject> objects(datafileInspector::requiredObjects, bitmapObject());
    objects[29] = dataObject();
    objects[34] = dataObject();
    return objects;
}

// Runs battleMain::init in a fresh folder holding the given picData.dat
// (none when bytes is null) and returns what it printed.
class DatafileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureHeadlessAllegro();
        ASSERT_NE(mkdtemp(folder), nullptr);
        ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
        ASSERT_EQ(chdir(folder), 0);
    }

    void TearDown() override
    {
        std::remove("picData.dat");
        ASSERT_EQ(chdir(previous), 0);
        rmdir(folder);
    }

    void writeFile(const std::vector<unsigned char>& bytes)
    {
        std::ofstream("picData.dat", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    std::string initOutput(int& result)
    {
        battleMain battle;
        battle.setDataObj(&data);
        testing::internal::CaptureStdout();
        result = battle.init();
        std::fflush(stdout);
        return testing::internal::GetCapturedStdout();
    }

    char folder[32] = "/tmp/broxdatXXXXXX";
    char previous[4096] = {};
    dataObj data;
};

} // namespace

TEST_F(DatafileTest, MissingFileKeepsItsExactMessage)
{
    int result = 0;
    EXPECT_EQ(initOutput(result), "Graphics datafile not found. Now exiting.\n");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(data.getDatafile(), nullptr);
}

TEST_F(DatafileTest, ShortFileIsRefusedAndUnloaded)
{
    std::vector<datafileObject> objects(10, bitmapObject());
    writeFile(datafileBytes(objects));
    int result = 0;
    const std::string output = initOutput(result);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(output,
              "Graphics datafile picData.dat is unusable: it holds 10 objects, 55 are needed."
              " Now exiting.\n");
    EXPECT_EQ(data.getDatafile(), nullptr);
}

TEST_F(DatafileTest, NonPictureAtAUsedIndexIsRefused)
{
    std::vector<datafileObject> objects = completeObjects();
    objects[12] = dataObject();
    writeFile(datafileBytes(objects));
    int result = 0;
    const std::string output = initOutput(result);
    EXPECT_EQ(result, -1);
    EXPECT_NE(output.find("picData.dat"), std::string::npos);
    EXPECT_NE(output.find("object 12 is not a picture"), std::string::npos);
    EXPECT_EQ(output.find('\n'), output.size() - 1);
}

TEST_F(DatafileTest, DamagedFileIsRefused)
{
    std::vector<unsigned char> bytes = datafileBytes(completeObjects());
    bytes.resize(bytes.size() / 2);
    writeFile(bytes);
    int result = 0;
    const std::string output = initOutput(result);
    EXPECT_EQ(result, -1);
    EXPECT_NE(output.find("picData.dat is unusable"), std::string::npos);

    writeFile({'n', 'o', 't', ' ', 'a', ' ', 'd', 'a', 't', 'a', 'f', 'i', 'l', 'e'});
    EXPECT_NE(initOutput(result).find("picData.dat is unusable: it could not be read"),
              std::string::npos);
    EXPECT_EQ(result, -1);
}

TEST_F(DatafileTest, CompleteFilePassesTheCheckWhateverStandsAtTheUnusedIndices)
{
    writeFile(datafileBytes(completeObjects()));
    DATAFILE* file = data.setDatafile("picData.dat");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(datafileInspector::loadedProblem(file), "");
    data.releaseDatafile();

    std::vector<datafileObject> withoutPicture = completeObjects();
    withoutPicture[54] = dataObject();
    writeFile(datafileBytes(withoutPicture));
    file = data.setDatafile("picData.dat");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(datafileInspector::loadedProblem(file), "object 54 is not a picture");
}

namespace {

std::vector<unsigned char> unpacked(const std::vector<datafileObject>& objects)
{
    std::vector<unsigned char> bytes = datafileBytes(objects);
    return std::vector<unsigned char>(bytes.begin() + 4, bytes.end());
}

} // namespace

TEST(DatafileInspectorTest, DamagedStructuresAreNamed)
{
    EXPECT_EQ(datafileInspector::unpackedProblem(unpacked(completeObjects())), "");

    std::vector<datafileObject> badDepth = completeObjects();
    badDepth[3].payload[1] = 7;
    EXPECT_EQ(datafileInspector::unpackedProblem(unpacked(badDepth)),
              "object 3: its picture has an unknown colour depth");

    std::vector<datafileObject> badSize = completeObjects();
    badSize[5].payload.pop_back();
    EXPECT_EQ(datafileInspector::unpackedProblem(unpacked(badSize)),
              "object 5: its picture is damaged");

    std::vector<unsigned char> hugeCount = unpacked(completeObjects());
    hugeCount[4] = 0x7f;
    EXPECT_EQ(datafileInspector::unpackedProblem(hugeCount),
              "it claims more objects than it holds");

    std::vector<unsigned char> cut = unpacked(completeObjects());
    for (std::size_t keep : {std::size_t{0}, std::size_t{6}, cut.size() / 3, cut.size() - 1}) {
        const std::vector<unsigned char> part(cut.begin(), cut.begin() + keep);
        EXPECT_NE(datafileInspector::unpackedProblem(part), "") << keep << " bytes";
    }
}

TEST(DatafileInspectorTest, PropertiesAndNestedFilesAreWalked)
{
    std::vector<datafileObject> objects = completeObjects();
    datafileObject nested{DAT_FILE, {}};
    putBig32(nested.payload, 1);
    const std::vector<unsigned char> inner = unpacked({bitmapObject()});
    // The nested file's body: its count and one object, without DAT_MAGIC.
    nested.payload.insert(nested.payload.end(), inner.begin() + 8, inner.end());
    objects[29] = nested;
    std::vector<unsigned char> bytes = unpacked(objects);
    EXPECT_EQ(datafileInspector::unpackedProblem(bytes), "");

    // A "NAME" property in front of the first object.
    std::vector<unsigned char> named(bytes.begin(), bytes.begin() + 8);
    putBig32(named, DAT_PROPERTY);
    putBig32(named, DAT_ID('N', 'A', 'M', 'E'));
    putBig32(named, 3);
    named.insert(named.end(), {'b', 'g', '0'});
    named.insert(named.end(), bytes.begin() + 8, bytes.end());
    EXPECT_EQ(datafileInspector::unpackedProblem(named), "");

    std::vector<unsigned char> brokenProperty = named;
    brokenProperty[16] = 0x7f;
    EXPECT_EQ(datafileInspector::unpackedProblem(brokenProperty),
              "object 0: its properties are damaged");
}

TEST_F(DatafileTest, CompressedFileIsCheckedAndLoaded)
{
    const std::vector<unsigned char> bytes = unpacked(completeObjects());
    PACKFILE* out = pack_fopen("picData.dat", F_WRITE_PACKED);
    ASSERT_NE(out, nullptr);
    pack_fwrite(bytes.data(), static_cast<long>(bytes.size()), out);
    pack_fclose(out);
    EXPECT_EQ(datafileInspector::fileProblem("picData.dat"), "");
    DATAFILE* file = data.setDatafile("picData.dat");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(datafileInspector::loadedProblem(file), "");
}
