#ifndef BROX_LOADER_H
#define BROX_LOADER_H

#include <allegro.h>

#include "units/unitTypes.h"

class arena;
class dataObj;
class unit;
class unitList;

// The game's content: the unit catalogue (pictures, hit records and stats of
// every unit type) and the rounds. Holds no state of its own.
class loader {
public:
    virtual ~loader();

    // Registers the picture table and hitbox of every unit type, 2 to 9.
    void init(unitList* list, DATAFILE* datafile);
    // Registers the picture table and hitbox of one type; an id that names
    // no type registers nothing.
    void createUnit(int type, unitList* list, DATAFILE* datafile);

    // The side a pending request counts for, by its type alone: chasers are
    // enemies, everything else neutral.
    static int getAffiliationByUnit(int type);

    // Stores a new unit of the type's class in out, whose init then gives it
    // the type's settings; a type without a class leaves out untouched.
    // Virtual so that a battle can be staged with hand-made unit classes.
    virtual void loadUnit(int type, unit*& out);

    // Sets up the arena and screen layout of a round and queues its arrivals.
    // With advance the round is nextRound, which then becomes its successor;
    // otherwise round is loaded again and nextRound is left alone.
    void loadRound(int round, int& nextRound, unitList* list, BITMAP*& roundPic, dataObj* data,
                   DATAFILE* datafile, bool advance);

    // A random whole-pixel point of the arena's border, as fixed values; each
    // edge is chosen in proportion to its length.
    static void randomlyPlaceUnit(arena* battleArena, int& x, int& y);
    // The border point, in pixels, that c (0 to 2 (width + height) - 1)
    // picks: the top, right, bottom and left edges in turn, each measured
    // from its top or left end.
    static void borderPoint(int width, int height, int c, int& x, int& y);
};

#endif
