#include "datWorkshop.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "byteWriter.h"

namespace {

using bytes = std::vector<unsigned char>;

constexpr int pictureCount = 55;

void append(bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

std::string pictureName(int index)
{
    char name[16];
    std::snprintf(name, sizeof name, "p%02d.bmp", index);
    return name;
}

}  // namespace

datWorkshop::datWorkshop()
{
    if (!scratch.made())
        throw std::runtime_error("no scratch folder for dat");
}

bool datWorkshop::dat(const std::string& arguments)
{
    const std::string logName = path("dat.log");
    const std::string command =
        "cd '" + folder() + "' && '" BROX_DAT "' " + arguments + " >'" + logName + "' 2>&1";
    const bool worked = std::system(command.c_str()) == 0;
    std::ifstream log(logName);
    const std::string printed{std::istreambuf_iterator<char>(log),
                              std::istreambuf_iterator<char>()};
    lastReport = worked ? ""
                        : "dat " + arguments
                              + " failed (Allegro's dat, from the package "
                                "liballegro4-dev, must be installed):\n"
                              + printed;
    return worked;
}

void datWorkshop::writePictures()
{
    BITMAP* picture = create_bitmap_ex(32, 2, 2);
    for (int index = 0; index < pictureCount; ++index) {
        clear_to_color(picture, makecol32(index * 4, 255 - index * 4, 128));
        putpixel(picture, 1, 1, makecol32(255, 255, index));
        save_bmp(path(pictureName(index)).c_str(), picture, nullptr);
    }
    destroy_bitmap(picture);
}

std::string datWorkshop::addPictures(const std::string& file, const std::vector<int>& left)
{
    std::string arguments = "-s1 -bpp 32 -t BMP " + file + " -a";
    for (int index = 0; index < pictureCount; ++index)
        if (std::find(left.begin(), left.end(), index) == left.end())
            arguments += " " + pictureName(index);
    return arguments;
}

void datWorkshop::writeAlphaPicture(const std::string& name)
{
    BITMAP* picture = create_bitmap_ex(32, 3, 2);
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 2; ++y)
            putpixel(picture, x, y, makeacol32(x * 80, y * 120, 60, x * 127));
    save_tga(path(name).c_str(), picture, nullptr);
    destroy_bitmap(picture);
}

void datWorkshop::writeSound(const std::string& name, bool stereo16)
{
    const int channels = stereo16 ? 2 : 1;
    const int sampleBytes = stereo16 ? 2 : 1;
    const int frames = 6;
    const int rate = 8000;
    bytes data;
    for (int i = 0; i < frames * channels; ++i)
        putLittle(data, static_cast<std::uint32_t>(i * 40 + 16), sampleBytes);
    bytes wav;
    append(wav, "RIFF");
    putLittle(wav, static_cast<std::uint32_t>(36 + data.size()), 4);
    append(wav, "WAVEfmt ");
    putLittle(wav, 16, 4);
    putLittle(wav, 1, 2);  // PCM
    putLittle(wav, channels, 2);
    putLittle(wav, rate, 4);
    putLittle(wav, rate * channels * sampleBytes, 4);
    putLittle(wav, channels * sampleBytes, 2);
    putLittle(wav, 8 * sampleBytes, 2);
    append(wav, "data");
    putLittle(wav, static_cast<std::uint32_t>(data.size()), 4);
    wav.insert(wav.end(), data.begin(), data.end());
    writeBytes(name, wav);
}

void datWorkshop::writeTune(const std::string& name)
{
    // One note, then the end of the track.
    const bytes track = {0, 0x90, 60, 100, 0x60, 0x80, 60, 0, 0, 0xff, 0x2f, 0};
    bytes midi;
    append(midi, "MThd");
    putBig(midi, 6, 4);
    putBig(midi, 0, 2);  // one track
    putBig(midi, 1, 2);
    putBig(midi, 96, 2);  // beat divisions
    append(midi, "MTrk");
    putBig(midi, static_cast<std::uint32_t>(track.size()), 4);
    midi.insert(midi.end(), track.begin(), track.end());
    writeBytes(name, midi);
}

void datWorkshop::writeMonoFont(const std::string& name)
{
    // 256 glyphs of eight rows, one bit a pixel.
    bytes glyphs;
    for (int row = 0; row < 256 * 8; ++row)
        glyphs.push_back(static_cast<unsigned char>(row * 7));
    writeBytes(name, glyphs);
}

void datWorkshop::writeColourFont(const std::string& name)
{
    // The glyphs of space to tilde in a grid, parted by colour 255.
    const int side = 4;
    const int columns = 16;
    BITMAP* grid = create_bitmap_ex(8, 1 + columns * (side + 1), 1 + 6 * (side + 1));
    clear_to_color(grid, 255);
    for (int glyph = 0; glyph < 95; ++glyph) {
        const int x = 1 + glyph % columns * (side + 1);
        const int y = 1 + glyph / columns * (side + 1);
        rectfill(grid, x, y, x + side - 1, y + side - 1, 0);
        putpixel(grid, x + glyph % side, y + glyph / side % side, 1 + glyph % 5);
    }
    PALETTE palette;
    for (int i = 0; i < PAL_SIZE; ++i)
        palette[i] =
            RGB{static_cast<unsigned char>(i / 4), static_cast<unsigned char>(63 - i / 4), 32, 0};
    save_bmp(path(name).c_str(), grid, palette);
    destroy_bitmap(grid);
}

void datWorkshop::writeNestedFolders(const std::string& name, int depth)
{
    std::filesystem::path folder = path(name);
    for (int level = 2; level <= depth; ++level)
        folder /= "n" + std::to_string(level);
    std::filesystem::create_directories(folder);
    BITMAP* picture = create_bitmap_ex(32, 1, 1);
    clear_to_color(picture, makecol32(9, 99, 199));
    save_bmp((folder / "deepest.bmp").string().c_str(), picture, nullptr);
    destroy_bitmap(picture);
}

void datWorkshop::writeBytes(const std::string& name, const bytes& contents) const
{
    std::ofstream(path(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(contents.data()),
               static_cast<std::streamsize>(contents.size()));
}

void datWorkshop::copy(const std::string& from, const std::string& to) const
{
    std::filesystem::copy_file(path(from), path(to),
                               std::filesystem::copy_options::overwrite_existing);
}

bool datWorkshop::buildEveryKind(const std::string& file, int nesting)
{
    writePictures();
    writeSound("p29_sound.wav", false);
    writeMonoFont("p34_font.fnt");
    writeSound("q_stereo.wav", true);
    writeColourFont("q_colour.bmp");
    writeColourFont("q_palette.bmp");
    writeTune("q_tune.mid");
    writeAlphaPicture("q_alpha.tga");
    writeBytes("q_film.fli", {1, 2, 3});
    writeBytes("q_patch.pat", {4, 5, 6});
    writeBytes("q_plain.bin", {7, 8, 9});
    writeNestedFolders("q_nested", nesting);
    for (const char* picture : {"q_glyphless.bmp", "q_rle8.bmp", "q_rle16.bmp", "q_rle24.bmp",
                                "q_compiled.bmp", "q_xcompiled.bmp", "q_photo.bmp"})
        copy(pictureName(0), picture);
    const std::string additions[] = {
        "-t SAMP " + file + " -a p29_sound.wav q_stereo.wav",
        "-t FONT " + file + " -a p34_font.fnt q_colour.bmp q_glyphless.bmp",
        "-t PAL " + file + " -a q_palette.bmp",
        "-t MIDI " + file + " -a q_tune.mid",
        "-t RLE -bpp 32 " + file + " -a q_alpha.tga",
        "-t RLE -bpp 8 " + file + " -a q_rle8.bmp",
        "-t RLE -bpp 16 " + file + " -a q_rle16.bmp",
        "-t RLE -bpp 24 " + file + " -a q_rle24.bmp",
        "-t CMP -bpp 15 " + file + " -a q_compiled.bmp",
        "-t XCMP -bpp 8 " + file + " -a q_xcompiled.bmp",
        "-t JPEG " + file + " -a q_photo.bmp",
        "-t FLIC " + file + " -a q_film.fli",
        "-t PAT " + file + " -a q_patch.pat",
        "-t DATA " + file + " -a q_plain.bin",
        "-r -t BMP -bpp 24 " + file + " -a q_nested",
        "-t FILE " + file + " -a z_empty.dat",
    };
    if (!dat("-s1 z_empty.dat -c0") || !dat(addPictures(file, {29, 34})))
        return false;
    for (const std::string& addition : additions)
        if (!dat("-s1 " + addition))
            return false;
    return true;
}

bytes datWorkshop::readBytes(const std::string& name) const
{
    std::ifstream file(path(name), std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
