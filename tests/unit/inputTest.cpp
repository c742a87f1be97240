#include <gtest/gtest.h>

#include <allegro.h>

#include <utility>
#include <vector>

#include "allegroTestEnv.h"
#include "input/inputObj.h"

namespace {

// Drives inputObj through Allegro's plain input globals.
class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureHeadlessAllegro();
        for (int code = 0; code < KEY_MAX; ++code)
            key[code] = 0;
        mouse_b = 0;
        mouse_x = 0;
        mouse_y = 0;
    }

    void TearDown() override { SetUp(); }

    bool poll(int code, bool down, bool newFrame)
    {
        key[code] = down ? 1 : 0;
        input.processInput(640, 480, newFrame);
        return (*input.getKeyWasClicked())[slot];
    }

    bool pollMouse(int buttons, bool newFrame)
    {
        mouse_b = buttons;
        input.processInput(640, 480, newFrame);
        return (*input.getMouseWasClicked())[mouseRight];
    }

    // Where the cursor is drawn after a poll with the pointer at (x, y).
    std::pair<int, int> cursorForPointerAt(int x, int y)
    {
        mouse_x = x;
        mouse_y = y;
        input.processInput(640, 480, true);
        std::pair<int, int> drawn;
        input.getCursor()->getCursorShouldBe(drawn.first, drawn.second);
        return drawn;
    }

    inputObj input;
    int slot = keyPause;
};

}  // namespace

TEST_F(InputTest, HitFlagsFollowTheMappedKeys)
{
    key[KEY_SPACE] = 1;
    key[KEY_W] = 1;
    input.processInput(640, 480, true);
    const std::vector<bool> hit = *input.getKeyWasHit();
    EXPECT_TRUE(hit[keyDefense]);
    EXPECT_TRUE(hit[keyUp]);
    EXPECT_FALSE(hit[keyDown]);
    EXPECT_FALSE(hit[keyPause]);
    for (int frame = 0; frame < 5; ++frame) {
        input.processInput(640, 480, frame % 2 == 0);
        EXPECT_TRUE((*input.getKeyWasHit())[keyUp]);
        EXPECT_FALSE((*input.getKeyWasClicked())[keyUp]);
    }
}

TEST_F(InputTest, RemappedSlotFollowsItsNewKeyAndSharedKeysDriveBothSlots)
{
    std::vector<int> keys(8, -1);
    keys[keyDefense] = KEY_Q;
    keys[keyDown] = KEY_W;
    ASSERT_EQ(input.setKeyMap(&keys), 0);
    key[KEY_SPACE] = 1;
    input.processInput(640, 480, true);
    for (bool flag : *input.getKeyWasHit())
        EXPECT_FALSE(flag);
    key[KEY_SPACE] = 0;
    key[KEY_Q] = 1;
    key[KEY_W] = 1;
    input.processInput(640, 480, true);
    EXPECT_TRUE((*input.getKeyWasHit())[keyDefense]);
    EXPECT_TRUE((*input.getKeyWasHit())[keyUp]);
    EXPECT_TRUE((*input.getKeyWasHit())[keyDown]);
}

TEST_F(InputTest, ShortKeyListIsRefused)
{
    std::vector<int> keys(7, KEY_Q);
    EXPECT_EQ(input.setKeyMap(&keys), -1);
    EXPECT_EQ((*input.getKeyMap())[keyUp], KEY_W);
}

TEST_F(InputTest, ReleaseOnAPassWithATickIsReportedThereOnly)
{
    EXPECT_FALSE(poll(KEY_TAB, true, true));
    EXPECT_TRUE(poll(KEY_TAB, false, true));
    // Passes without a tick must not report it again.
    EXPECT_FALSE(poll(KEY_TAB, false, false));
    EXPECT_FALSE(poll(KEY_TAB, false, false));
    EXPECT_FALSE(poll(KEY_TAB, false, true));
}

TEST_F(InputTest, ReleaseBetweenTicksIsReportedOnTheNextTick)
{
    EXPECT_FALSE(poll(KEY_TAB, true, true));
    EXPECT_FALSE(poll(KEY_TAB, false, false));
    EXPECT_FALSE(poll(KEY_TAB, false, false));
    EXPECT_TRUE(poll(KEY_TAB, false, true));
    EXPECT_FALSE(poll(KEY_TAB, false, true));
}

TEST_F(InputTest, HeldKeyReportsNothingUntilLetGo)
{
    EXPECT_FALSE(poll(KEY_TAB, true, false));
    EXPECT_FALSE(poll(KEY_TAB, true, true));
    EXPECT_FALSE(poll(KEY_TAB, true, false));
    EXPECT_FALSE(poll(KEY_TAB, true, true));
    EXPECT_TRUE(poll(KEY_TAB, false, true));
}

TEST_F(InputTest, PressedAndReleasedAgainBetweenTicksGivesOneClick)
{
    EXPECT_FALSE(poll(KEY_TAB, true, true));
    EXPECT_FALSE(poll(KEY_TAB, false, false));
    EXPECT_FALSE(poll(KEY_TAB, true, false));
    EXPECT_FALSE(poll(KEY_TAB, false, false));
    EXPECT_TRUE(poll(KEY_TAB, false, true));
    // Pressed again and let go on the next tick: a second click.
    EXPECT_FALSE(poll(KEY_TAB, true, false));
    EXPECT_TRUE(poll(KEY_TAB, false, true));
}

TEST_F(InputTest, MouseButtonsFollowTheSameRules)
{
    EXPECT_FALSE(pollMouse(2, true));
    EXPECT_TRUE((*input.getMouseWasHit())[mouseRight]);
    EXPECT_FALSE((*input.getMouseWasHit())[mouseLeft]);
    EXPECT_FALSE(pollMouse(0, false));
    EXPECT_TRUE(pollMouse(0, true));
    EXPECT_FALSE(pollMouse(0, true));
    EXPECT_FALSE(pollMouse(2, true));
    EXPECT_TRUE(pollMouse(0, true));
    EXPECT_FALSE(pollMouse(0, false));
    mouse_b = 5;
    input.processInput(640, 480, true);
    EXPECT_TRUE((*input.getMouseWasHit())[mouseLeft]);
    EXPECT_TRUE((*input.getMouseWasHit())[mouseMiddle]);
    bool mouseLast = false;
    input.getMouseUsedLast(mouseLast);
    EXPECT_TRUE(mouseLast);
}

TEST_F(InputTest, KeyAfterMouseMakesTheKeyboardLastUsed)
{
    mouse_b = 1;
    input.processInput(640, 480, true);
    mouse_b = 0;
    key[KEY_D] = 1;
    input.processInput(640, 480, true);
    bool mouseLast = true;
    input.getMouseUsedLast(mouseLast);
    EXPECT_FALSE(mouseLast);
    // Key and button both down on one pass: the mouse counts last.
    mouse_b = 1;
    input.processInput(640, 480, true);
    input.getMouseUsedLast(mouseLast);
    EXPECT_TRUE(mouseLast);
}

TEST_F(InputTest, CursorPositionIsClampedInclusively)
{
    EXPECT_EQ(cursorForPointerAt(-5, 700), std::make_pair(0, 480));
    EXPECT_EQ(cursorForPointerAt(640, 480), std::make_pair(640, 480));
    EXPECT_EQ(cursorForPointerAt(700, -1), std::make_pair(640, 0));
}

TEST_F(InputTest, OutOfRangeKeyCodesNeverReachTheKeyboardState)
{
    std::vector<int> keys = {0, -5, KEY_MAX, KEY_MAX + 100, -1, -1, -1, -1};
    ASSERT_EQ(input.setKeyMap(&keys), 0);
    EXPECT_EQ(*input.getKeyMap(),
              (std::vector<int>{KEY_W, KEY_S, KEY_A, KEY_D, KEY_SPACE, KEY_F10, KEY_TAB, KEY_ESC}));
}

TEST_F(InputTest, OnAScaledScreenThePointerAndItsMovementAreReadInGamePixels)
{
    // 640 x 480 twice its size, centred on 1920 x 1080: from (320, 60).
    input.setScreenFit(screenFit::onScreen(640, 480, 1920, 1080));
    EXPECT_EQ(cursorForPointerAt(320 + 2 * 100 + 1, 60 + 2 * 50), std::make_pair(100, 50));
    // On the bars the cursor stays at the picture's edge.
    EXPECT_EQ(cursorForPointerAt(10, 1075), std::make_pair(0, 480));
    int x = 0, y = 0;

    // Half the movement, and none of it lost however slowly the mouse moves.
    int screenMickeys = 3;
    input.setMickeySource([&screenMickeys](int& mx, int& my) {
        mx = screenMickeys;
        my = -screenMickeys;
    });
    int sumX = 0, sumY = 0;
    for (int pass = 0; pass < 4; ++pass) {
        input.processInput(640, 480, true);
        input.getCursor()->getMouseMickeys(x, y);
        sumX += x;
        sumY += y;
    }
    EXPECT_EQ(sumX, 6);
    EXPECT_EQ(sumY, -6);
    screenMickeys = 1;
    sumX = 0;
    for (int pass = 0; pass < 6; ++pass) {
        input.processInput(640, 480, true);
        input.getCursor()->getMouseMickeys(x, y);
        sumX += x;
    }
    EXPECT_EQ(sumX, 3);
}
