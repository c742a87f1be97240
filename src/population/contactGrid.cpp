#include "contactGrid.h"

#include <algorithm>
#include <climits>
#include <numeric>

#include "unitGraphics.h"
#include "units/unit.h"

namespace {

// The far edge of the grid along one axis: the arena's side, held to what
// a fixed can express, so that no two filed coordinates are further apart
// than an int difference can say.
fixed gridLimit(int arenaSize)
{
    const long long side = static_cast<long long>(std::max(arenaSize, 0)) << 16;
    return static_cast<fixed>(std::min<long long>(side, INT_MAX));
}

}  // namespace

const fixed contactGrid::cellSide = itofix(64);

void contactGrid::build(const std::vector<unit*>& units, int arenaSizeX, int arenaSizeY)
{
    listed = &units;
    limitX = gridLimit(arenaSizeX);
    limitY = gridLimit(arenaSizeY);
    columns = limitX / cellSide + 1;
    rows = limitY / cellSide + 1;
    const int count = static_cast<int>(units.size());

    // Counted, then placed in list order: within a cell, indices ascend.
    cellStarts.assign(static_cast<std::size_t>(columns) * rows + 1, 0);
    cells.resize(count);
    unfiledUnits.clear();
    for (int index = 0; index < count; ++index) {
        cells[index] = cellOf(*units[index]);
        if (cells[index] == unfiled)
            unfiledUnits.push_back(index);
        else
            ++cellStarts[cells[index] + 1];
    }
    std::partial_sum(cellStarts.begin(), cellStarts.end(), cellStarts.begin());
    std::vector<int> next(cellStarts.begin(), cellStarts.end() - 1);
    filed.resize(count - unfiledUnits.size());
    for (int index = 0; index < count; ++index)
        if (cells[index] != unfiled)
            filed[next[cells[index]]++] = index;
}

int contactGrid::cellOf(const unit& member) const
{
    const unitGraphics* graphics = member.getUnitGraphics();
    if (graphics == nullptr)
        return unfiled;
    const long long size = static_cast<long long>(graphics->getPicSize()) * member.getDrawScale();
    const fixed x = member.getPosX();
    const fixed y = member.getPosY();
    // Units off the arena (knocked out, attached, ignoring walls) and units
    // larger than a cell could reach past the neighbouring cells.
    if (size < 0 || size > cellSide || x < 0 || x > limitX || y < 0 || y > limitY)
        return unfiled;
    return y / cellSide * columns + x / cellSide;
}

const std::vector<unit*>& contactGrid::candidatesFor(const unit& victim)
{
    const int cell = cellOf(victim);
    if (cell == unfiled)
        return *listed;
    picked = unfiledUnits;
    addCellsAround(cell);
    std::sort(picked.begin(), picked.end());
    candidates.clear();
    for (int index : picked)
        candidates.push_back((*listed)[index]);
    return candidates;
}

// Two filed units closer than a cell side along both axes lie in the same
// or neighbouring cells. The three cells of a row lie side by side in filed.
void contactGrid::addCellsAround(int cell)
{
    const int row = cell / columns;
    const int column = cell % columns;
    const int left = std::max(column - 1, 0);
    const int right = std::min(column + 1, columns - 1);
    for (int around = std::max(row - 1, 0); around <= std::min(row + 1, rows - 1); ++around) {
        const int first = cellStarts[around * columns + left];
        const int end = cellStarts[around * columns + right + 1];
        picked.insert(picked.end(), filed.begin() + first, filed.begin() + end);
    }
}
