#ifndef BROX_GAMEPAD_H
#define BROX_GAMEPAD_H

#include <array>
#include <vector>

// The first pad Allegro reports, read as the game's controls: which of them
// are held, and the aiming stick's deflection as a mouse movement.
class gamepad {
public:
    // Axes are numbered in the driver's order across all of Allegro's sticks:
    // on Linux that is the kernel's numbering, on Windows X, Y, Z, Rz, the
    // sliders, then the hat.
    enum axisRole {
        moveAxisX,
        moveAxisY,
        dpadAxisX,
        dpadAxisY,
        aimAxisX,
        aimAxisY,
        fireAxis,
        orbitersAxis,
        axisRoleCount
    };
    enum buttonRole {
        fireButton,
        orbitersButton,
        blastButton,
        pauseButton,
        restartButton,
        buttonRoleCount
    };
    enum control {
        moveUp,
        moveDown,
        moveLeft,
        moveRight,
        fire,
        orbiters,
        blast,
        pause,
        restart,
        controlCount
    };

    static constexpr int noInput = -1;
    // Full deflection hands the aiming marker 254 mickeys, half 127: more
    // than a mouse gives in one pass, so the marker snaps at any usual threshold.
    static constexpr int aimMickeysPerStep = 2;

    gamepad();

    // Polls the first pad and reads it; with none, or turned off, nothing is held.
    void poll();
    bool isHeld(control which) const;
    // The aiming stick's deflection as this pass's mouse movement; false,
    // leaving x and y alone, while it rests inside the dead zone.
    bool aimMovement(int& x, int& y) const;

    bool isEnabled() const;
    void setEnabled(bool enabled);
    int getAxis(axisRole role) const;
    // -1 turns the role off; a number no pad can have is ignored.
    void setAxis(axisRole role, int number);
    int getButton(buttonRole role) const;
    // -1 turns the role off; a number no pad can have is ignored.
    void setButton(buttonRole role, int number);
    int getDeadZone() const;
    // In percent of full travel, 0 to 90; other values are ignored.
    void setDeadZone(int percent);

    // The first pad's axes in the numbering above, centred on 0 (for the
    // settings program, which learns an axis by its movement).
    static std::vector<int> axisPositions();
    // The lowest button of the first pad held down; noInput for none.
    static int heldButton();

private:
    bool beyondDeadZone(int position) const;
    int axisPosition(axisRole role) const;
    bool buttonDown(buttonRole role) const;
    void readControls();

    bool enabled = true;
    std::array<int, axisRoleCount> axes{};
    std::array<int, buttonRoleCount> buttons{};
    int deadZone = 25;
    std::array<bool, controlCount> pressed{};
    int aimX = 0;
    int aimY = 0;
};

#endif
