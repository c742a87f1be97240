#include "gamepad.h"

#include <allegro.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int fullTravel = 127;
constexpr int axisNumbers = MAX_JOYSTICK_STICKS * MAX_JOYSTICK_AXIS;

// An Xbox-style pad. The kernel's joystick interface gives it axes 0, 1 left
// stick, 2 left trigger, 3, 4 right stick, 5 right trigger, 6, 7 d-pad.
// Through DirectInput it is X, Y, one Z for both triggers (the left one
// is said to push it up; no pad was at hand to try) and the hat as 3, 4;
// Allegro does not read its right stick there. The buttons are numbered
// alike: 0 A, 4 LB, 5 RB, 6 Back, 7 Start.
#ifdef ALLEGRO_WINDOWS
constexpr std::array<int, gamepad::axisRoleCount> defaultAxes = {0, 1, 3, 4, -1, -1, -1, 2};
#else
constexpr std::array<int, gamepad::axisRoleCount> defaultAxes = {0, 1, 6, 7, 3, 4, 5, 2};
#endif
constexpr std::array<int, gamepad::buttonRoleCount> defaultButtons = {5, 4, 0, 7, 6};

// A stick's axis centred on 0 and kept within full travel.
int centred(const JOYSTICK_STICK_INFO& stick, int position)
{
#ifdef ALLEGRO_WINDOWS
    // DirectInput's one-axis sticks (Rz, the sliders) run from 0 to 255.
    if (stick.flags & JOYFLAG_UNSIGNED)
        position -= 128;
#else
    static_cast<void>(stick);
#endif
    return std::clamp(position, -fullTravel, fullTravel);
}

// The number-th axis counted through the pad's sticks in order; 0, the
// centre, when the pad has no such axis.
int axisAt(const JOYSTICK_INFO& pad, int number)
{
    const int sticks = std::clamp(pad.num_sticks, 0, MAX_JOYSTICK_STICKS);
    for (int index = 0; index < sticks; ++index) {
        const JOYSTICK_STICK_INFO& stick = pad.stick[index];
        const int stickAxes = std::clamp(stick.num_axis, 0, MAX_JOYSTICK_AXIS);
        if (number < stickAxes)
            return centred(stick, stick.axis[number].pos);
        number -= stickAxes;
    }
    return 0;
}

bool padPresent(bool enabled) { return enabled && num_joysticks > 0; }

}  // namespace

std::vector<int> gamepad::axisPositions()
{
    std::vector<int> positions;
    if (num_joysticks > 0)
        for (int number = 0; number < axisNumbers; ++number)
            positions.push_back(axisAt(joy[0], number));
    return positions;
}

int gamepad::heldButton()
{
    if (num_joysticks > 0)
        for (int button = 0; button < std::min(joy[0].num_buttons, MAX_JOYSTICK_BUTTONS); ++button)
            if (joy[0].button[button].b)
                return button;
    return noInput;
}

gamepad::gamepad() : axes(defaultAxes), buttons(defaultButtons) {}

void gamepad::poll()
{
    pressed.fill(false);
    aimX = 0;
    aimY = 0;
    if (padPresent(enabled)) {
        poll_joystick();
        readControls();
    }
}

bool gamepad::beyondDeadZone(int position) const
{
    return std::abs(position) * 100 > deadZone * fullTravel;
}

int gamepad::axisPosition(axisRole role) const
{
    const int number = axes[role];
    return number == noInput ? 0 : axisAt(joy[0], number);
}

bool gamepad::buttonDown(buttonRole role) const
{
    const int number = buttons[role];
    return number != noInput && number < joy[0].num_buttons && joy[0].button[number].b != 0;
}

void gamepad::readControls()
{
    const int moveX = axisPosition(moveAxisX);
    const int moveY = axisPosition(moveAxisY);
    const int dpadX = axisPosition(dpadAxisX);
    const int dpadY = axisPosition(dpadAxisY);
    auto leans = [this](int position, int sign) {
        return position * sign > 0 && beyondDeadZone(position);
    };
    pressed[moveUp] = leans(moveY, -1) || leans(dpadY, -1);
    pressed[moveDown] = leans(moveY, 1) || leans(dpadY, 1);
    pressed[moveLeft] = leans(moveX, -1) || leans(dpadX, -1);
    pressed[moveRight] = leans(moveX, 1) || leans(dpadX, 1);
    // A trigger rests at -127 and reads 0 until the pad first reports:
    // it counts as pulled only past the centre by the dead zone.
    pressed[fire] = leans(axisPosition(fireAxis), 1) || buttonDown(fireButton);
    pressed[orbiters] = leans(axisPosition(orbitersAxis), 1) || buttonDown(orbitersButton);
    pressed[blast] = buttonDown(blastButton);
    pressed[pause] = buttonDown(pauseButton);
    pressed[restart] = buttonDown(restartButton);
    aimX = axisPosition(aimAxisX);
    aimY = axisPosition(aimAxisY);
}

bool gamepad::isHeld(control which) const { return pressed[which]; }

bool gamepad::aimMovement(int& x, int& y) const
{
    const int reach = deadZone * fullTravel;
    if ((aimX * aimX + aimY * aimY) * 10000 <= reach * reach)
        return false;
    // Up on the stick is negative, as moving the mouse up is.
    x = aimX * aimMickeysPerStep;
    y = aimY * aimMickeysPerStep;
    return true;
}

bool gamepad::isEnabled() const { return enabled; }
void gamepad::setEnabled(bool value) { enabled = value; }
int gamepad::getAxis(axisRole role) const { return axes[role]; }

void gamepad::setAxis(axisRole role, int number)
{
    if (number >= noInput && number < axisNumbers)
        axes[role] = number;
}

int gamepad::getButton(buttonRole role) const { return buttons[role]; }

void gamepad::setButton(buttonRole role, int number)
{
    if (number >= noInput && number < MAX_JOYSTICK_BUTTONS)
        buttons[role] = number;
}

int gamepad::getDeadZone() const { return deadZone; }

void gamepad::setDeadZone(int percent)
{
    if (percent >= 0 && percent <= 90)
        deadZone = percent;
}
