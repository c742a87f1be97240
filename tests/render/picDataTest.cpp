// Checks the generated picData.dat the way the game reads it: by index,
// each object a bitmap, unit pictures square and sized per type.
#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "allegroTestEnv.h"
#include "shell/picLayout.h"

namespace {

using namespace picLayout;

struct Colour {
    double r, g, b;
};

bool isMask(BITMAP* bmp, int x, int y) { return getpixel(bmp, x, y) == bitmap_mask_color(bmp); }

int maskCount(BITMAP* bmp)
{
    int n = 0;
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x)
            n += isMask(bmp, x, y);
    return n;
}

int area(BITMAP* bmp) { return bmp->w * bmp->h; }

// Pixels of two same-sized pictures that a player would see as different:
// one transparent and the other not, or clearly different colours.
int differingPixels(BITMAP* a, BITMAP* b)
{
    int n = 0;
    for (int y = 0; y < a->h; ++y)
        for (int x = 0; x < a->w; ++x) {
            const int ca = getpixel(a, x, y), cb = getpixel(b, x, y);
            if (isMask(a, x, y) != isMask(b, x, y))
                ++n;
            else if (std::abs(getr32(ca) - getr32(cb)) + std::abs(getg32(ca) - getg32(cb))
                         + std::abs(getb32(ca) - getb32(cb))
                     > 60)
                ++n;
        }
    return n;
}

Colour meanColour(BITMAP* bmp)
{
    Colour sum{0, 0, 0};
    int n = 0;
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x) {
            if (isMask(bmp, x, y))
                continue;
            const int c = getpixel(bmp, x, y);
            sum = {sum.r + getr32(c), sum.g + getg32(c), sum.b + getb32(c)};
            ++n;
        }
    return n ? Colour{sum.r / n, sum.g / n, sum.b / n} : sum;
}

double distance(Colour a, Colour b) { return std::hypot(a.r - b.r, a.g - b.g, a.b - b.b); }

// Columns of the first and last opaque pixel of a row; first > last when
// the row is empty.
std::pair<int, int> opaqueSpan(BITMAP* bmp, int y)
{
    int first = bmp->w, last = -1;
    for (int x = 0; x < bmp->w; ++x)
        if (!isMask(bmp, x, y)) {
            first = std::min(first, x);
            last = x;
        }
    return {first, last};
}

int topOpaqueRow(BITMAP* bmp)
{
    for (int y = 0; y < bmp->h; ++y)
        if (opaqueSpan(bmp, y).second >= 0)
            return y;
    return -1;
}

// Share of opaque pixels whose mirror image across the vertical centre line
// is opaque too.
double mirrorMatch(BITMAP* bmp)
{
    int opaque = 0, matched = 0;
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x)
            if (!isMask(bmp, x, y)) {
                ++opaque;
                matched += !isMask(bmp, bmp->w - 1 - x, y);
            }
    return opaque ? static_cast<double>(matched) / opaque : 0.0;
}

class PicDataTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ensureHeadlessAllegro(32);
        // The default: convert what is loaded to the current colour depth, as
        // the game does after setting its graphics mode.
        set_color_conversion(COLORCONV_TOTAL);
        data = load_datafile(BROX_PICDATA);
    }
    static void TearDownTestSuite()
    {
        if (data)
            unload_datafile(data);
        data = nullptr;
    }
    void SetUp() override { ASSERT_NE(data, nullptr) << "cannot load " << BROX_PICDATA; }

    static BITMAP* pic(int index) { return static_cast<BITMAP*>(data[index].dat); }

    static DATAFILE* data;
};

DATAFILE* PicDataTest::data = nullptr;

TEST_F(PicDataTest, HoldsOneBitmapPerIndexInIndexOrder)
{
    int count = 0;
    while (data[count].type != DAT_END)
        ++count;
    ASSERT_EQ(count, objectCount);
    for (int i = 0; i < objectCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(data[i].type, DAT_BITMAP);
        ASSERT_NE(data[i].dat, nullptr);
        EXPECT_GT(pic(i)->w, 0);
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "%02d_", i);
        EXPECT_EQ(std::string(get_datafile_property(&data[i], DAT_NAME)).rfind(prefix, 0), 0u)
            << get_datafile_property(&data[i], DAT_NAME);
    }
}

TEST_F(PicDataTest, UnitPicturesAreSquaresOfTheirTypesSide)
{
    for (const UnitPictures& unit : units) {
        SCOPED_TRACE(unit.type);
        EXPECT_EQ(pic(unit.pics[0])->w, unit.side);
        for (std::size_t i = 0; i < unit.count; ++i) {
            SCOPED_TRACE(unit.pics[i]);
            EXPECT_EQ(pic(unit.pics[i])->w, unit.side);
            EXPECT_EQ(pic(unit.pics[i])->h, unit.side);
            EXPECT_GT(maskCount(pic(unit.pics[i])), 0) << "sprite would draw a box";
            EXPECT_LT(maskCount(pic(unit.pics[i])), area(pic(unit.pics[i])));
        }
    }
}

TEST_F(PicDataTest, EveryFrameOfATypeLooksDifferent)
{
    for (const UnitPictures& unit : units)
        for (std::size_t i = 0; i < unit.count; ++i)
            for (std::size_t j = i + 1; j < unit.count; ++j) {
                SCOPED_TRACE(std::string(unit.type) + " " + std::to_string(unit.pics[i]) + " vs "
                             + std::to_string(unit.pics[j]));
                BITMAP *a = pic(unit.pics[i]), *b = pic(unit.pics[j]);
                EXPECT_GE(differingPixels(a, b), area(a) / 50);
            }
}

TEST_F(PicDataTest, FacingPicturesPointUp)
{
    // Drawn at angle 0 these must face up: a narrow nose at the top centre
    // of a shape that is the same on both sides.
    for (int index : {poleonIdle, chaserIdle, seekerIdle, aimMarkerPic}) {
        SCOPED_TRACE(index);
        BITMAP* bmp = pic(index);
        const int top = topOpaqueRow(bmp);
        ASSERT_GE(top, 0);
        EXPECT_LE(top, bmp->h / 8);
        const auto [first, last] = opaqueSpan(bmp, top);
        EXPECT_LE(last - first + 1, bmp->w / 4);
        EXPECT_NEAR((first + last) / 2.0, (bmp->w - 1) / 2.0, 1.0);
        EXPECT_GE(mirrorMatch(bmp), 0.9);
    }
}

TEST_F(PicDataTest, StatusIconsDifferInShapeAndColour)
{
    // The HUD stretches each icon to a square slot and, while the ailment is
    // fresh, bleaches it toward white: the outline alone must tell them apart.
    const int slot = 60;
    std::vector<BITMAP*> icons;
    for (int index : statusIcons) {
        BITMAP* scaled = create_bitmap_ex(32, slot, slot);
        stretch_blit(pic(index), scaled, 0, 0, pic(index)->w, pic(index)->h, 0, 0, slot, slot);
        icons.push_back(scaled);
    }
    for (std::size_t i = 0; i < icons.size(); ++i)
        for (std::size_t j = i + 1; j < icons.size(); ++j) {
            SCOPED_TRACE(std::to_string(statusIcons[i]) + " vs " + std::to_string(statusIcons[j]));
            int shapeDiff = 0;
            for (int y = 0; y < slot; ++y)
                for (int x = 0; x < slot; ++x)
                    shapeDiff += isMask(icons[i], x, y) != isMask(icons[j], x, y);
            EXPECT_GE(shapeDiff, slot * slot / 10);
            EXPECT_GE(distance(meanColour(icons[i]), meanColour(icons[j])), 50.0);
        }
    for (BITMAP* icon : icons)
        destroy_bitmap(icon);
}

TEST_F(PicDataTest, BannersFitTheScreenAndDiffer)
{
    for (std::size_t i = 0; i < std::size(banners); ++i) {
        BITMAP* banner = pic(banners[i]);
        SCOPED_TRACE(banners[i]);
        EXPECT_LE(banner->w, 640);
        EXPECT_LE(banner->h, 480);
        EXPECT_GE(banner->w, 200) << "too small to read";
        EXPECT_GT(maskCount(banner), 0);
        EXPECT_LT(maskCount(banner), area(banner) / 2);
        for (std::size_t j = 0; j < i; ++j) {
            BITMAP* other = pic(banners[j]);
            ASSERT_EQ(other->w, banner->w);
            ASSERT_EQ(other->h, banner->h);
            // Round titles differ in one digit only; that digit must show.
            EXPECT_GT(differingPixels(banner, other), area(banner) / 400)
                << "same as " << banners[j];
        }
    }
}

TEST_F(PicDataTest, FloorsFitTheirArenasAndStayDark)
{
    for (const FloorSize& floor : floors) {
        BITMAP* bmp = pic(floor.index);
        SCOPED_TRACE(floor.index);
        // Stretched over the arena, so the proportions must match.
        EXPECT_EQ(bmp->w * floor.height, bmp->h * floor.width);
        EXPECT_EQ(maskCount(bmp), 0);
        int brightest = 0;
        for (int y = 0; y < bmp->h; ++y)
            for (int x = 0; x < bmp->w; ++x) {
                const int c = getpixel(bmp, x, y);
                brightest = std::max({brightest, getr32(c), getg32(c), getb32(c)});
            }
        EXPECT_LT(brightest, 128) << "units would not stand out";
    }
    for (std::size_t i = 0; i < std::size(floors); ++i)
        for (std::size_t j = i + 1; j < std::size(floors); ++j)
            EXPECT_GE(distance(meanColour(pic(floors[i].index)), meanColour(pic(floors[j].index))),
                      8.0)
                << floors[i].index << " vs " << floors[j].index;
}

TEST_F(PicDataTest, CursorShowsOnLightAndDarkGround)
{
    BITMAP* bmp = pic(cursorPic);
    EXPECT_EQ(bmp->w, bmp->h);
    EXPECT_FALSE(isMask(bmp, bmp->w / 2, bmp->h / 2)) << "the hot spot is the drawn centre";
    int light = 0, dark = 0;
    for (int y = 0; y < bmp->h; ++y)
        for (int x = 0; x < bmp->w; ++x) {
            if (isMask(bmp, x, y))
                continue;
            const int c = getpixel(bmp, x, y);
            const int sum = getr32(c) + getg32(c) + getb32(c);
            light += sum > 600;
            dark += sum < 150;
        }
    EXPECT_GT(light, 0);
    EXPECT_GT(dark, 0);
}

TEST_F(PicDataTest, HudIconsAreSquareSprites)
{
    for (int index : {timerIcon, hpIcon}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(pic(index)->w, pic(index)->h);
        EXPECT_GT(maskCount(pic(index)), 0);
    }
}

TEST_F(PicDataTest, BlastIsARimWithASeeThroughBody)
{
    BITMAP* bmp = pic(blastPic);
    const int c = bmp->w / 2;
    EXPECT_TRUE(isMask(bmp, 0, 0));
    EXPECT_TRUE(isMask(bmp, bmp->w - 1, bmp->h - 1));
    // Solid along the rim, straight up from the centre.
    EXPECT_FALSE(isMask(bmp, c, 2));
    EXPECT_FALSE(isMask(bmp, c, bmp->h / 20));
    int body = 0, bodyMask = 0;
    for (int y = c - c / 2; y < c + c / 2; ++y)
        for (int x = c - c / 2; x < c + c / 2; ++x) {
            ++body;
            bodyMask += isMask(bmp, x, y);
        }
    EXPECT_GT(bodyMask, body / 5);
    EXPECT_LT(bodyMask, body * 4 / 5);
}

TEST_F(PicDataTest, TransparencySurvivesLoadingAt24Bits)
{
    // The game runs at 24 bits by default and then loads with conversion.
    set_color_depth(24);
    DATAFILE* converted = load_datafile(BROX_PICDATA);
    set_color_depth(32);
    ASSERT_NE(converted, nullptr);
    for (int i = 0; i < objectCount; ++i) {
        BITMAP* bmp = static_cast<BITMAP*>(converted[i].dat);
        SCOPED_TRACE(i);
        EXPECT_EQ(bitmap_color_depth(bmp), 24);
        EXPECT_EQ(maskCount(bmp), maskCount(pic(i)));
    }
    unload_datafile(converted);
}

}  // namespace
