#include "picDraw.h"

#include <algorithm>
#include <cmath>

namespace {

// Supersampling factor of the pen.
constexpr int kSuper = 4;
constexpr float kPi = 3.14159265f;
constexpr int kArcSteps = 48;  // per half turn

int clampByte(float v) { return std::clamp(static_cast<int>(v + 0.5f), 0, 255); }

// Dither patterns in the pen's large pixels: one cell per final pixel, so
// the pattern survives the shrinking intact.
BITMAP* makePattern(Density density)
{
    BITMAP* pattern = blankBitmap(2 * kSuper, 2 * kSuper);
    const int ink = makecol32(255, 255, 255);
    rectfill(pattern, 0, 0, kSuper - 1, kSuper - 1, ink);
    if (density == Density::half)
        rectfill(pattern, kSuper, kSuper, 2 * kSuper - 1, 2 * kSuper - 1, ink);
    return pattern;
}

// A fixed pseudo-random stipple, one cell per final pixel, so every build
// draws the same pictures.
BITMAP* makeSpeckle(int percent)
{
    const int cells = 64;
    BITMAP* pattern = blankBitmap(cells * kSuper, cells * kSuper);
    unsigned state = 20240601u;
    for (int y = 0; y < cells; ++y)
        for (int x = 0; x < cells; ++x) {
            state = state * 1664525u + 1013904223u;
            if (static_cast<int>((state >> 16) % 100) < percent)
                rectfill(pattern, x * kSuper, y * kSuper, (x + 1) * kSuper - 1,
                         (y + 1) * kSuper - 1, makecol32(255, 255, 255));
        }
    return pattern;
}

// One final pixel from its kSuper x kSuper block: transparent when most of
// the block is, else the average of the block's opaque part.
int shrinkBlock(BITMAP* big, int x, int y)
{
    const int mask = bitmap_mask_color(big);
    int r = 0, g = 0, b = 0, opaque = 0;
    for (int j = 0; j < kSuper; ++j)
        for (int i = 0; i < kSuper; ++i) {
            const int c = getpixel(big, x * kSuper + i, y * kSuper + j);
            if (c == mask)
                continue;
            r += getr32(c);
            g += getg32(c);
            b += getb32(c);
            ++opaque;
        }
    if (opaque * 2 < kSuper * kSuper)
        return mask;
    const int c = makecol32(r / opaque, g / opaque, b / opaque);
    // An averaged pixel must never turn into a hole by accident.
    return c == mask ? makecol32(254, 0, 254) : c;
}

std::vector<Pt> arcPoints(Pt centre, float radius, float fromDeg, float toDeg)
{
    std::vector<Pt> pts;
    const int steps =
        std::max(2, static_cast<int>(kArcSteps * std::fabs(toDeg - fromDeg) / 180.0f));
    for (int i = 0; i <= steps; ++i)
        pts.push_back(onCircle(centre, radius, fromDeg + (toDeg - fromDeg) * i / steps));
    return pts;
}

}  // namespace

int Rgb::value() const { return makecol32(r, g, b); }

Rgb Rgb::mix(Rgb other, float t) const
{
    return {clampByte(r + (other.r - r) * t), clampByte(g + (other.g - g) * t),
            clampByte(b + (other.b - b) * t)};
}

Rgb Rgb::scaled(float f) const { return {clampByte(r * f), clampByte(g * f), clampByte(b * f)}; }

Pt onCircle(Pt centre, float radius, float degrees)
{
    const float a = degrees * kPi / 180.0f;
    return {centre.x + radius * std::sin(a), centre.y - radius * std::cos(a)};
}

std::vector<Pt> mirrored(const std::vector<Pt>& pts, float axisX)
{
    std::vector<Pt> out;
    for (const Pt& p : pts)
        out.push_back({2 * axisX - p.x, p.y});
    return out;
}

std::vector<Pt> symmetric(const std::vector<Pt>& rightHalf, float axisX)
{
    std::vector<Pt> out = rightHalf;
    const std::vector<Pt> left = mirrored(rightHalf, axisX);
    out.insert(out.end(), left.rbegin() + 1, left.rend() - 1);
    return out;
}

std::vector<Pt> moved(std::vector<Pt> pts, Pt by)
{
    for (Pt& p : pts)
        p = {p.x + by.x, p.y + by.y};
    return pts;
}

std::vector<Pt> turned(std::vector<Pt> pts, Pt centre, float degrees)
{
    const float a = degrees * kPi / 180.0f;
    const float c = std::cos(a), s = std::sin(a);
    for (Pt& p : pts) {
        const float dx = p.x - centre.x, dy = p.y - centre.y;
        p = {centre.x + dx * c - dy * s, centre.y + dx * s + dy * c};
    }
    return pts;
}

BITMAP* blankBitmap(int w, int h)
{
    BITMAP* bmp = create_bitmap_ex(32, w, h);
    clear_to_color(bmp, bitmap_mask_color(bmp));
    return bmp;
}

Pen::Pen(int w, int h, int zoom)
    : w_(w * zoom),
      h_(h * zoom),
      scale_(kSuper * zoom),
      big_(blankBitmap(w_ * kSuper, h_ * kSuper)),
      quarter_(makePattern(Density::quarter)),
      half_(makePattern(Density::half))
{
}

Pen::~Pen()
{
    if (big_)
        destroy_bitmap(big_);
    destroy_bitmap(quarter_);
    destroy_bitmap(half_);
}

BITMAP* Pen::finish()
{
    BITMAP* out = create_bitmap_ex(32, w_, h_);
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x)
            putpixel(out, x, y, shrinkBlock(big_, x, y));
    destroy_bitmap(big_);
    big_ = nullptr;
    return out;
}

int Pen::sx(float x) const { return length(x + shift_.x); }
int Pen::sy(float y) const { return length(y + shift_.y); }
int Pen::length(float l) const { return static_cast<int>(std::lround(l * scale_)); }
int Pen::colourOf(Rgb colour) const { return forced_ >= 0 ? forced_ : colour.value(); }

void Pen::polygon(const std::vector<Pt>& pts, Rgb colour)
{
    std::vector<int> xy;
    for (const Pt& p : pts) {
        xy.push_back(sx(p.x));
        xy.push_back(sy(p.y));
    }
    ::polygon(big_, static_cast<int>(pts.size()), xy.data(), colourOf(colour));
}

void Pen::disc(Pt centre, float radius, Rgb colour)
{
    circlefill(big_, sx(centre.x), sy(centre.y), length(radius), colourOf(colour));
}

void Pen::ellipse(Pt centre, float rx, float ry, Rgb colour)
{
    ellipsefill(big_, sx(centre.x), sy(centre.y), length(rx), length(ry), colourOf(colour));
}

void Pen::box(float x1, float y1, float x2, float y2, Rgb colour)
{
    rectfill(big_, sx(x1), sy(y1), sx(x2) - 1, sy(y2) - 1, colourOf(colour));
}

void Pen::roundBox(float x1, float y1, float x2, float y2, float radius, Rgb colour)
{
    box(x1 + radius, y1, x2 - radius, y2, colour);
    box(x1, y1 + radius, x2, y2 - radius, colour);
    for (Pt corner : {Pt{x1 + radius, y1 + radius}, Pt{x2 - radius, y1 + radius},
                      Pt{x1 + radius, y2 - radius}, Pt{x2 - radius, y2 - radius}})
        disc(corner, radius, colour);
}

void Pen::bar(Pt from, Pt to, float width, Rgb colour)
{
    const float dx = to.x - from.x, dy = to.y - from.y;
    const float len = std::max(std::hypot(dx, dy), 1e-6f);
    const float nx = -dy / len * width / 2, ny = dx / len * width / 2;
    polygon({{from.x + nx, from.y + ny},
             {to.x + nx, to.y + ny},
             {to.x - nx, to.y - ny},
             {from.x - nx, from.y - ny}},
            colour);
}

void Pen::arc(Pt centre, float radius, float thickness, float fromDeg, float toDeg, Rgb colour)
{
    // A half turn at most per polygon keeps each piece a simple shape.
    for (float start = fromDeg; start < toDeg; start += 180.0f) {
        const float end = std::min(toDeg, start + 180.0f);
        std::vector<Pt> pts = arcPoints(centre, radius, start, end);
        const std::vector<Pt> inner = arcPoints(centre, radius - thickness, start, end);
        pts.insert(pts.end(), inner.rbegin(), inner.rend());
        polygon(pts, colour);
    }
}

void Pen::ring(Pt centre, float radius, float thickness, Rgb colour)
{
    arc(centre, radius, thickness, 0.0f, 360.0f, colour);
}

void Pen::star(Pt centre, float outer, float inner, int points, float turnDeg, Rgb colour)
{
    std::vector<Pt> pts;
    for (int i = 0; i < 2 * points; ++i)
        pts.push_back(onCircle(centre, i % 2 ? inner : outer, turnDeg + 180.0f * i / points));
    polygon(pts, colour);
}

void Pen::outlined(float width, Rgb colour, const std::function<void()>& draw)
{
    const int saved = forced_;
    forced_ = colour.value();
    for (int i = 0; i < 16; ++i) {
        shift_ = onCircle({0, 0}, width, 22.5f * i);
        draw();
    }
    shift_ = {0, 0};
    forced_ = saved;
    draw();
}

void Pen::withPattern(BITMAP* pattern, const std::function<void()>& draw)
{
    drawing_mode(DRAW_MODE_MASKED_PATTERN, pattern, 0, 0);
    draw();
    solid_mode();
}

void Pen::dithered(Density density, const std::function<void()>& draw)
{
    withPattern(density == Density::half ? half_ : quarter_, draw);
}

void Pen::speckled(int percent, const std::function<void()>& draw)
{
    BITMAP* pattern = makeSpeckle(percent);
    withPattern(pattern, draw);
    destroy_bitmap(pattern);
}

void Pen::erased(const std::function<void()>& draw)
{
    const int saved = forced_;
    forced_ = bitmap_mask_color(big_);
    draw();
    forced_ = saved;
}

namespace {

// The text in the built-in font, scale times larger, shaded top to bottom.
BITMAP* bigText(const char* text, int scale, Rgb top, Rgb bottom)
{
    const int w = text_length(font, text), h = text_height(font);
    BITMAP* small = blankBitmap(w, h);
    textout_ex(small, font, text, 0, 0, makecol32(255, 255, 255), -1);
    BITMAP* big = blankBitmap(w * scale, h * scale);
    stretch_blit(small, big, 0, 0, w, h, 0, 0, big->w, big->h);
    destroy_bitmap(small);
    const int mask = bitmap_mask_color(big);
    for (int y = 0; y < big->h; ++y) {
        const int c = top.mix(bottom, static_cast<float>(y) / (big->h - 1)).value();
        for (int x = 0; x < big->w; ++x)
            if (getpixel(big, x, y) != mask)
                putpixel(big, x, y, c);
    }
    return big;
}

}  // namespace

void stampText(BITMAP* dest, const char* text, int cx, int cy, int scale, Rgb top, Rgb bottom,
               Rgb outline)
{
    BITMAP* edge = bigText(text, scale, outline, outline);
    BITMAP* face = bigText(text, scale, top, bottom);
    const int x = cx - face->w / 2, y = cy - face->h / 2;
    const int o = std::max(1, scale / 2);
    for (int dy = -o; dy <= 2 * o; dy += o)
        for (int dx = -o; dx <= o; dx += o)
            draw_sprite(dest, edge, x + dx, y + dy);
    draw_sprite(dest, face, x, y);
    destroy_bitmap(edge);
    destroy_bitmap(face);
}
