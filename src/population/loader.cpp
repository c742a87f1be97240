#include "loader.h"

#include "unit.h"

loader::~loader() = default;

int loader::getAffiliationByUnit(int type)
{
    return type == chaser ? affiliationEnemy : affiliationNeutral;
}

// No unit type has a behaviour class yet, so nothing can be made.
void loader::loadUnit(int, unit*&) {}
