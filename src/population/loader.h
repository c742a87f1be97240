#ifndef BROX_LOADER_H
#define BROX_LOADER_H

class unit;

// Unit type ids of the catalogue; every other id names no type.
enum unitTypeId {
    chaser = 2,
    bolt = 3,
    orbiter = 4,
    blast = 5,
    poleon = 6,
    seeker = 7,
    healOrb = 8,
    aimMarker = 9
};

// The unit catalogue: makes the unit of a type and says which side a pending
// request of a type counts for.
class loader {
public:
    virtual ~loader();

    // The side a pending request counts for, by its type alone: chasers are
    // enemies, everything else neutral.
    static int getAffiliationByUnit(int type);

    // Stores a new unit of the type's class with the type's fixed settings in
    // out; a type without a class leaves out untouched. Virtual so that a
    // battle can be staged with hand-made unit classes.
    virtual void loadUnit(int type, unit*& out);
};

#endif
