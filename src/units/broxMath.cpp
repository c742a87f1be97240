#include "broxMath.h"

#include <cstdlib>

namespace {

const fixed fullTurn = itofix(256);

// Brings an angle into 0..256; a whole turn stays 256.
fixed normalised(fixed angle)
{
    while (angle < 0)
        angle += fullTurn;
    while (angle > fullTurn)
        angle -= fullTurn;
    return angle;
}

}  // namespace

fixed calcAngle(const fixed& x1, const fixed& y1, const fixed& x2, const fixed& y2,
                const fixed& fallback)
{
    const fixed dx = x1 - x2;
    const fixed dy = y2 - y1;
    if (dx == 0 && dy == 0)
        return fallback;
    if (dy == 0)
        return dx < 0 ? itofix(64) : itofix(192);
    // fixdiv saturates when the quotient overflows, which still gives an
    // arctangent of about +-64.
    fixed angle = fixatan(fixdiv(dx, dy));
    if (dy > 0)
        angle -= itofix(128);
    return angle;
}

fixed calcDist(const fixed& x1, const fixed& y1, const fixed& x2, const fixed& y2)
{
    return fixhypot(x2 - x1, y2 - y1);
}

fixed angleDist(const fixed& a, const fixed& b)
{
    const fixed d1 = normalised(a) - normalised(b);
    const fixed d2 = d1 + fullTurn;
    const fixed d3 = d1 - fullTurn;
    // Later candidates win ties, so half a turn comes out against a - b.
    fixed chosen = d1;
    if (std::abs(d2) <= std::abs(d1) && std::abs(d2) <= std::abs(d3))
        chosen = d2;
    if (std::abs(d3) <= std::abs(d2) && std::abs(d3) <= std::abs(d1))
        chosen = d3;
    return chosen;
}
