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

namespace {

// Everything the game reads from one poll: the key slots, the mouse buttons
// and the mouse movement.
struct readInput {
    std::vector<bool> keys;
    std::vector<bool> buttons;
    int mickeysX = 0;
    int mickeysY = 0;
    bool operator==(const readInput& other) const
    {
        return keys == other.keys && buttons == other.buttons && mickeysX == other.mickeysX
               && mickeysY == other.mickeysY;
    }
};

void PrintTo(const readInput& read, std::ostream* out)
{
    *out << "keys";
    for (bool held : read.keys)
        *out << ' ' << held;
    *out << ", buttons";
    for (bool held : read.buttons)
        *out << ' ' << held;
    *out << ", mickeys " << read.mickeysX << ' ' << read.mickeysY;
}

}  // namespace

TEST_F(GamepadTest, EveryControlInEitherDirectionDrivesItsOwnSlotAloneHoweverItIsMapped)
{
    // An Xbox pad as the kernel numbers it, which is what a fresh pad reads
    // but under Windows, then every role moved to another axis or button.
#ifndef ALLEGRO_WINDOWS
    pad() = gamepad();
#endif
    const std::vector<std::vector<int>> axisMaps = {
        {leftX, leftY, dpadX, dpadY, rightX, rightY, rightTrigger, leftTrigger},
        {dpadY, rightTrigger, rightY, leftX, leftTrigger, dpadX, leftY, rightX}};
    const std::vector<std::vector<int>> buttonMaps = {
        {buttonRB, buttonLB, buttonA, buttonStart, buttonBack}, {1, 2, 3, 10, 31}};
    joy[0].num_buttons = 32;
    for (std::size_t map = 0; map < axisMaps.size(); ++map) {
        SCOPED_TRACE(map);
        const std::vector<int>& axes = axisMaps[map];
        const std::vector<int>& buttons = buttonMaps[map];
        if (map > 0) {
            for (int role = 0; role < gamepad::axisRoleCount; ++role)
                pad().setAxis(static_cast<gamepad::axisRole>(role), axes[role]);
            for (int role = 0; role < gamepad::buttonRoleCount; ++role)
                pad().setButton(static_cast<gamepad::buttonRole>(role), buttons[role]);
        }
        // Every axis at rest, the triggers fully let go; then one control moved.
        const auto readWith = [&](int axisRole, int position, int buttonRole) {
            for (int number = 0; number < 8; ++number)
                setAxis(number, 0);
            setAxis(axes[gamepad::fireAxis], -127);
            setAxis(axes[gamepad::orbitersAxis], -127);
            for (int button = 0; button < 32; ++button)
                setButton(button, false);
            if (axisRole >= 0)
                setAxis(axes[axisRole], position);
            if (buttonRole >= 0)
                setButton(buttons[buttonRole], true);
            poll();
            readInput read{held(), *battle.input().getMouseWasHit()};
            battle.input().getCursor()->getMouseMickeys(read.mickeysX, read.mickeysY);
            return read;
        };
        const auto holding = [](std::vector<int> keys, std::vector<int> mouseButtons,
                                int mickeysX = 0, int mickeysY = 0) {
            readInput read{std::vector<bool>(keySlotCount), std::vector<bool>(mouseSlotCount),
                           mickeysX, mickeysY};
            for (int slot : keys)
                read.keys[slot] = true;
            for (int slot : mouseButtons)
                read.buttons[slot] = true;
            return read;
        };
        EXPECT_EQ(readWith(-1, 0, -1), holding({}, {}));
        EXPECT_EQ(readWith(gamepad::moveAxisX, -100, -1), holding({keyLeft}, {}));
        EXPECT_EQ(readWith(gamepad::moveAxisX, 100, -1), holding({keyRight}, {}));
        EXPECT_EQ(readWith(gamepad::moveAxisY, -100, -1), holding({keyUp}, {}));
        EXPECT_EQ(readWith(gamepad::moveAxisY, 100, -1), holding({keyDown}, {}));
        EXPECT_EQ(readWith(gamepad::dpadAxisX, -127, -1), holding({keyLeft}, {}));
        EXPECT_EQ(readWith(gamepad::dpadAxisX, 127, -1), holding({keyRight}, {}));
        EXPECT_EQ(readWith(gamepad::dpadAxisY, -127, -1), holding({keyUp}, {}));
        EXPECT_EQ(readWith(gamepad::dpadAxisY, 127, -1), holding({keyDown}, {}));
        EXPECT_EQ(readWith(gamepad::aimAxisX, -100, -1), holding({}, {}, -200, 0));
        EXPECT_EQ(readWith(gamepad::aimAxisX, 100, -1), holding({}, {}, 200, 0));
        EXPECT_EQ(readWith(gamepad::aimAxisY, -100, -1), holding({}, {}, 0, -200));
        EXPECT_EQ(readWith(gamepad::aimAxisY, 100, -1), holding({}, {}, 0, 200));
        EXPECT_EQ(readWith(gamepad::fireAxis, 127, -1), holding({}, {mouseLeft}));
        EXPECT_EQ(readWith(gamepad::orbitersAxis, 127, -1), holding({}, {mouseRight}));
        EXPECT_EQ(readWith(-1, 0, gamepad::fireButton), holding({}, {mouseLeft}));
        EXPECT_EQ(readWith(-1, 0, gamepad::orbitersButton), holding({}, {mouseRight}));
        EXPECT_EQ(readWith(-1, 0, gamepad::blastButton), holding({keyDefense}, {}));
        EXPECT_EQ(readWith(-1, 0, gamepad::pauseButton), holding({keyPause}, {}));
        EXPECT_EQ(readWith(-1, 0, gamepad::restartButton), holding({keyMenu}, {}));
    }

    // Roles turned off read nothing while the others still do.
    for (const gamepad::axisRole off : {gamepad::moveAxisX, gamepad::dpadAxisX, gamepad::fireAxis})
        pad().setAxis(off, gamepad::noInput);
    pad().setButton(gamepad::fireButton, gamepad::noInput);
    for (int number = 0; number < 8; ++number)
        setAxis(number, 127);
    for (int button = 0; button < 32; ++button)
        setButton(button, true);
    // Restart is on button 31, which this pad does not have.
    joy[0].num_buttons = 11;
    poll();
    EXPECT_FALSE(keyHeld(keyRight) || keyHeld(keyLeft) || mouseHeld(mouseLeft));
    EXPECT_FALSE(keyHeld(keyMenu));
    EXPECT_TRUE(keyHeld(keyDown) && mouseHeld(mouseRight));
    // Unplugged, the pad holds nothing any more.
    num_joysticks = 0;
    poll();
    EXPECT_EQ(held(), std::vector<bool>(keySlotCount, false));
    EXPECT_FALSE(mouseHeld(mouseRight));
    // Numbers no pad can have are refused; the last ones it can are kept.
    const int axisNumbers = MAX_JOYSTICK_STICKS * MAX_JOYSTICK_AXIS;
    for (const int refused : {-2, axisNumbers}) {
        pad().setAxis(gamepad::moveAxisX, refused);
        EXPECT_EQ(pad().getAxis(gamepad::moveAxisX), gamepad::noInput);
    }
    pad().setAxis(gamepad::moveAxisX, axisNumbers - 1);
    EXPECT_EQ(pad().getAxis(gamepad::moveAxisX), axisNumbers - 1);
    for (const int refused : {-2, MAX_JOYSTICK_BUTTONS}) {
        pad().setButton(gamepad::fireButton, refused);
        EXPECT_EQ(pad().getButton(gamepad::fireButton), gamepad::noInput);
    }
    pad().setButton(gamepad::fireButton, MAX_JOYSTICK_BUTTONS - 1);
    EXPECT_EQ(pad().getButton(gamepad::fireButton), MAX_JOYSTICK_BUTTONS - 1);
    for (const int kept : {0, 90}) {
        pad().setDeadZone(kept);
        EXPECT_EQ(pad().getDeadZone(), kept);
    }
    pad().setDeadZone(-1);
    EXPECT_EQ(pad().getDeadZone(), 90);
}

TEST_F(GamepadTest, TheSettingsProgramSeesEveryAxisInTheDriversOrderAndTheLowestButtonHeld)
{
    // Sticks of three, one and two axes, as DirectInput gives them: counted
    // through in order, whatever the stick.
    joy[0].num_sticks = 3;
    joy[0].stick[0].num_axis = 3;
    joy[0].stick[1].num_axis = 1;
    joy[0].stick[2].num_axis = 2;
    int position = 10;
    for (int stick = 0; stick < 3; ++stick)
        for (int axis = 0; axis < joy[0].stick[stick].num_axis; ++axis)
            joy[0].stick[stick].axis[axis].pos = position++;
    joy[0].stick[3].axis[0].pos = 99;  // not a stick of this pad
    std::vector<int> expected = {10, 11, 12, 13, 14, 15};
    expected.resize(MAX_JOYSTICK_STICKS * MAX_JOYSTICK_AXIS, 0);
    EXPECT_EQ(gamepad::axisPositions(), expected);
    pad().setAxis(gamepad::moveAxisX, 4);
    pad().setDeadZone(5);
    poll();
    EXPECT_TRUE(keyHeld(keyRight)) << "the fifth axis is the third stick's first";

    EXPECT_EQ(gamepad::heldButton(), gamepad::noInput);
    setButton(9, true);
    setButton(3, true);
    EXPECT_EQ(gamepad::heldButton(), 3);
    joy[0].num_buttons = 3;
    EXPECT_EQ(gamepad::heldButton(), gamepad::noInput) << "a button the pad does not have";
    num_joysticks = 0;
    EXPECT_TRUE(gamepad::axisPositions().empty());
    EXPECT_EQ(gamepad::heldButton(), gamepad::noInput);
}
