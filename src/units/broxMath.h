#ifndef BROX_BROXMATH_H
#define BROX_BROXMATH_H

#include <allegro.h>

// Geometry on Allegro fixed-point values. Angles use the 256-unit circle with
// 0 pointing up (y decreasing) and 64 pointing right.

// Direction from point 1 toward point 2; fallback when the points coincide.
// Not normalised: points below come out between -192 and -64.
fixed calcAngle(const fixed& x1, const fixed& y1, const fixed& x2, const fixed& y2,
                const fixed& fallback);

// Distance between the two points.
fixed calcDist(const fixed& x1, const fixed& y1, const fixed& x2, const fixed& y2);

// Signed shortest turn from b to a, in -128..128. At exactly half a turn the
// sign is the opposite of a - b.
fixed angleDist(const fixed& a, const fixed& b);

#endif
