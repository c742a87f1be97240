// Drawing helpers for picbuilder: colours, point lists, a supersampling pen
// for smooth sprites and big outlined banner text.
#ifndef BROX_PICDRAW_H
#define BROX_PICDRAW_H

#include <allegro.h>

#include <functional>
#include <vector>

struct Rgb {
    int r, g, b;
    int value() const;                  // colour value in a 32-bit bitmap
    Rgb mix(Rgb other, float t) const;  // t = 0 keeps this colour, 1 gives other
    Rgb scaled(float f) const;          // f < 1 darkens
};

struct Pt {
    float x, y;
};

// Angles are in degrees, 0 pointing up and growing clockwise, like the
// game's facing.
Pt onCircle(Pt centre, float radius, float degrees);
std::vector<Pt> mirrored(const std::vector<Pt>& pts, float axisX);
// A whole outline from its right half, listed top to bottom with both ends
// on the axis.
std::vector<Pt> symmetric(const std::vector<Pt>& rightHalf, float axisX);
std::vector<Pt> moved(std::vector<Pt> pts, Pt by);
std::vector<Pt> turned(std::vector<Pt> pts, Pt centre, float degrees);

// A 32-bit bitmap filled with the mask colour, so it starts transparent.
BITMAP* blankBitmap(int w, int h);

enum class Density {
    quarter,
    half
};

// Draws in the final picture's pixel coordinates onto a bitmap four times
// as large, then shrinks it: edges come out smooth, while every pixel ends
// up either fully transparent or opaque, as sprites need.
class Pen {
public:
    // zoom > 1 draws the same picture coordinates into a picture that many
    // times larger, for icons of a unit.
    Pen(int w, int h, int zoom = 1);
    ~Pen();
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;

    // The finished picture; the pen must not be used afterwards.
    BITMAP* finish();

    void polygon(const std::vector<Pt>& pts, Rgb colour);
    void disc(Pt centre, float radius, Rgb colour);
    void ellipse(Pt centre, float rx, float ry, Rgb colour);
    void box(float x1, float y1, float x2, float y2, Rgb colour);
    void roundBox(float x1, float y1, float x2, float y2, float radius, Rgb colour);
    void bar(Pt from, Pt to, float width, Rgb colour);
    // Band between radius - thickness and radius, from one angle clockwise
    // to the other.
    void arc(Pt centre, float radius, float thickness, float fromDeg, float toDeg, Rgb colour);
    void ring(Pt centre, float radius, float thickness, Rgb colour);
    void star(Pt centre, float outer, float inner, int points, float turnDeg, Rgb colour);

    // Runs draw once per direction in the outline colour, shifted by width,
    // then once more as is: the shapes get an outline of that width.
    void outlined(float width, Rgb colour, const std::function<void()>& draw);
    // Runs draw filling only a regular share of the pixels: reads as
    // translucent without needing blending at run time.
    void dithered(Density density, const std::function<void()>& draw);
    // Like dithered, with an irregular stipple covering about percent of the
    // pixels: it keeps its look when the game shrinks the picture, where a
    // regular pattern would turn into stripes or a grid.
    void speckled(int percent, const std::function<void()>& draw);
    // Runs draw with the mask colour: cuts holes.
    void erased(const std::function<void()>& draw);

private:
    int sx(float x) const;
    int sy(float y) const;
    int length(float l) const;
    int colourOf(Rgb colour) const;
    void withPattern(BITMAP* pattern, const std::function<void()>& draw);

    int w_, h_;
    int scale_;
    BITMAP* big_;
    BITMAP *quarter_, *half_;
    Pt shift_{0, 0};
    int forced_ = -1;
};

// Writes text with Allegro's built-in font, scaled up, centred on (cx, cy):
// a vertical gradient from top to bottom colour inside a dark outline.
void stampText(BITMAP* dest, const char* text, int cx, int cy, int scale, Rgb top, Rgb bottom,
               Rgb outline);

#endif
