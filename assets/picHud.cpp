// Arena floors, HUD icons, banners and the mouse cursor.
#include "picArt.h"
#include "picDraw.h"
#include "shell/picLayout.h"

namespace {

using namespace picLayout;

const Rgb kWhite{255, 255, 255};
const Rgb kInk{25, 22, 35};

// --- floors: dark and low in contrast so the bright units stand out ---

void steelPlates(BITMAP* bmp)
{
    const int plate = 30;
    clear_to_color(bmp, Rgb{46, 52, 64}.value());
    for (int y = 0; y < bmp->h; y += plate)
        for (int x = 0; x < bmp->w; x += plate) {
            hline(bmp, x, y, x + plate - 1, Rgb{56, 63, 77}.value());
            vline(bmp, x, y, y + plate - 1, Rgb{56, 63, 77}.value());
            hline(bmp, x, y + plate - 1, x + plate - 1, Rgb{34, 38, 48}.value());
            vline(bmp, x + plate - 1, y, y + plate - 1, Rgb{34, 38, 48}.value());
            for (int r : {3, plate - 4})
                for (int c : {3, plate - 4})
                    putpixel(bmp, x + c, y + r, Rgb{66, 74, 90}.value());
        }
}

void sandstoneBricks(BITMAP* bmp)
{
    const int bw = 50, bh = 25;
    const Rgb shades[] = {{62, 50, 40}, {58, 47, 38}, {66, 53, 42}};
    clear_to_color(bmp, Rgb{42, 34, 28}.value());
    for (int row = 0; row * bh < bmp->h; ++row) {
        const int offset = row % 2 ? bw / 2 : 0;
        for (int col = -1; col * bw < bmp->w; ++col) {
            const int x = col * bw + offset, y = row * bh;
            rectfill(bmp, x + 1, y + 1, x + bw - 2, y + bh - 2,
                     shades[(row * 7 + col * 5 + 9) % 3].value());
        }
    }
}

void markedCourt(BITMAP* bmp)
{
    const int cx = bmp->w / 2, cy = bmp->h / 2;
    const int marking = Rgb{46, 66, 64}.value();
    clear_to_color(bmp, Rgb{36, 52, 52}.value());
    // A faint diagonal lattice, then the court's rings and centre cross.
    for (int d = -bmp->h; d < bmp->w; d += 25) {
        line(bmp, d, 0, d + bmp->h, bmp->h, Rgb{40, 57, 57}.value());
        line(bmp, d, bmp->h, d + bmp->h, 0, Rgb{40, 57, 57}.value());
    }
    for (int r : {60, 120, 180})
        for (int t = 0; t < 2; ++t)
            circle(bmp, cx, cy, r + t, marking);
    rectfill(bmp, cx - 1, 0, cx, bmp->h - 1, marking);
    rectfill(bmp, 0, cy - 1, bmp->w - 1, cy, marking);
}

}  // namespace

BITMAP* floorPicture(int round)
{
    const FloorSize& size = floors[round];
    BITMAP* bmp = create_bitmap_ex(32, size.width, size.height);
    if (round == 0)
        steelPlates(bmp);
    else if (round == 1)
        sandstoneBricks(bmp);
    else
        markedCourt(bmp);
    return bmp;
}

// --- status icons: each its own shape and colour, since the HUD shows a
// fresh ailment bleached to white and only the outline tells it apart ---

namespace {

const Pt kIconCentre{30, 30};

// The blade snapped in two, the tip knocked askew.
void brokenSword(Pen& pen, Rgb c)
{
    const std::vector<Pt> tip{{26, 8}, {30, 2}, {34, 8}, {34, 20}, {31, 23}, {29, 19}, {26, 22}};
    pen.polygon(turned(moved(tip, {-3, -1}), {30, 22}, -18), c);
    pen.polygon({{26, 31}, {29, 28}, {31, 32}, {34, 29}, {34, 39}, {26, 39}}, c);
    pen.bar({15, 40.5f}, {45, 40.5f}, 5, c);
    pen.bar({30, 42}, {30, 52}, 5, c);
    pen.disc({30, 54.5f}, 4, c);
}

void shield(Pen& pen, Rgb c)
{
    pen.polygon({{30, 4}, {50, 10}, {50, 28}, {44, 42}, {30, 56}, {16, 42}, {10, 28}, {10, 10}}, c);
}

void droplet(Pen& pen, Pt centre, float radius, Rgb c)
{
    const Pt tip{centre.x, centre.y - radius * 2.1f};
    pen.polygon({tip, onCircle(centre, radius, 62), onCircle(centre, radius, -62)}, c);
    pen.disc(centre, radius, c);
}

void snowflake(Pen& pen, Rgb c)
{
    for (float a : {0.0f, 60.0f, 120.0f}) {
        pen.bar(onCircle(kIconCentre, 26, a), onCircle(kIconCentre, 26, a + 180), 5, c);
        for (float end : {a, a + 180})
            for (float side : {-40.0f, 40.0f}) {
                const Pt joint = onCircle(kIconCentre, 15, end);
                pen.bar(joint, onCircle(joint, 9, end + side), 4, c);
            }
    }
}

void chevrons(Pen& pen, Rgb c)
{
    const std::vector<Pt> chevron{{30, 4}, {52, 26}, {44, 33}, {30, 19}, {16, 33}, {8, 26}};
    pen.polygon(chevron, c);
    pen.polygon(moved(chevron, {0, 22}), c);
}

void lightning(Pen& pen, Rgb c)
{
    pen.polygon({{38, 2}, {14, 33}, {28, 33}, {20, 58}, {47, 23}, {33, 23}, {45, 2}}, c);
}

void ailmentShape(Pen& pen, Ailment ailment, Rgb c)
{
    switch (ailment) {
    case Ailment::weaken:
        brokenSword(pen, c);
        break;
    case Ailment::invincible:
        shield(pen, c);
        break;
    case Ailment::juiceBoost:
        droplet(pen, {30, 38}, 15, c);
        break;
    case Ailment::juiceBlock:
        pen.ring(kIconCentre, 26, 6, c);
        break;
    case Ailment::slow:
        snowflake(pen, c);
        break;
    case Ailment::haste:
        chevrons(pen, c);
        break;
    case Ailment::stun:
        lightning(pen, c);
        break;
    }
}

// Inner details, drawn over the outlined shape.
void ailmentDetail(Pen& pen, Ailment ailment, Rgb c)
{
    const Rgb light = c.mix(kWhite, 0.55f);
    switch (ailment) {
    case Ailment::invincible:
        pen.star({30, 27}, 12, 5, 5, 0, light);
        break;
    case Ailment::juiceBoost:
        pen.bar({30, 30}, {30, 46}, 4.5f, light);
        pen.bar({22, 38}, {38, 38}, 4.5f, light);
        break;
    case Ailment::juiceBlock:
        droplet(pen, {30, 35}, 9, c.scaled(0.55f));
        pen.outlined(2, kInk, [&] {
            pen.bar(onCircle(kIconCentre, 22, -45), onCircle(kIconCentre, 22, 135), 6, c);
        });
        break;
    default:
        break;
    }
}

Rgb ailmentColour(Ailment ailment)
{
    switch (ailment) {
    case Ailment::juiceBlock:
        return {230, 45, 45};
    case Ailment::haste:
        return {255, 140, 30};
    case Ailment::stun:
        return {255, 235, 50};
    case Ailment::juiceBoost:
        return {60, 215, 80};
    case Ailment::invincible:
        return {60, 220, 235};
    case Ailment::slow:
        return {70, 120, 255};
    case Ailment::weaken:
        break;
    }
    return {175, 80, 240};
}

}  // namespace

BITMAP* statusIcon(Ailment ailment)
{
    const Rgb c = ailmentColour(ailment);
    Pen pen(statusIconSide, statusIconSide);
    pen.outlined(2, kInk, [&] { ailmentShape(pen, ailment, c); });
    ailmentDetail(pen, ailment, c);
    return pen.finish();
}

// --- HUD icons and cursor ---------------------------------------------

BITMAP* timerIconPicture()
{
    const Pt centre{12, 12.5f};
    const Rgb ink{30, 30, 40};
    Pen pen(hudIconSide, hudIconSide);
    pen.box(10, 0.5f, 14, 3, Rgb{170, 175, 190});
    pen.disc(centre, 11.3f, ink);
    pen.disc(centre, 8.8f, Rgb{235, 235, 222});
    // Two-pixel hands, so they survive being shown at half size.
    pen.bar(centre, {12, 5.5f}, 2.2f, ink);
    pen.bar(centre, {17.5f, 12.5f}, 2.2f, ink);
    pen.disc(centre, 1.6f, Rgb{210, 40, 40});
    return pen.finish();
}

BITMAP* hpIconPicture()
{
    const Rgb red{230, 40, 60};
    Pen pen(hudIconSide, hudIconSide);
    pen.outlined(1.2f, Rgb{70, 0, 15}, [&] {
        pen.disc({7.5f, 8.5f}, 5.5f, red);
        pen.disc({16.5f, 8.5f}, 5.5f, red);
        pen.polygon({{2.3f, 10.5f}, {21.7f, 10.5f}, {12, 21.5f}}, red);
    });
    pen.disc({7, 7.5f}, 1.8f, Rgb{255, 165, 175});
    return pen.finish();
}

namespace {

// A white bar with a one-pixel black rim, so it shows on any floor.
void rimmedBar(BITMAP* bmp, int x1, int y1, int x2, int y2)
{
    rectfill(bmp, x1 - 1, y1 - 1, x2 + 1, y2 + 1, makecol32(0, 0, 0));
    rectfill(bmp, x1, y1, x2, y2, makecol32(255, 255, 255));
}

}  // namespace

BITMAP* cursorPicture()
{
    BITMAP* bmp = blankBitmap(cursorSide, cursorSide);
    const int c = cursorSide / 2, gap = 3, end = cursorSide - 2;
    rimmedBar(bmp, 1, c, c - gap, c);
    rimmedBar(bmp, c + gap, c, end, c);
    rimmedBar(bmp, c, 1, c, c - gap);
    rimmedBar(bmp, c, c + gap, c, end);
    rimmedBar(bmp, c, c, c, c);
    return bmp;
}

// --- banners ----------------------------------------------------------

namespace {

struct BannerColours {
    Rgb border, top, bottom;
};

BannerColours bannerColours(BannerStyle style)
{
    switch (style) {
    case BannerStyle::allClear:
        return {{90, 230, 255}, {210, 250, 255}, {60, 190, 240}};
    case BannerStyle::lost:
        return {{235, 60, 50}, {255, 170, 150}, {225, 35, 30}};
    case BannerStyle::won:
        return {{80, 225, 90}, {200, 255, 180}, {50, 200, 70}};
    case BannerStyle::title:
        break;
    }
    return {{255, 195, 60}, {255, 240, 150}, {255, 160, 30}};
}

}  // namespace

BITMAP* bannerPicture(const char* text, BannerStyle style)
{
    const BannerColours c = bannerColours(style);
    const float w = bannerWidth, h = bannerHeight;
    Pen pen(bannerWidth, bannerHeight);
    pen.roundBox(0, 0, w, h, 16, c.border);
    pen.roundBox(3, 3, w - 3, h - 3, 13, Rgb{18, 20, 32});
    pen.roundBox(6, 6, w - 6, h - 6, 10, Rgb{28, 32, 50});
    BITMAP* bmp = pen.finish();
    stampText(bmp, text, bannerWidth / 2, bannerHeight / 2 - 2, 4, c.top, c.bottom, Rgb{0, 0, 0});
    return bmp;
}

BITMAP* sparePicture() { return blankBitmap(spareSide, spareSide); }
