#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "battleTestKit.h"
#include "population/loader.h"
#include "population/unitCreate.h"
#include "shell/picData.h"
#include "units/poleonUnit.h"

namespace {

// A fighter whose ailment times a test can set, drawn only through the HUD.
class hudFighter : public poleonUnit {
public:
    hudFighter() { init(0, 0, 0); }

    void setAilment(int index, int timeLeft, int biggest)
    {
        statusAilments[index] = timeLeft;
        biggestStatusTimes[index] = biggest;
    }
};

std::string rgb(BITMAP* bmp, int x, int y)
{
    const int c = getpixel(bmp, x, y);
    return std::to_string(getr(c)) + "," + std::to_string(getg(c)) + "," + std::to_string(getb(c));
}

const std::string background = "48,48,48";
const std::string floorGrey = "64,64,64";
const std::string hudGrey = "128,128,128";
const std::string black = "0,0,0";

int pixelsOfColour(BITMAP* bmp, int x, int y, int w, int h, const std::string& colour)
{
    int count = 0;
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            count += rgb(bmp, column, row) == colour ? 1 : 0;
    return count;
}

int brightness(BITMAP* bmp, int x, int y, int size)
{
    long sum = 0;
    for (int row = y; row < y + size; ++row)
        for (int column = x; column < x + size; ++column) {
            const int c = getpixel(bmp, column, row);
            sum += getr(c) + getg(c) + getb(c);
        }
    return static_cast<int>(sum / (size * size));
}

// Round 0 at 640 x 480, fighting, the arena holding only the fighter and
// its marker, without a floor picture so the floor is plain grey.
class BattleRenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(game.initResult, 0);
        game.skipCountdown();
        game.units()->clearAll();
        auto* request = new unitCreate();
        request->unitType = poleon;
        request->posX = itofix(150);
        request->posY = itofix(150);
        game.units()->addCreate(request);
        game.passes(3);
        game.data.getArena()->setArenaPic(nullptr);
        buffer = game.battle.getBuffer();
    }

    void drawFrame() { game.battle.draw(buffer, game.battle.getArenaBuffer()); }

    unit* fighter() { return game.units()->getUnits().front(); }

    headlessBattle game;
    BITMAP* buffer = nullptr;
};

}  // namespace

TEST_F(BattleRenderTest, ArenaFillsItsLaidOutSquare)
{
    drawFrame();
    EXPECT_EQ(rgb(buffer, 151, 380), background);
    EXPECT_EQ(rgb(buffer, 152, 380), floorGrey);
    EXPECT_EQ(rgb(buffer, 487, 380), floorGrey);
    EXPECT_EQ(rgb(buffer, 488, 380), background);
    EXPECT_EQ(rgb(buffer, 200, 71), background);
    EXPECT_EQ(rgb(buffer, 200, 72), floorGrey);
    EXPECT_EQ(rgb(buffer, 200, 407), floorGrey);
    EXPECT_EQ(rgb(buffer, 200, 408), background);
    // The fighter stands at the arena's centre, drawn on the floor.
    EXPECT_NE(rgb(buffer, 320, 240), floorGrey);
}

TEST_F(BattleRenderTest, HPBarAndItsIconSitAboveTheArena)
{
    drawFrame();
    EXPECT_EQ(rgb(buffer, 96, 38), hudGrey);
    EXPECT_EQ(rgb(buffer, 544, 62), hudGrey);
    EXPECT_EQ(rgb(buffer, 545, 50), background);
    EXPECT_EQ(rgb(buffer, 96, 63), background);
    // 1000 of 3000 HP fills a third of the bar in the fighter's purple.
    const int fillEnd = 96 + static_cast<int>(448 * (1000.0f / 3000.0f));
    EXPECT_EQ(rgb(buffer, fillEnd, 50), "86,71,154");
    EXPECT_EQ(rgb(buffer, fillEnd + 1, 50), black);
    EXPECT_GT(448 - pixelsOfColour(buffer, 72, 38, 24, 24, background), 100);
    EXPECT_EQ(pixelsOfColour(buffer, 40, 38, 32, 24, background), 32 * 24);
}

TEST_F(BattleRenderTest, RoundClockAndHelpTextsSitBelowTheArena)
{
    frameInRound = 1234;
    drawFrame();
    EXPECT_LT(pixelsOfColour(buffer, 72, 420, 12, 12, background), 12 * 12);
    EXPECT_EQ(pixelsOfColour(buffer, 72, 432, 12, 4, background), 12 * 4);
    EXPECT_GT(pixelsOfColour(buffer, 106, 420, 32, 8, hudGrey), 20);
    EXPECT_EQ(pixelsOfColour(buffer, 100, 420, 6, 8, hudGrey), 0);
    for (int top : {438, 450, 462}) {
        EXPECT_GT(pixelsOfColour(buffer, 0, top, 72, 8, hudGrey), 30) << top;
        EXPECT_EQ(pixelsOfColour(buffer, 0, top - 4, 72, 4, hudGrey), 0) << top;
    }
}

TEST_F(BattleRenderTest, StatusIconsFillTheirOwnSlots)
{
    auto* player = new hudFighter();
    game.units()->clearAll();
    game.units()->addUnit(player);
    const int rightX = 488;
    const int leftX = 92;
    struct slot {
        int ailment;
        int x;
        int y;
    };
    const slot slots[] = {{ailmentInvincible, rightX, 72}, {ailmentJuiceBoost, rightX, 132},
                          {ailmentHaste, rightX, 192},     {ailmentStun, leftX, 72},
                          {ailmentJuiceBlock, leftX, 132}, {ailmentSlow, leftX, 192},
                          {ailmentWeaken, leftX, 252}};
    for (const slot& lit : slots) {
        for (const slot& other : slots)
            player->setAilment(other.ailment, other.ailment == lit.ailment ? 10 : 0, 20);
        clear_to_color(buffer, makecol(48, 48, 48));
        game.battle.drawDisplay(buffer);
        for (const slot& each : slots) {
            const int drawn = 3600 - pixelsOfColour(buffer, each.x, each.y, 60, 60, background);
            if (each.ailment == lit.ailment)
                EXPECT_GT(drawn, 300) << "ailment " << lit.ailment;
            else
                EXPECT_EQ(drawn, 0) << "ailment " << each.ailment << " with " << lit.ailment;
        }
    }
}

TEST_F(BattleRenderTest, FreshAilmentShowsNearWhiteAndFadesToTheIcon)
{
    auto* player = new hudFighter();
    game.units()->clearAll();
    game.units()->addUnit(player);
    player->setAilment(ailmentHaste, 100, 100);
    game.battle.drawDisplay(buffer);
    const int fresh = brightness(buffer, 488, 192, 60);
    player->setAilment(ailmentHaste, 50, 100);
    game.battle.drawDisplay(buffer);
    const int half = brightness(buffer, 488, 192, 60);
    player->setAilment(ailmentHaste, 1, 100);
    game.battle.drawDisplay(buffer);
    const int faded = brightness(buffer, 488, 192, 60);
    EXPECT_GT(fresh, half);
    EXPECT_GT(half, faded);
    // Every drawn pixel of the fresh icon is almost white.
    player->setAilment(ailmentHaste, 100, 100);
    clear_to_color(buffer, makecol(48, 48, 48));
    game.battle.drawDisplay(buffer);
    int drawn = 0;
    for (int y = 192; y < 252; ++y)
        for (int x = 488; x < 548; ++x) {
            const int c = getpixel(buffer, x, y);
            if (rgb(buffer, x, y) == background)
                continue;
            ++drawn;
            EXPECT_GE(getr(c) + getg(c) + getb(c), 3 * 245) << x << "," << y;
        }
    EXPECT_GT(drawn, 300);
}

// The light is time left x 255 / biggest time, and the lit icon lies that
// share of the way from its own colours (light 0) to white.
TEST_F(BattleRenderTest, StatusIconIsLitByTheShareOfItsTimeLeft)
{
    auto* player = new hudFighter();
    game.units()->clearAll();
    game.units()->addUnit(player);
    const int size = 60;
    auto drawnIcon = [&](int timeLeft, int biggest) {
        player->setAilment(ailmentSlow, timeLeft, biggest);
        clear_to_color(buffer, makecol(48, 48, 48));
        game.battle.drawDisplay(buffer);
        std::vector<int> pixels;
        for (int y = 192; y < 192 + size; ++y)
            for (int x = 92; x < 92 + size; ++x)
                pixels.push_back(getpixel(buffer, x, y));
        return pixels;
    };
    // 1 x 255 / 1000 is light 0: the icon's own colours.
    const std::vector<int> own = drawnIcon(1, 1000);
    const int backgroundColour = makecol(48, 48, 48);
    for (const auto& [timeLeft, biggest] :
         {std::pair{50, 100}, std::pair{30, 120}, std::pair{90, 100}}) {
        const int light = timeLeft * 255 / biggest;
        const std::vector<int> lit = drawnIcon(timeLeft, biggest);
        int compared = 0;
        for (std::size_t i = 0; i < own.size(); ++i) {
            if (own[i] == backgroundColour)
                continue;
            ++compared;
            for (auto channel : {getr, getg, getb}) {
                const int from = channel(own[i]);
                ASSERT_NEAR(channel(lit[i]), from + (255 - from) * light / 255.0, 2.0)
                    << "light " << light << ", pixel " << i;
            }
        }
        EXPECT_GT(compared, 300);
    }
}

TEST_F(BattleRenderTest, HPBarFractionIsClampedAndEmptyWithoutAPlayer)
{
    unit* player = fighter();
    player->setMaxHP(0);
    game.battle.drawDisplay(buffer);
    EXPECT_EQ(pixelsOfColour(buffer, 97, 39, 447, 23, black), 447 * 23);

    player->setMaxHP(3000);
    player->setHP(5000);
    game.battle.drawDisplay(buffer);
    EXPECT_EQ(pixelsOfColour(buffer, 97, 39, 447, 23, "204,187,46"), 447 * 23);

    player->setHP(-50);
    game.battle.drawDisplay(buffer);
    EXPECT_EQ(pixelsOfColour(buffer, 97, 39, 447, 23, black), 447 * 23);

    game.units()->clearAll();
    clear_to_color(buffer, makecol(48, 48, 48));
    game.battle.drawDisplay(buffer);
    EXPECT_EQ(pixelsOfColour(buffer, 97, 39, 447, 23, black), 447 * 23);
    EXPECT_EQ(rgb(buffer, 96, 38), hudGrey);
    EXPECT_EQ(pixelsOfColour(buffer, 488, 72, 60, 180, background), 60 * 180);
    EXPECT_GT(pixelsOfColour(buffer, 0, 438, 72, 8, hudGrey), 30);
}

TEST_F(BattleRenderTest, BannerIsCentredOnTheConfiguredScreen)
{
    game.battle.restart(false, false);
    drawFrame();
    BITMAP* without = create_bitmap(buffer->w, buffer->h);
    blit(buffer, without, 0, 0, 0, 0, buffer->w, buffer->h);
    game.battle.restart(false, true);
    drawFrame();
    // Where the two frames differ is where the round's title banner lies.
    int left = buffer->w, right = -1, top = buffer->h, bottom = -1;
    for (int y = 0; y < buffer->h; ++y)
        for (int x = 0; x < buffer->w; ++x)
            if (getpixel(buffer, x, y) != getpixel(without, x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    destroy_bitmap(without);
    const BITMAP* banner = static_cast<BITMAP*>(game.data.getDatafile()[picData::titleRound0].dat);
    ASSERT_GE(right, 0);
    EXPECT_GE(left, (640 - banner->w) / 2);
    EXPECT_LE(right, (640 - banner->w) / 2 + banner->w - 1);
    EXPECT_GE(top, (480 - banner->h) / 2);
    EXPECT_LE(bottom, (480 - banner->h) / 2 + banner->h - 1);
    EXPECT_NEAR((left + right) / 2.0, 319.5, 2.0);
    EXPECT_NEAR((top + bottom) / 2.0, 239.5, 2.0);
}

TEST_F(BattleRenderTest, FloorPictureIsStretchedOverTheArena)
{
    game.data.getArena()->setArenaPic(
        static_cast<BITMAP*>(game.data.getDatafile()[picData::floorRound0].dat));
    drawFrame();
    EXPECT_LT(pixelsOfColour(buffer, 160, 80, 100, 100, floorGrey), 100 * 100);
    EXPECT_EQ(rgb(buffer, 151, 380), background);
}

TEST(BattleRenderPauseTest, ThePauseLineShowsInAPausedFightButNeverOverTheRoundsTitle)
{
    headlessBattle game;
    ASSERT_EQ(game.initResult, 0);
    BITMAP* buffer = game.battle.getBuffer();
    // Right of the round clock, below the arena.
    const auto pauseLinePixels = [&] { return pixelsOfColour(buffer, 186, 420, 160, 8, hudGrey); };
    for (int passNumber = 0; passNumber < 15; ++passNumber) {
        game.pass(true);
        ASSERT_TRUE(gamePaused);
        EXPECT_EQ(pauseLinePixels(), 0) << "during the title, pass " << passNumber;
    }
    game.skipCountdown();
    game.pass(true);
    EXPECT_EQ(pauseLinePixels(), 0) << "in the fight";
    game.tap(KEY_TAB);
    game.pass(true);
    EXPECT_GT(pauseLinePixels(), 100) << "in the paused fight";
}
