// Unit sprites. Coordinates are the final picture's pixels; every sprite
// is square with the side its type's idle picture sets.
#include "picArt.h"
#include "picDraw.h"
#include "shell/picLayout.h"

namespace {

using namespace picLayout;

const Rgb kWhite{255, 255, 255};
const Rgb kFlameOuter{255, 120, 30};
const Rgb kFlameInner{255, 235, 120};
const Rgb kStarYellow{255, 230, 60};
const Rgb kStarEdge{90, 60, 0};
const Rgb kSmoke{70, 70, 75};

struct HullColours {
    Rgb hull, panel, spine, outline;
};

void flame(Pen& pen, float x, float top, float length, float width, Rgb outer, Rgb inner)
{
    pen.polygon({{x - width / 2, top}, {x + width / 2, top}, {x, top + length}}, outer);
    pen.polygon({{x - width / 4, top}, {x + width / 4, top}, {x, top + length * 0.6f}}, inner);
}

// Three stars circling the centre: the stunned look of every unit.
void dizzyStars(Pen& pen, Pt centre, float radius, float phaseDeg, float size)
{
    for (int i = 0; i < 3; ++i) {
        const Pt at = onCircle(centre, radius, phaseDeg + 120.0f * i);
        pen.outlined(0.8f, kStarEdge,
                     [&] { pen.star(at, size, size * 0.45f, 5, phaseDeg, kStarYellow); });
    }
}

// --- poleon, the player's fighter -------------------------------------

const Pt kFighterCentre{16, 16};
const HullColours kFighterBlue{{70, 170, 255}, {35, 105, 215}, {195, 235, 255}, {10, 28, 70}};
const HullColours kFighterHot{{255, 165, 60}, {225, 85, 25}, {255, 245, 205}, {80, 25, 0}};
const HullColours kFighterDazed{{85, 120, 160}, {55, 85, 125}, {150, 170, 190}, {15, 25, 45}};
const HullColours kFighterWreck{{95, 100, 115}, {65, 70, 82}, {125, 130, 140}, {20, 20, 25}};
const Rgb kCockpit{20, 40, 95};
const Rgb kEngine{135, 145, 165};
const Rgb kCallGlow{120, 255, 220};

// Right half, nose to tail; the left is its mirror image.
const std::vector<Pt> kFighterHalf{{16, 3},     {19, 10},    {20.5f, 15}, {29.5f, 23.5f},
                                   {29.5f, 26}, {20, 24.5f}, {19, 27},    {16, 25}};
const std::vector<Pt> kFighterPanel{{22, 18.5f}, {29.5f, 23.5f}, {29.5f, 26}, {23.5f, 24.8f}};

void engines(Pen& pen, Rgb colour)
{
    pen.box(12, 23, 14.5f, 27.5f, colour);
    pen.box(17.5f, 23, 20, 27.5f, colour);
}

void fighterBody(Pen& pen, const HullColours& c)
{
    pen.outlined(1.0f, c.outline, [&] {
        engines(pen, kEngine);
        pen.polygon(symmetric(kFighterHalf, 16), c.hull);
    });
    pen.polygon(kFighterPanel, c.panel);
    pen.polygon(mirrored(kFighterPanel, 16), c.panel);
    pen.bar({16, 6}, {16, 23}, 2.4f, c.spine);
    pen.ellipse({16, 13}, 2, 3.5f, kCockpit);
    pen.disc({15.3f, 11.5f}, 0.8f, c.spine);
}

// Hot engines and two long flames.
void engineFlames(Pen& pen)
{
    engines(pen, kFlameInner);
    flame(pen, 13.25f, 27.5f, 4.5f, 3.2f, kFlameOuter, kWhite);
    flame(pen, 18.75f, 27.5f, 4.5f, 3.2f, kFlameOuter, kWhite);
}

// A four-point flash at the nose, then a bigger eight-point one.
void noseFlash(Pen& pen, bool big)
{
    const Pt nose{16, 3};
    if (big)
        pen.star(nose, 5.5f, 2, 8, 22.5f, kStarYellow);
    else
        pen.star(nose, 5, 1.4f, 4, 0.0f, kFlameInner);
    pen.disc(nose, big ? 2.2f : 1.5f, kWhite);
}

void fighterWreck(Pen& pen)
{
    const HullColours& c = kFighterWreck;
    const std::vector<Pt> right = turned(moved(kFighterHalf, {2.5f, 1}), kFighterCentre, 12);
    const std::vector<Pt> left =
        turned(moved(mirrored(kFighterHalf, 16), {-2.5f, 1.5f}), kFighterCentre, -15);
    pen.outlined(1.0f, c.outline, [&] {
        pen.polygon(right, c.hull);
        pen.polygon(left, c.hull);
    });
    pen.dithered(Density::half, [&] { pen.disc({15, 12}, 6, kSmoke); });
    pen.disc({16, 18}, 3.5f, kFlameOuter);
    pen.disc({16, 18.5f}, 1.8f, kFlameInner);
}

// The fighter itself: whole, charged, dazed or wrecked.
void fighterFor(Pen& pen, PoleonPose pose)
{
    switch (pose) {
    case PoleonPose::dead:
        fighterWreck(pen);
        break;
    case PoleonPose::blast:
        pen.dithered(Density::half, [&] { pen.disc(kFighterCentre, 15.5f, kFlameOuter); });
        fighterBody(pen, kFighterHot);
        break;
    case PoleonPose::stunned:
        fighterBody(pen, kFighterDazed);
        dizzyStars(pen, kFighterCentre, 11, 0, 3.5f);
        break;
    default:
        fighterBody(pen, kFighterBlue);
    }
}

// What the pose adds on top: flames, a muzzle flash or the orbiter call.
void effectFor(Pen& pen, PoleonPose pose)
{
    switch (pose) {
    case PoleonPose::moving:
        engineFlames(pen);
        break;
    case PoleonPose::fire1:
    case PoleonPose::fire2:
        noseFlash(pen, pose == PoleonPose::fire2);
        break;
    case PoleonPose::call1:
        for (Pt tip : {Pt{28, 24.5f}, Pt{4, 24.5f}, Pt{16, 5}})
            pen.disc(tip, 2.2f, kCallGlow);
        break;
    case PoleonPose::call2:
    case PoleonPose::call3:
    case PoleonPose::call4: {
        const int step = static_cast<int>(pose) - static_cast<int>(PoleonPose::call2);
        pen.ring(kFighterCentre, 9.5f + 3 * step, 1.4f, kCallGlow);
        break;
    }
    default:
        break;
    }
}

}  // namespace

BITMAP* poleonPicture(PoleonPose pose)
{
    Pen pen(poleonSide, poleonSide);
    fighterFor(pen, pose);
    effectFor(pen, pose);
    return pen.finish();
}

BITMAP* fighterIcon(int zoom)
{
    Pen pen(poleonSide, poleonSide, zoom);
    fighterFor(pen, PoleonPose::idle);
    return pen.finish();
}

// --- chaser, the dashing enemy ----------------------------------------

namespace {

const Pt kChaserCentre{16, 16};
const HullColours kChaserRed{{225, 50, 45}, {145, 20, 30}, {255, 230, 70}, {60, 0, 8}};
const HullColours kChaserDazed{{160, 70, 65}, {110, 40, 40}, {200, 190, 120}, {45, 10, 10}};
const HullColours kChaserCharred{{105, 50, 45}, {70, 30, 28}, {255, 140, 40}, {35, 10, 8}};
const Rgb kChaserGhost{255, 170, 170};
const HullColours kChaserFlash{{255, 220, 215}, {255, 170, 160}, {255, 255, 255}, {255, 110, 100}};

const std::vector<Pt> kChaserHalf{{16, 2},        {20, 11},       {27.5f, 22}, {27.5f, 27.5f},
                                  {21.5f, 23.5f}, {19.5f, 29.5f}, {16, 26}};
const std::vector<Pt> kChaserPanel{{16, 9}, {19, 19}, {16, 23}, {13, 19}};

void chaserBody(Pen& pen, const HullColours& c)
{
    pen.outlined(1.0f, c.outline, [&] { pen.polygon(symmetric(kChaserHalf, 16), c.hull); });
    pen.polygon(kChaserPanel, c.panel);
    pen.ellipse({16, 13.5f}, 1.6f, 2.6f, c.spine);
}

void chaserGhost(Pen& pen, Density density)
{
    pen.dithered(density, [&] { pen.polygon(symmetric(kChaserHalf, 16), kChaserGhost); });
}

void chaserWreck(Pen& pen)
{
    const HullColours& c = kChaserCharred;
    const std::vector<Pt> nose{{16, 2}, {20, 11}, {18, 16}, {14, 16}, {12, 11}};
    const std::vector<Pt> wing{{18, 16},       {20, 11},       {27.5f, 22}, {27.5f, 27.5f},
                               {21.5f, 23.5f}, {19.5f, 29.5f}, {16, 26},    {16, 16}};
    const std::vector<std::vector<Pt>> pieces{
        turned(moved(nose, {0, -0.5f}), kChaserCentre, 10),
        turned(moved(wing, {2.5f, 0.5f}), kChaserCentre, 14),
        turned(moved(mirrored(wing, 16), {-2.5f, 1}), kChaserCentre, -16)};
    pen.outlined(1.0f, c.outline, [&] {
        for (const auto& piece : pieces)
            pen.polygon(piece, c.hull);
    });
    for (Pt ember : {Pt{16, 17}, Pt{11, 22}, Pt{21, 21}, Pt{15, 7}})
        pen.disc(ember, 1.3f, c.spine);
}

}  // namespace

BITMAP* chaserPicture(ChaserPose pose)
{
    Pen pen(chaserSide, chaserSide);
    switch (pose) {
    case ChaserPose::idle:
        chaserBody(pen, kChaserRed);
        break;
    case ChaserPose::dead:
        chaserWreck(pen);
        break;
    case ChaserPose::intro1:
        chaserGhost(pen, Density::quarter);
        break;
    case ChaserPose::intro2:
        chaserGhost(pen, Density::half);
        break;
    case ChaserPose::intro3:
        chaserBody(pen, kChaserFlash);
        break;
    }
    return pen.finish();
}

BITMAP* chaserStunnedPicture(int frame)
{
    Pen pen(chaserSide, chaserSide);
    chaserBody(pen, kChaserDazed);
    dizzyStars(pen, kChaserCentre, 11, 30.0f * frame, 3.5f);
    return pen.finish();
}

// --- seeker, the homing missile ---------------------------------------

namespace {

const Pt kSeekerCentre{8, 8};
const Rgb kSeekerBody{170, 235, 50};
const Rgb kSeekerStripe{230, 255, 170};
const Rgb kSeekerNose{255, 100, 45};
const Rgb kSeekerFin{70, 140, 30};
const Rgb kSeekerOutline{20, 45, 10};

// Packed into the top 12 rows so the exhaust has room below.
void seekerBody(Pen& pen)
{
    const std::vector<Pt> fin{{10.3f, 7.5f}, {13.2f, 11.5f}, {13.2f, 12.8f}, {10.3f, 11.3f}};
    pen.outlined(0.8f, kSeekerOutline, [&] {
        pen.polygon(fin, kSeekerFin);
        pen.polygon(mirrored(fin, 8), kSeekerFin);
        pen.box(6.6f, 11, 9.4f, 12.3f, kEngine);
        pen.box(5.7f, 4.6f, 10.3f, 11.2f, kSeekerBody);
        pen.polygon({{8, 0.7f}, {10.3f, 4.8f}, {5.7f, 4.8f}}, kSeekerNose);
    });
    pen.bar({7.2f, 5.4f}, {7.2f, 10.5f}, 1.0f, kSeekerStripe);
}

}  // namespace

BITMAP* seekerPicture(SeekerPose pose)
{
    Pen pen(seekerSide, seekerSide);
    switch (pose) {
    case SeekerPose::idle:
        seekerBody(pen);
        break;
    case SeekerPose::burst:
        seekerBody(pen);
        pen.star({8, 7.5f}, 5.5f, 2.2f, 6, 0, kFlameInner);
        pen.disc({8, 7.5f}, 2.2f, kWhite);
        break;
    case SeekerPose::fireball:
        pen.disc(kSeekerCentre, 6.5f, kFlameOuter);
        pen.disc(kSeekerCentre, 4, kFlameInner);
        for (Pt bit : {Pt{2, 3}, Pt{14, 4}, Pt{3, 13}, Pt{13.5f, 13}})
            pen.disc(bit, 0.9f, kSeekerFin);
        break;
    case SeekerPose::smoke:
        pen.dithered(Density::half, [&] {
            pen.ring(kSeekerCentre, 7.5f, 2.5f, Rgb{160, 160, 165});
        });
        pen.dithered(Density::quarter, [&] { pen.disc(kSeekerCentre, 5, kSmoke); });
        break;
    }
    return pen.finish();
}

BITMAP* seekerMovingPicture(int frame)
{
    // Long and white-hot, short and wide, then sputtering in two jets.
    struct Exhaust {
        float length, width, spread;
        Rgb core;
    };
    static const Exhaust flicker[] = {{3.7f, 3.0f, 0, {255, 250, 210}},
                                      {2.5f, 4.6f, 0, {255, 190, 50}},
                                      {3.4f, 1.8f, 1.4f, {255, 230, 120}}};
    const Exhaust& e = flicker[frame % 3];
    Pen pen(seekerSide, seekerSide);
    seekerBody(pen);
    for (float dx : {-e.spread, e.spread})
        flame(pen, 8 + dx, 12.3f, e.length, e.width, kFlameOuter, e.core);
    return pen.finish();
}

// --- the fighter's attacks and helpers --------------------------------

namespace {
const Rgb kOrbiterRim{70, 220, 255};
const Rgb kOrbiterCore{170, 250, 255};
const Rgb kOrbiterEdge{0, 60, 85};
}  // namespace

BITMAP* orbiterPicture(int fade)
{
    const Pt centre{8, 8};
    Pen pen(orbiterSide, orbiterSide);
    if (fade == 0) {
        pen.outlined(0.8f, kOrbiterEdge, [&] { pen.disc(centre, 7, kOrbiterRim); });
        pen.disc(centre, 4.5f, kOrbiterCore);
        pen.disc(centre, 2, kWhite);
    } else if (fade == 1) {
        pen.dithered(Density::half, [&] { pen.ring(centre, 7, 1.8f, kOrbiterRim); });
        pen.disc(centre, 2.5f, kOrbiterCore);
    } else {
        pen.dithered(Density::quarter, [&] { pen.ring(centre, 6.5f, 1.5f, kOrbiterCore); });
        for (int i = 0; i < 4; ++i)
            pen.disc(onCircle(centre, 4.5f, 45.0f + 90.0f * i), 0.8f, kOrbiterCore);
    }
    return pen.finish();
}

BITMAP* healOrbPicture()
{
    const Pt centre{8, 8};
    Pen pen(healOrbSide, healOrbSide);
    pen.outlined(0.8f, Rgb{10, 70, 25}, [&] { pen.disc(centre, 7.2f, Rgb{60, 200, 85}); });
    pen.disc({5.5f, 5.5f}, 2, Rgb{150, 250, 160});
    pen.bar({8, 3.2f}, {8, 12.8f}, 3.2f, kWhite);
    pen.bar({3.2f, 8}, {12.8f, 8}, 3.2f, kWhite);
    return pen.finish();
}

BITMAP* boltPicture()
{
    Pen pen(boltSide, boltSide);
    pen.outlined(0.6f, Rgb{120, 55, 0}, [&] {
        pen.polygon({{2.2f, 3.6f}, {5.8f, 3.6f}, {4, 7.6f}}, kFlameOuter);
        pen.disc({4, 3}, 2.3f, Rgb{255, 225, 80});
    });
    pen.disc({4, 2.8f}, 1.2f, kWhite);
    return pen.finish();
}

BITMAP* aimMarkerPicture()
{
    const Pt centre{24, 24};
    const Rgb ring{150, 255, 190};
    const Rgb edge{15, 60, 35};
    Pen pen(aimMarkerSide, aimMarkerSide);
    pen.outlined(0.6f, edge, [&] { pen.ring(centre, 20.5f, 1.4f, ring); });
    // An arrowhead on the ring, pointing the way the fighter faces.
    pen.outlined(0.8f, edge, [&] {
        pen.polygon({{24, 0.8f}, {30.5f, 9.5f}, {24, 7}, {17.5f, 9.5f}}, Rgb{225, 255, 120});
    });
    return pen.finish();
}

BITMAP* blastPicture()
{
    const Pt centre{100, 100};
    Pen pen(blastSide, blastSide);
    // The game shows it at 0.6 of this size or less, sampling every few
    // pixels: the rim is thick so it survives, and the body is an irregular
    // stipple, denser toward the rim, that still reads as a see-through glow.
    pen.speckled(40, [&] { pen.disc(centre, 87, Rgb{255, 160, 70}); });
    pen.speckled(65, [&] { pen.ring(centre, 87, 22, Rgb{255, 190, 90}); });
    pen.ring(centre, 99.5f, 14, kFlameOuter);
    pen.ring(centre, 93, 6, kFlameInner);
    return pen.finish();
}
