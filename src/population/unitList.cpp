#include "unitList.h"

#include <algorithm>

#include "loader.h"
#include "shell/dataObj.h"

namespace {

// Index of the last entry whose type matches, else 0.
template <typename Table, typename TypeOf>
int lastIndexOfType(const Table& table, int type, TypeOf typeOf)
{
    int found = 0;
    for (size_t i = 0; i < table.size(); ++i)
        if (typeOf(*table[i]) == type)
            found = static_cast<int>(i);
    return found;
}

}  // namespace

unitList::unitList() = default;

unitList::~unitList() { destroyUnits(); }

void unitList::setLoader(::loader* catalogue) { loader = catalogue; }

void unitList::destroyUnits()
{
    for (unit* member : units)
        delete member;
    units.clear();
}

void unitList::clearAll()
{
    destroyUnits();
    creates.clear();
    nextUnitID = 0;
}

void unitList::addUnit(unit* newUnit)
{
    units.push_back(newUnit);
    newUnit->setUnitID(nextUnitID++);
}

void unitList::addGraphics(unitGraphics* table) { graphics.emplace_back(table); }
void unitList::addHitbox(hitbox* record) { hitboxes.emplace_back(record); }
void unitList::addCreate(unitCreate* request) { creates.emplace_back(request); }

const std::vector<unit*>& unitList::getUnits() const { return units; }

unit* unitList::getUnit(int id) const
{
    // -1 is the id of units not yet added and the owner of unowned units.
    if (id == -1)
        return nullptr;
    for (unit* member : units)
        if (member->getUnitID() == id)
            return member;
    return nullptr;
}

unit* unitList::at(int id) const { return getUnit(id); }

bool unitList::matches(const unit* candidate, int mode, int value) const
{
    switch (mode) {
    case searchByType:
        return candidate->getUnitType() == value;
    case searchByOwnerType: {
        const unit* owner = getUnit(candidate->getOwnerID());
        return owner && owner->getUnitType() == value;
    }
    case searchByAffiliation:
        return candidate->getAffiliation() == value;
    default:
        return false;
    }
}

std::vector<unit*> unitList::search(const std::vector<unit*>& candidates, int mode, int value) const
{
    std::vector<unit*> found;
    for (unit* candidate : candidates)
        if (matches(candidate, mode, value))
            found.push_back(candidate);
    return found;
}

unit* unitList::firstOfSide(int side) const
{
    const auto found = std::find_if(units.begin(), units.end(), [side](const unit* member) {
        return member->getAffiliation() == side;
    });
    return found == units.end() ? nullptr : *found;
}

int unitList::searchGraphics(int type) const
{
    return lastIndexOfType(graphics, type,
                           [](const unitGraphics& table) { return table.unitType; });
}

int unitList::searchHitBox(int type) const
{
    return lastIndexOfType(hitboxes, type, [](const hitbox& record) { return record.ownerType; });
}

unit* unitList::spawn(const unitCreate& request)
{
    // Without a template to fall back on, the unit could not be completed.
    if (!loader || graphics.empty() || hitboxes.empty())
        return nullptr;
    unit* spawned = nullptr;
    loader->loadUnit(request.unitType, spawned);
    if (!spawned)
        return nullptr;
    spawned->setUnitType(request.unitType);
    spawned->setUnitGraphics(graphics[searchGraphics(request.unitType)].get());
    spawned->setMoveAngle(request.moveAngle);
    spawned->setPos(request.posX, request.posY);
    spawned->setHitbox(hitboxes[searchHitBox(request.unitType)].get());
    spawned->setOwnerID(request.ownerID);
    // Last, because init may overwrite what the catalogue set.
    spawned->init(request.initArg0, request.initArg1, request.initArg2);
    return spawned;
}

void unitList::createUnits()
{
    std::vector<std::unique_ptr<unitCreate>> waiting;
    for (auto& request : creates) {
        if (request->delay > 0) {
            --request->delay;
        } else if (unit* spawned = spawn(*request)) {
            addUnit(spawned);
            continue;  // the request is done and goes with the old queue
        }
        waiting.push_back(std::move(request));
    }
    creates.swap(waiting);
}

void unitList::cullUnits()
{
    std::vector<unit*> survivors;
    for (unit* member : units) {
        if (member->getDeathTimeRemoval() <= 0 && member->getHP() <= 0)
            delete member;
        else
            survivors.push_back(member);
    }
    units.swap(survivors);
}

bool unitList::anyRemainingAffiliation(int side) const
{
    const bool unitOnSide = std::any_of(units.begin(), units.end(), [side](const unit* member) {
        return member->getAffiliation() == side;
    });
    return unitOnSide || std::any_of(creates.begin(), creates.end(), [side](const auto& request) {
               return ::loader::getAffiliationByUnit(request->unitType) == side;
           });
}

int unitList::latestTime() const
{
    int latest = 0;
    for (const auto& request : creates)
        latest = std::max(latest, request->delay);
    return latest;
}

void unitList::stepUnits(dataObj* data)
{
    // The list does not change during the three passes.
    for (unit* member : units)
        member->processInput(data, this);
    // Filed after processInput, which grows blasts; positions change only
    // in processPendingActions.
    const arena* field = data->getArena();
    fileContacts(field->getArenaSizeX(), field->getArenaSizeY());
    for (unit* member : units)
        member->makePendingActions(data, this);
    dropContacts();
    for (unit* member : units)
        member->processPendingActions(data, this);
    createUnits();
}

void unitList::setContactGridUsed(bool used) { contactGridUsed = used; }
bool unitList::getContactGridUsed() const { return contactGridUsed; }

void unitList::fileContacts(int arenaSizeX, int arenaSizeY)
{
    contactsFiled = contactGridUsed;
    if (contactsFiled)
        contacts.build(units, arenaSizeX, arenaSizeY);
}

void unitList::dropContacts() { contactsFiled = false; }

const std::vector<unit*>& unitList::possibleHitters(const unit& victim)
{
    return contactsFiled ? contacts.candidatesFor(victim) : units;
}
