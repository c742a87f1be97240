#include <gtest/gtest.h>

#include <allegro.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>
#ifndef _WIN32
#include <sys/socket.h>
#include <sys/un.h>

#include "fifoGuard.h"
#endif

#include "allegroTestEnv.h"
#include "battle/battleMain.h"
#include "byteWriter.h"
#include "datWorkshop.h"
#include "scratchFolder.h"
#include "shell/dataObj.h"
#include "shell/datafileInspector.h"

namespace {

struct datafileObject {
    int type;
    std::vector<unsigned char> payload;
};

datafileObject bitmapObject()
{
    datafileObject object{DAT_BITMAP, {}};
    putBig(object.payload, 24, 2);
    putBig(object.payload, 2, 2);
    putBig(object.payload, 2, 2);
    object.payload.insert(object.payload.end(), 2 * 2 * 3, 0x80);
    return object;
}

datafileObject dataObject() { return datafileObject{DAT_DATA, {1, 2, 3, 4}}; }

// An uncompressed datafile in Allegro's format holding the given objects.
std::vector<unsigned char> datafileBytes(const std::vector<datafileObject>& objects)
{
    std::vector<unsigned char> out;
    putBig(out, F_NOPACK_MAGIC);
    putBig(out, DAT_MAGIC);
    putBig(out, static_cast<std::uint32_t>(objects.size()));
    for (const datafileObject& object : objects) {
        putBig(out, static_cast<std::uint32_t>(object.type));
        putBig(out, static_cast<std::uint32_t>(object.payload.size()));
        putBig(out, static_cast<std::uint32_t>(object.payload.size()));
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
        ASSERT_TRUE(inShop.entered());
    }

    void TearDown() override { ASSERT_TRUE(inShop.leave()); }

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

    // The test's folder, in which dat builds picture files.
    datWorkshop shop;
    workingFolder inShop{shop.folder()};
    dataObj data;
};

}  // namespace

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

}  // namespace

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
    putBig(nested.payload, 1);
    const std::vector<unsigned char> inner = unpacked({bitmapObject()});
    // The nested file's body: its count and one object, without DAT_MAGIC.
    nested.payload.insert(nested.payload.end(), inner.begin() + 8, inner.end());
    objects[29] = nested;
    std::vector<unsigned char> bytes = unpacked(objects);
    EXPECT_EQ(datafileInspector::unpackedProblem(bytes), "");

    // A "NAME" property in front of the first object.
    std::vector<unsigned char> named(bytes.begin(), bytes.begin() + 8);
    putBig(named, DAT_PROPERTY);
    putBig(named, DAT_ID('N', 'A', 'M', 'E'));
    putBig(named, 3);
    named.insert(named.end(), {'b', 'g', '0'});
    named.insert(named.end(), bytes.begin() + 8, bytes.end());
    EXPECT_EQ(datafileInspector::unpackedProblem(named), "");

    std::vector<unsigned char> brokenProperty = named;
    brokenProperty[16] = 0x7f;
    EXPECT_EQ(datafileInspector::unpackedProblem(brokenProperty),
              "object 0: its properties are damaged");
}

namespace {

// A one-range mono font of two glyphs, 5 x 2 and 8 x 1: a row of a mono
// glyph takes whole bytes, however few of its bits are used.
datafileObject narrowMonoFont()
{
    datafileObject font{DAT_FONT, {}};
    putBig(font.payload, 0, 2);
    putBig(font.payload, 1, 2);
    font.payload.push_back(1);
    putBig(font.payload, 'a');
    putBig(font.payload, 'b');
    for (const int width : {5, 8}) {
        const int height = width == 5 ? 2 : 1;
        putBig(font.payload, width, 2);
        putBig(font.payload, height, 2);
        font.payload.insert(font.payload.end(), static_cast<std::size_t>(height), 0xa5);
    }
    return font;
}

// Object 29 compressed on its own: three bytes that its LZSS stream copies
// from one place of the ring.
std::vector<unsigned char> withRingCopyAt29(int ringPosition)
{
    std::vector<datafileObject> objects = completeObjects();
    objects[29].payload = {0x00, static_cast<unsigned char>(ringPosition & 0xff),
                           static_cast<unsigned char>((ringPosition >> 4) & 0xf0)};
    std::vector<unsigned char> bytes = unpacked(objects);
    std::size_t at = 8;
    for (int index = 0; index < 29; ++index)
        at += 12 + objects[index].payload.size();
    setBig(bytes, at + 8, static_cast<std::uint32_t>(-3));
    return bytes;
}

}  // namespace

TEST(DatafileInspectorTest, NarrowMonoGlyphsPassAndACopyFromTheFirstUnwrittenRingByteDoesNot)
{
    std::vector<datafileObject> objects = completeObjects();
    objects[34] = narrowMonoFont();
    EXPECT_EQ(datafileInspector::unpackedProblem(unpacked(objects)), "");

    // The ring is zero up to its last 18 bytes, which are written from the
    // first byte unpacked on; the first of them is unwritten until then.
    EXPECT_EQ(datafileInspector::unpackedProblem(withRingCopyAt29(4077)), "");
    EXPECT_EQ(datafileInspector::unpackedProblem(withRingCopyAt29(4078)),
              "object 29: its compressed contents are damaged");
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

// Allegro's unpacker leaves the last 18 bytes of its ring as the memory was
// until it writes them, in a file compressed as a whole too: a file that
// copies from one of them unpacks differently from one reading to the next.
TEST_F(DatafileTest, WholeFileCopiesFromRingBytesNotYetWrittenAreRefused)
{
    const std::uint32_t packMagic = F_PACK_MAGIC;
    std::vector<unsigned char> file;
    putBig(file, packMagic);
    // Three bytes copied from the ring's zero start; then from its end.
    file.insert(file.end(), {0x00, 0x00, 0x00});
    writeFile(file);
    EXPECT_EQ(datafileInspector::fileProblem("picData.dat"), "it is not an Allegro datafile");
    file.back() = 0xf0;
    file[file.size() - 2] = 0xfe;
    writeFile(file);
    int result = 0;
    EXPECT_EQ(initOutput(result), "Graphics datafile picData.dat is unusable: its compressed "
                                  "contents are damaged. Now exiting.\n");
}

TEST(DatafileInspectorTest, FieldsEndingExactlyAtTheEndOfTheFileAreRead)
{
    // An empty data object last: its two sizes are the file's last fields.
    std::vector<datafileObject> objects = completeObjects();
    objects.push_back({DAT_DATA, {}});
    EXPECT_EQ(datafileInspector::unpackedProblem(unpacked(objects)), "");

    // A nested datafile of no objects last: its count ends the file.
    objects.back() = {DAT_FILE, {0, 0, 0, 0}};
    EXPECT_EQ(datafileInspector::unpackedProblem(unpacked(objects)), "");

    // A file of no objects holds too few, however short it is.
    EXPECT_EQ(datafileInspector::unpackedProblem(unpacked({})),
              "it holds 0 objects, 55 are needed");
}

namespace {

using fileBytes = std::vector<unsigned char>;

// How far datafiles may nest in a picture file.
constexpr int nestingLimit = 8;

std::string unusable(const std::string& problem)
{
    return "Graphics datafile picData.dat is unusable: " + problem + ". Now exiting.\n";
}

// Makes picData.dat a copy of `file` stored with one of dat's options: -c0
// plain, -c1 each object compressed on its own, -c2 the whole file
// compressed. -s1 keeps dat from adding an object of its own.
::testing::AssertionResult storeAs(datWorkshop& shop, const std::string& file,
                                   const std::string& compression)
{
    shop.copy(file, "picData.dat");
    if (shop.dat("-s1 picData.dat " + compression))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << shop.report();
}

std::int64_t big32(const fileBytes& file, std::size_t at)
{
    std::int32_t value = 0;
    for (std::size_t i = at; i < at + 4; ++i)
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << 8 | file[i]);
    return value;
}

// Where the contents of the file's last object begin: after its type, its
// stored size, which is what is left of the file, and its unpacked size.
// The file's size when it does not end with an object of the type.
std::size_t lastObjectContents(const fileBytes& file, std::int32_t type)
{
    for (std::size_t at = 0; at + 12 <= file.size(); ++at)
        if (big32(file, at) == type
            && big32(file, at + 4) == static_cast<std::int64_t>(file.size() - at - 12))
            return at + 12;
    return file.size();
}

}  // namespace

// What a player does to rebuild the picture file with Allegro's own tool:
// extract the shipped pictures, add them again, and store the file in each
// of the ways dat can. Allegro then loads the very same pictures.
TEST_F(DatafileTest, ShippedPicturesRebuiltWithDatAreAcceptedHoweverStored)
{
    ASSERT_TRUE(shop.dat("'" BROX_PICDATA "' -x '*'")) << shop.report();
    ASSERT_TRUE(shop.dat("-bpp 32 -t BMP rebuilt.dat -a *.bmp")) << shop.report();
    DATAFILE* shipped = load_datafile(BROX_PICDATA);
    ASSERT_NE(shipped, nullptr);
    for (const char* compression : {"-c0", "-c1", "-c2"}) {
        ASSERT_TRUE(storeAs(shop, "rebuilt.dat", compression));
        int result = -1;
        EXPECT_EQ(initOutput(result), "") << compression;
        ASSERT_EQ(result, 0) << compression;
        for (int index = 0; index < datafileInspector::requiredObjects; ++index) {
            const auto* original = static_cast<BITMAP*>(shipped[index].dat);
            const auto* copy = static_cast<BITMAP*>(data.getDatafile()[index].dat);
            ASSERT_EQ(copy->w, original->w) << compression << " object " << index;
            ASSERT_EQ(copy->h, original->h) << compression << " object " << index;
            for (int y = 0; y < copy->h; ++y)
                ASSERT_EQ(std::memcmp(copy->line[y], original->line[y], copy->w * 4), 0)
                    << compression << " object " << index << " row " << y;
        }
    }
    unload_datafile(shipped);
}

// Every kind of object dat writes may stand where the game reads no
// picture (29, 34, and from 55 on), in a file stored in each of dat's ways,
// down to datafiles nested up to the limit and, last, a datafile of no
// objects, whose count ends the file.
TEST_F(DatafileTest, ObjectsOfEveryKindDatWritesStandWhereNoPictureIsRead)
{
    ASSERT_TRUE(shop.buildEveryKind("kinds.dat", nestingLimit)) << shop.report();
    const std::set<int> kinds = {
        DAT_SAMPLE,     DAT_FONT,     DAT_PALETTE,   DAT_MIDI,
        DAT_RLE_SPRITE, DAT_C_SPRITE, DAT_XC_SPRITE, DAT_ID('J', 'P', 'E', 'G'),
        DAT_FLI,        DAT_PATCH,    DAT_DATA,      DAT_FILE,
        DAT_BITMAP};
    for (const char* compression : {"-c0", "-c1", "-c2"}) {
        ASSERT_TRUE(storeAs(shop, "kinds.dat", compression));
        int result = -1;
        EXPECT_EQ(initOutput(result), "") << compression;
        ASSERT_EQ(result, 0) << compression;
        const DATAFILE* loaded = data.getDatafile();
        EXPECT_EQ(loaded[29].type, DAT_SAMPLE) << compression;
        EXPECT_EQ(loaded[34].type, DAT_FONT) << compression;
        std::set<int> loadedKinds;
        int count = 0;
        for (; loaded[count].type != DAT_END; ++count)
            loadedKinds.insert(loaded[count].type);
        EXPECT_EQ(loadedKinds, kinds) << compression;
        EXPECT_EQ(count, 55 + 17) << compression;
    }
}

// What dat writes that the game cannot use is refused in one line: a sprite
// where a picture is read, datafiles nested past the limit, and a file of
// no objects at all.
TEST_F(DatafileTest, DatBuiltFilesTheGameCannotUseAreRefusedInOneLine)
{
    shop.writePictures();
    shop.copy("p12.bmp", "p12_sprite.bmp");
    shop.writeNestedFolders("q_nested", nestingLimit + 1);
    std::string tooDeep = "object 55: ";
    for (int level = 1; level <= nestingLimit; ++level)
        tooDeep += "object 0: ";
    struct refusal {
        std::vector<std::string> steps;
        std::string problem;
    };
    const refusal refusals[] = {
        {{datWorkshop::addPictures("picData.dat", {12}),
          "-s1 -t RLE -bpp 32 picData.dat -a p12_sprite.bmp"},
         "object 12 is not a picture"},
        {{datWorkshop::addPictures("picData.dat"), "-s1 -r -t BMP picData.dat -a q_nested"},
         tooDeep + "its datafiles are nested too deeply"},
        {{"-s1 picData.dat -c0"}, "it holds 0 objects, 55 are needed"},
    };
    for (const refusal& expected : refusals) {
        std::filesystem::remove(shop.path("picData.dat"));
        for (const std::string& step : expected.steps)
            ASSERT_TRUE(shop.dat(step)) << shop.report();
        int result = 0;
        EXPECT_EQ(initOutput(result), unusable(expected.problem));
        EXPECT_EQ(result, -1);
        EXPECT_EQ(data.getDatafile(), nullptr);
    }
}

// Damage to an object of any kind where no picture is read is refused in
// one line, before Allegro's loader could crash or leak on it. The object
// is the file's last, its contents the file's tail.
TEST_F(DatafileTest, DamagedObjectsOfEveryKindAreRefusedInOneLine)
{
    shop.writePictures();
    shop.writeSound("q_sound.wav", false);
    shop.writeTune("q_tune.mid");
    shop.writeMonoFont("q_font.fnt");
    shop.writeColourFont("q_glyphs.bmp");
    shop.copy("p00.bmp", "q_sprite.bmp");
    ASSERT_TRUE(shop.dat("-s1 z_empty.dat -c0")) << shop.report();
    ASSERT_TRUE(shop.dat(datWorkshop::addPictures("base.dat"))) << shop.report();
    using harm = std::function<void(fileBytes & file, std::size_t contents)>;
    struct damage {
        std::string options;
        std::string source;
        std::string compression;
        int type;
        harm change;
        std::string problem;
    };
    const damage damages[] = {
        // A frame more than the sample holds; a depth samples do not have.
        {"-t SAMP", "q_sound.wav", "-c0", DAT_SAMPLE,
         [](fileBytes& file, std::size_t at) { setBig(file, at + 4, 7); }, "its sample is damaged"},
        {"-t SAMP", "q_sound.wav", "-c0", DAT_SAMPLE,
         [](fileBytes& file, std::size_t at) { file[at + 1] = 12; }, "its sample is damaged"},
        // A first track longer than its data.
        {"-t MIDI", "q_tune.mid", "-c0", DAT_MIDI,
         [](fileBytes& file, std::size_t at) { setBig(file, at + 2, 13); }, "its music is damaged"},
        // A range neither mono nor colour; one glyph more than the range holds.
        {"-t FONT", "q_font.fnt", "-c0", DAT_FONT,
         [](fileBytes& file, std::size_t at) { file[at + 4] = 2; }, "its font is damaged"},
        {"-t FONT", "q_glyphs.bmp", "-c0", DAT_FONT,
         [](fileBytes& file, std::size_t at) { setBig(file, at + 9, '~' + 1); },
         "its font is damaged"},
        // A run longer than the sprite's row; a wrong size of its runs in memory.
        {"-t RLE -bpp 8", "q_sprite.bmp", "-c0", DAT_RLE_SPRITE,
         [](fileBytes& file, std::size_t at) { file[at + 10] = 3; }, "its sprite is damaged"},
        {"-t RLE -bpp 32", "q_sprite.bmp", "-c0", DAT_RLE_SPRITE,
         [](fileBytes& file, std::size_t at) { setBig(file, at + 6, big32(file, at + 6) + 1); },
         "its sprite is damaged"},
        {"-t CMP -bpp 16", "q_sprite.bmp", "-c0", DAT_C_SPRITE,
         [](fileBytes& file, std::size_t at) { file[at + 1] = 7; },
         "its picture has an unknown colour depth"},
        // A palette a byte short.
        {"-t PAL", "q_glyphs.bmp", "-c0", DAT_PALETTE,
         [](fileBytes& file, std::size_t at) {
             file.pop_back();
             setBig(file, at - 8, PAL_SIZE * 4 - 1);
             setBig(file, at - 4, PAL_SIZE * 4 - 1);
         },
         "its palette is damaged"},
        // A datafile of no objects that claims one.
        {"-t FILE", "z_empty.dat", "-c0", DAT_FILE,
         [](fileBytes& file, std::size_t at) { setBig(file, at, 1); },
         "it claims more objects than it holds"},
        // An object compressed on its own that claims a byte more than it holds.
        {"-t SAMP", "q_sound.wav", "-c1", DAT_SAMPLE,
         [](fileBytes& file, std::size_t at) { setBig(file, at - 4, big32(file, at - 4) - 1); },
         "its compressed contents are damaged"},
    };
    for (const damage& expected : damages) {
        shop.copy("base.dat", "picData.dat");
        ASSERT_TRUE(shop.dat("-s1 " + expected.options + " picData.dat -a " + expected.source))
            << shop.report();
        ASSERT_TRUE(shop.dat("-s1 picData.dat " + expected.compression)) << shop.report();
        fileBytes file = shop.readBytes("picData.dat");
        const std::size_t contents = lastObjectContents(file, expected.type);
        ASSERT_LT(contents, file.size()) << expected.options << " " << expected.source;
        expected.change(file, contents);
        shop.writeBytes("picData.dat", file);
        int result = 0;
        EXPECT_EQ(initOutput(result), unusable("object 55: " + expected.problem))
            << expected.options << " " << expected.source << " " << expected.compression;
        EXPECT_EQ(result, -1);
        EXPECT_EQ(data.getDatafile(), nullptr);
    }
}

#ifndef _WIN32
// FIFOs, sockets and file permissions as the game meets them on Linux.
// The picture file must be a regular file the player may read: anything
// else there is refused at once, without waiting on it, and a file the
// player may not read is not found.
TEST_F(DatafileTest, OnlyARegularFileThePlayerMayReadIsRead)
{
    int result = 0;
    std::string output;
    ASSERT_EQ(mkfifo("picData.dat", 0644), 0);
    EXPECT_TRUE(returnsWithoutWaitingOn("picData.dat", [&] { output = initOutput(result); }));
    EXPECT_EQ(output, unusable("it is not a regular file"));
    std::remove("picData.dat");

    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "picData.dat");
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(initOutput(result), unusable("it is not a regular file"));
    close(listener);
    std::remove("picData.dat");

    ASSERT_EQ(symlink("/dev/zero", "picData.dat"), 0);
    EXPECT_EQ(initOutput(result), unusable("it is not a regular file"));
    EXPECT_EQ(result, -1);
    std::remove("picData.dat");

    // Root reads any file whatever its mode, so root plays this part as the
    // user nobody, in a folder anyone may look into.
    writeFile(datafileBytes(completeObjects()));
    ASSERT_EQ(chmod("picData.dat", 0), 0);
    ASSERT_EQ(chmod(".", 0755), 0);
    const bool root = geteuid() == 0;
    ASSERT_TRUE(!root || seteuid(65534) == 0);
    output = initOutput(result);
    ASSERT_TRUE(!root || seteuid(0) == 0);
    EXPECT_EQ(output, "Graphics datafile not found. Now exiting.\n");
    EXPECT_EQ(result, -1);
}
#endif
