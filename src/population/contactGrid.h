#ifndef BROX_CONTACTGRID_H
#define BROX_CONTACTGRID_H

#include <allegro.h>

#include <vector>

class unit;

// The broad phase of the contact test: a uniform grid of square cells over
// the arena, each holding the units whose centre lies in it. It names, for
// one victim, the few units that might touch it, in list order. Built for
// one makePendingActions pass, during which no unit moves, grows or leaves
// the list; it must be built again before the next.
class contactGrid {
public:
    // A unit whose scaled picture is at most this wide touches only units
    // of the 3 x 3 cells around its own: as wide as a large chaser.
    static const fixed cellSide;

    // Files every unit of the list, which must outlive the queries.
    void build(const std::vector<unit*>& units, int arenaSizeX, int arenaSizeY);
    // Every unit of the list that might touch the victim (at least those
    // that do), in list order. Valid until the next query or build.
    const std::vector<unit*>& candidatesFor(const unit& victim);

private:
    static constexpr int unfiled = -1;

    // The cell of a unit that is small enough and inside the grid, else
    // unfiled: such a unit is tested against every other.
    int cellOf(const unit& member) const;
    void addCellsAround(int cell);

    const std::vector<unit*>* listed = nullptr;
    fixed limitX = 0;
    fixed limitY = 0;
    int columns = 0;
    int rows = 0;
    std::vector<int> cellStarts;    // per cell, where its units begin in filed; one more at the end
    std::vector<int> filed;         // list indices, cell after cell, in list order within a cell
    std::vector<int> unfiledUnits;  // list indices of the units in no cell
    std::vector<int> cells;         // per list index, its cell or unfiled
    std::vector<int> picked;        // list indices of one query's candidates
    std::vector<unit*> candidates;
};

#endif
