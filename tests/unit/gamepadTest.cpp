#include <gtest/gtest.h>

#include <allegro.h>

#include <cstring>
#include <functional>
#include <sstream>
#include <vector>

#include "behaviourTestKit.h"
#include "shell/dataObj.h"

namespace {

// The kernel's numbering of an Xbox-style pad.
constexpr int leftX = 0, leftY = 1, leftTrigger = 2, rightX = 3, rightY = 4, rightTrigger = 5,
              dpadX = 6, dpadY = 7;
constexpr int buttonA = 0, buttonLB = 4, buttonRB = 5, buttonBack = 6, buttonStart = 7;

// One pad as Allegro's Linux driver lays it out, eight axes in pairs and
// eleven buttons, set through joy[] and num_joysticks as a test sets key[].
class GamepadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureHeadlessAllegro();
        std::memset(&joy[0], 0, sizeof joy[0]);
        joy[0].num_sticks = 4;
        joy[0].num_buttons = 11;
        for (int stick = 0; stick < 4; ++stick) {
            joy[0].stick[stick].flags = JOYFLAG_ANALOGUE | JOYFLAG_SIGNED;
            joy[0].stick[stick].num_axis = 2;
        }
        num_joysticks = 1;
        setAxis(leftTrigger, -127);
        setAxis(rightTrigger, -127);
        // The Linux layout on every platform, so that the Windows build runs
        // the same cases.
        const int axes[] = {leftX, leftY, dpadX, dpadY, rightX, rightY, rightTrigger, leftTrigger};
        for (int role = 0; role < gamepad::axisRoleCount; ++role)
            pad().setAxis(static_cast<gamepad::axisRole>(role), axes[role]);
        battle.input().setMickeySource([this](int& x, int& y) {
            x = mouseX;
            y = mouseY;
        });
    }

    void TearDown() override
    {
        num_joysticks = 0;
        std::memset(&joy[0], 0, sizeof joy[0]);
    }

    static void setAxis(int number, int position)
    {
        joy[0].stick[number / 2].axis[number % 2].pos = position;
    }
    static void setButton(int number, bool down) { joy[0].button[number].b = down ? 1 : 0; }

    gamepad& pad() { return *battle.input().getGamepad(); }
    void poll(bool newFrame = true) { battle.input().processInput(640, 480, newFrame); }
    bool keyHeld(int slot) { return (*battle.input().getKeyWasHit())[slot]; }
    bool keyClicked(int slot) { return (*battle.input().getKeyWasClicked())[slot]; }
    bool mouseHeld(int slot) { return (*battle.input().getMouseWasHit())[slot]; }
    bool mouseClicked(int slot) { return (*battle.input().getMouseWasClicked())[slot]; }
    std::vector<bool> held() { return *battle.input().getKeyWasHit(); }

    // Clicks of the slot over a press held for some passes and its release,
    // ticks and passes without one mixed.
    int clicksOfOnePress(int button, const std::function<bool()>& clicked)
    {
        int clicks = 0;
        for (int pass = 0; pass < 12; ++pass) {
            setButton(button, pass < 7);
            poll(pass % 3 != 1);
            clicks += clicked() && pass % 3 != 1 ? 1 : 0;
        }
        return clicks;
    }

    behaviourBattle battle;
    int mouseX = 0;
    int mouseY = 0;
};

}  // namespace

TEST_F(GamepadTest, SticksPastTheDeadZoneHoldTheMovementSlots)
{
    // A quarter of full travel is 31.75: 31 rests, 32 moves.
    setAxis(leftX, 31);
    setAxis(leftY, -31);
    poll();
    EXPECT_EQ(held(), std::vector<bool>(keySlotCount, false));
    setAxis(leftX, 32);
    poll();
    EXPECT_TRUE(keyHeld(keyRight));
    EXPECT_FALSE(keyHeld(keyUp));
    setAxis(leftX, -127);
    setAxis(leftY, -40);
    poll();
    EXPECT_TRUE(keyHeld(keyLeft) && keyHeld(keyUp));
    EXPECT_FALSE(keyHeld(keyRight) || keyHeld(keyDown));
    setAxis(leftX, 0);
    setAxis(leftY, 0);
    setAxis(dpadY, 127);
    poll();
    EXPECT_TRUE(keyHeld(keyDown));
    pad().setDeadZone(50);
    setAxis(dpadY, 0);
    setAxis(leftX, 63);
    poll();
    EXPECT_FALSE(keyHeld(keyRight));
}

TEST_F(GamepadTest, RightStickTurnsTheMarkerAndCentredLeavesIt)
{
    unit* fighter = battle.spawn(poleon, 250, 200);
    unit* marker = battle.spawn(aimMarker, 250, 200, fighter->getUnitID());
    auto aimAndStep = [&](int x, int y) {
        setAxis(rightX, x);
        setAxis(rightY, y);
        poll();
        battle.run();
        return marker->getDrawAngle();
    };
    battle.input().setControlThreshold(100);
    EXPECT_EQ(offBy(aimAndStep(127, 0), 64), 0);
    EXPECT_EQ(offBy(aimAndStep(0, 127), 128), 0);
    EXPECT_EQ(offBy(aimAndStep(0, -127), 0), 0);
    // Inside the dead zone, radially: the aim stays where it was.
    EXPECT_EQ(offBy(aimAndStep(-22, 22), 0), 0);
    EXPECT_EQ(offBy(aimAndStep(0, 0), 0), 0);
    EXPECT_NEAR(offBy(aimAndStep(-90, 90), 160), 0, 0.05);
    // Half way over a threshold it cannot beat: a tenth of the way per step.
    battle.input().setControlThreshold(200);
    marker->setDrawAngle(0);
    EXPECT_EQ(aimAndStep(64, 0), itofix(64) / 10);
}

TEST_F(GamepadTest, TheMouseBeatsTheStickInOnePass)
{
    int x = 0, y = 0;
    setAxis(rightY, -127);
    mouseX = 3;
    poll();
    battle.input().getCursor()->getMouseMickeys(x, y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 0);
    mouseX = 0;
    poll();
    battle.input().getCursor()->getMouseMickeys(x, y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, -127 * gamepad::aimMickeysPerStep);
}

TEST_F(GamepadTest, TriggersAndButtonsStandForTheMouseButtonsAndKeys)
{
    // The driver's start value, half way, and a trigger at rest never fire.
    setAxis(rightTrigger, 0);
    poll();
    EXPECT_FALSE(mouseHeld(mouseLeft));
    setAxis(rightTrigger, 32);
    for (int pass = 0; pass < 4; ++pass) {
        poll(pass % 2 == 0);
        EXPECT_TRUE(mouseHeld(mouseLeft));
    }
    setAxis(rightTrigger, -127);
    setButton(buttonRB, true);
    poll();
    EXPECT_TRUE(mouseHeld(mouseLeft));
    setButton(buttonRB, false);

    EXPECT_EQ(clicksOfOnePress(buttonLB, [&] { return mouseClicked(mouseRight); }), 1);
    EXPECT_EQ(clicksOfOnePress(buttonA, [&] { return keyClicked(keyDefense); }), 1);
    EXPECT_EQ(clicksOfOnePress(buttonStart, [&] { return keyClicked(keyPause); }), 1);
    EXPECT_EQ(clicksOfOnePress(buttonBack, [&] { return keyClicked(keyMenu); }), 1);

    setAxis(leftTrigger, 127);
    poll();
    EXPECT_TRUE(mouseHeld(mouseRight));
    setAxis(leftTrigger, -127);
    poll();
    EXPECT_TRUE(mouseClicked(mouseRight));
    pad().setButton(gamepad::blastButton, gamepad::noInput);
    EXPECT_EQ(clicksOfOnePress(buttonA, [&] { return keyClicked(keyDefense); }), 0);
}

TEST_F(GamepadTest, LosingTheFocusForgetsAHeldButtonUntilItIsLetGo)
{
    setButton(buttonLB, true);
    setAxis(leftX, 127);
    poll();
    battle.input().forgetHeldInput();
    poll();
    EXPECT_FALSE(mouseHeld(mouseRight));
    EXPECT_FALSE(keyHeld(keyRight));
    setButton(buttonLB, false);
    poll();
    EXPECT_FALSE(mouseClicked(mouseRight));
    EXPECT_EQ(clicksOfOnePress(buttonLB, [&] { return mouseClicked(mouseRight); }), 1);
}

TEST_F(GamepadTest, SettingsRemapTurnOffAndIgnoreThePad)
{
    dataObj data;
    std::istringstream config("joyAimAxisX 2 joyAimAxisY 15 joyFire -1 joyPause 32 joyBlast 9 "
                              "joyDeadZone 91 joyDeadZone 10 joystick 3 keyUp 17");
    data.readConfig(config);
    const gamepad& read = *data.getInputObj()->getGamepad();
    EXPECT_EQ(read.getAxis(gamepad::aimAxisX), 2);
    EXPECT_EQ(read.getAxis(gamepad::aimAxisY), gamepad().getAxis(gamepad::aimAxisY));
    EXPECT_EQ(read.getButton(gamepad::fireButton), gamepad::noInput);
    EXPECT_EQ(read.getButton(gamepad::pauseButton), gamepad().getButton(gamepad::pauseButton));
    EXPECT_EQ(read.getButton(gamepad::blastButton), 9);
    EXPECT_EQ(read.getDeadZone(), 10);
    EXPECT_TRUE(read.isEnabled());
    EXPECT_EQ((*data.getInputObj()->getKeyMap())[keyUp], KEY_Q);

    std::istringstream off("joystick 0");
    battle.data.readConfig(off);
    setAxis(leftX, 127);
    setAxis(rightX, 127);
    setButton(buttonRB, true);
    poll();
    int x = 0, y = 0;
    battle.input().getCursor()->getMouseMickeys(x, y);
    EXPECT_EQ(held(), std::vector<bool>(keySlotCount, false));
    EXPECT_FALSE(mouseHeld(mouseLeft));
    EXPECT_EQ(x, 0);
}
