#ifndef BROX_UNITLIST_H
#define BROX_UNITLIST_H

#include <memory>
#include <vector>

#include "contactGrid.h"
#include "unitCreate.h"
#include "unitGraphics.h"
#include "units/hitbox.h"
#include "units/unit.h"

class loader;

// Modes of unitList::search: which field of a unit is compared to the value.
enum searchMode {
    searchByType = 0,
    searchByOwnerType = 1,  // the unit type of the unit's owner
    searchByAffiliation = 2
};

// The battle's population: the live units in creation order, the pending
// spawn requests, and one picture table and hitbox per unit type. The list
// owns all of them.
class unitList {
public:
    unitList();
    ~unitList();
    unitList(const unitList&) = delete;
    unitList& operator=(const unitList&) = delete;

    void setLoader(::loader* catalogue);

    // Drops every unit and request and starts the ids at 0 again; the
    // picture tables and hitboxes stay.
    void clearAll();
    // Takes ownership and hands out the next id.
    void addUnit(unit* newUnit);
    void addGraphics(unitGraphics* table);
    void addHitbox(hitbox* record);
    void addCreate(unitCreate* request);

    const std::vector<unit*>& getUnits() const;
    // Null for -1 and for ids not in the list.
    unit* getUnit(int id) const;
    unit* at(int id) const;
    // The units of the input that match, in input order; does not own them.
    std::vector<unit*> search(const std::vector<unit*>& candidates, int mode, int value) const;
    // The side's first unit in list order, or null. Found without building a
    // list, as every chaser and every juice payment asks it every step.
    unit* firstOfSide(int side) const;
    // Index of the type's table, or 0 (the first registered) when it has none.
    int searchGraphics(int type) const;
    int searchHitBox(int type) const;

    // One simulation step of every unit: processInput, makePendingActions
    // (its contacts filed in the grid) and processPendingActions, each pass
    // over the whole list before the next; then createUnits.
    void stepUnits(dataObj* data);
    // Counts the requests' delays down and turns the due ones into units.
    void createUnits();
    // Removes the units that are dead and whose removal delay has run out.
    void cullUnits();
    // Whether a unit, or a pending request by its type, is on the side.
    bool anyRemainingAffiliation(int side) const;
    // The largest delay among the pending requests; 0 when there are none.
    int latestTime() const;

    // Whether contacts are looked up in a grid (the default) or every unit
    // is tested against every other; both find the same hits in the same
    // order. The all-pairs test stays as the measure of the grid.
    void setContactGridUsed(bool used);
    bool getContactGridUsed() const;
    // Files the units for one makePendingActions pass; no unit may move,
    // grow, come or go until dropContacts.
    void fileContacts(int arenaSizeX, int arenaSizeY);
    void dropContacts();
    // The units that might touch the victim, in list order: the grid's
    // candidates while the units are filed, else the whole list.
    const std::vector<unit*>& possibleHitters(const unit& victim);

private:
    bool matches(const unit* candidate, int mode, int value) const;
    unit* spawn(const unitCreate& request);
    void destroyUnits();

    std::vector<unit*> units;  // owned; raw so that getUnits can lend them out
    int nextUnitID = 0;
    std::vector<std::unique_ptr<unitCreate>> creates;
    std::vector<std::unique_ptr<unitGraphics>> graphics;
    std::vector<std::unique_ptr<hitbox>> hitboxes;
    ::loader* loader = nullptr;  // not owned
    contactGrid contacts;
    bool contactGridUsed = true;
    bool contactsFiled = false;
};

#endif
