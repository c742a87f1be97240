#include "playerUnit.h"

void playerUnit::init(int, int, int)
{
    attack1Cost = 0;
    attack2Cost = 0;
    attack3Cost = 0;
    affiliation = affiliationPlayer;
}

void playerUnit::describeState(std::vector<stateField>& fields) const
{
    unit::describeState(fields);
    fields.insert(
        fields.end(),
        {{"attack1Cost", attack1Cost}, {"attack2Cost", attack2Cost}, {"attack3Cost", attack3Cost}});
}

int playerUnit::getHPBarColor()
{
    const float ratio = hpRatio();
    if (ratio < 0.2f)
        return hpBarColor(barLow);
    if (ratio < 0.5f)
        return hpBarColor(barMiddle);
    return fullnessColor();
}

int playerUnit::hpBarColor(hpBarBand band)
{
    switch (band) {
    case barLow:
        return makecol(125, 36, 36);
    case barMiddle:
        return makecol(86, 71, 154);
    case barHigh:
        return makecol(82, 179, 107);
    default:
        return makecol(204, 187, 46);
    }
}

float playerUnit::hpRatio() const
{
    return maxHP >= 1 ? static_cast<float>(hp) / static_cast<float>(maxHP) : 0.0f;
}

int playerUnit::fullnessColor() const { return hpBarColor(hpRatio() < 1.0f ? barHigh : barFull); }
