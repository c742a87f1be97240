#ifndef BROX_MEMORY_DATAFILE_H
#define BROX_MEMORY_DATAFILE_H

#include <allegro.h>

#include <array>

#include "allegroTestEnv.h"
#include "shell/picData.h"

// A picture datafile built in memory with every object the game addresses.
// Object n is a square bitmap of side sideOf(n), so a picture can be told
// apart both by its pointer and by its size.
class memoryDatafile {
public:
    static constexpr int objectCount = picData::objectCount;

    static int sideOf(int object) { return 8 + object; }

    memoryDatafile()
    {
        ensureHeadlessAllegro();
        for (int object = 0; object < objectCount; ++object) {
            BITMAP* pic = create_bitmap(sideOf(object), sideOf(object));
            entries[object] = {pic, DAT_BITMAP, 0, nullptr};
        }
        entries[objectCount] = {nullptr, DAT_END, 0, nullptr};
    }

    ~memoryDatafile()
    {
        for (int object = 0; object < objectCount; ++object)
            destroy_bitmap(pic(object));
    }

    memoryDatafile(const memoryDatafile&) = delete;
    memoryDatafile& operator=(const memoryDatafile&) = delete;

    DATAFILE* get() { return entries.data(); }
    BITMAP* pic(int object) const { return static_cast<BITMAP*>(entries[object].dat); }

    // The object number of a picture of this datafile; -1 for any other.
    int objectOf(const BITMAP* picture) const
    {
        for (int object = 0; object < objectCount; ++object)
            if (pic(object) == picture)
                return object;
        return -1;
    }

private:
    std::array<DATAFILE, objectCount + 1> entries{};
};

#endif
