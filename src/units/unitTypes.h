#ifndef BROX_UNITTYPES_H
#define BROX_UNITTYPES_H

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

#endif
