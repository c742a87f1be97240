#ifndef BROX_DAT_WORKSHOP_H
#define BROX_DAT_WORKSHOP_H

#include <string>
#include <vector>

#include "scratchFolder.h"

// A scratch folder in which Allegro's own dat utility builds picture files
// the way a player or modder would, from source files written here in code:
// pictures, sounds, a tune, fonts and nested folders. Allegro must be
// installed (headless will do) before pictures are written.
class datWorkshop {
public:
    datWorkshop();
    datWorkshop(const datWorkshop&) = delete;
    datWorkshop& operator=(const datWorkshop&) = delete;

    const std::string& folder() const { return scratch.folder(); }
    std::string path(const std::string& name) const { return folder() + "/" + name; }

    // Runs dat in the folder with the arguments, shell words naming files
    // of the folder; false when it fails. report() then says so, with
    // what dat printed.
    bool dat(const std::string& arguments);
    const std::string& report() const { return lastReport; }

    // p00.bmp to p54.bmp: a small picture for each object the game reads.
    void writePictures();
    // The arguments that make dat add those pictures to `file` at 32 bits,
    // but for the listed indices; dat sorts objects by name, so another
    // object named p29_... takes the place of picture 29.
    static std::string addPictures(const std::string& file, const std::vector<int>& left = {});
    // A 32-bit TGA picture with an alpha channel.
    void writeAlphaPicture(const std::string& name);
    // A WAV sound of a few frames: 8-bit mono, or 16-bit stereo.
    void writeSound(const std::string& name, bool stereo16);
    void writeTune(const std::string& name);
    // An 8 x 8 BIOS font file (mono) and a picture of 95 glyphs (colour).
    void writeMonoFont(const std::string& name);
    void writeColourFont(const std::string& name);
    // A chain of `depth` folders below `name` with a picture in the last:
    // dat -r makes `depth` datafiles, each nested in the one before.
    void writeNestedFolders(const std::string& name, int depth);
    void writeBytes(const std::string& name, const std::vector<unsigned char>& bytes) const;
    void copy(const std::string& from, const std::string& to) const;
    std::vector<unsigned char> readBytes(const std::string& name) const;

    // Builds `file` with a picture at every index the game reads and objects
    // of every other kind dat writes where it reads none: a sound at 29, a
    // font at 34, and from 55 on another sound, fonts (one without glyphs),
    // a palette, music, RLE sprites of every depth, compiled sprites, a
    // photo, an animation, a patch, plain data, datafiles nested `nesting`
    // deep and, last, a datafile of no objects: 72 objects in all. False
    // when dat fails.
    bool buildEveryKind(const std::string& file, int nesting);

private:
    scratchFolder scratch;
    std::string lastReport;
};

#endif
