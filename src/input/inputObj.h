#ifndef BROX_INPUTOBJ_H
#define BROX_INPUTOBJ_H

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "battle/cursor.h"
#include "battle/screenFit.h"
#include "gamepad.h"

// Key map slots: indices into the key map and the key flags.
enum keySlot {
    keyUp = 0,
    keyDown = 1,
    keyLeft = 2,
    keyRight = 3,
    keyDefense = 4,
    keyMenu = 5,
    keyPause = 6,
    keyExit = 7,
    keySlotCount = 8
};

// Mouse button slots: indices into the mouse flags.
enum mouseSlot {
    mouseLeft = 0,
    mouseRight = 1,
    mouseMiddle = 2,
    mouseSlotCount = 3
};

// Turns Allegro's raw keyboard, mouse and pad state into held (hit) and
// released (clicked) flags per logical key, the mouse movement and the
// clamped cursor. A pad control counts as the key or button it stands for.
class inputObj {
public:
    inputObj();

    // Samples pad, keyboard and mouse once. newFrame tells whether a simulation
    // step follows this poll: releases are reported on such polls only.
    void processInput(int width, int height, bool newFrame);

    // Drops every held key and button and every release not yet reported,
    // as if nothing had been touched: for when the window loses the focus.
    // What is still held then counts only once it has been let go and
    // pressed again.
    void forgetHeldInput();

    std::vector<int>* getKeyMap();
    // Copies every entry that is a usable key code into its slot; -1 and
    // codes outside 1..KEY_MAX-1 leave the slot alone. Returns -1 and changes
    // nothing when the list is shorter than the key map.
    int setKeyMap(const std::vector<int>* keys);

    std::vector<bool>* getKeyWasHit();
    std::vector<bool>* getKeyWasClicked();
    std::vector<bool>* getMouseWasHit();
    std::vector<bool>* getMouseWasClicked();
    void setKeyWasHit(const std::vector<bool>* flags);
    void setKeyWasClicked(const std::vector<bool>* flags);
    void setMouseWasHit(const std::vector<bool>* flags);
    void setMouseWasClicked(const std::vector<bool>* flags);

    int getInputWait() const;
    void setInputWait(int value);
    void getMouseUsedLast(bool& value) const;
    void setMouseUsedLast(bool value);
    void getKeyWasHitThisFrame(bool& value) const;
    void setKeyWasHitThisFrame(bool value);

    cursor* getCursor();
    void setCursor(cursor* newCursor);

    int getControlThreshold() const;
    void setControlThreshold(int value);

    gamepad* getGamepad();

    // Where the picture lies on the screen, so that the pointer and its
    // movement are read in game pixels; 1:1 until told otherwise.
    void setScreenFit(const screenFit& fit);

    // M mutes the sound, effects and music together, and the next press
    // brings it back; a held key counts once.
    bool isSoundMuted() const;

    // Where the mouse movement of a poll comes from: Allegro's mickey counter
    // unless a player without a mouse driver (a headless test) supplies it.
    using mickeySource = std::function<void(int& x, int& y)>;
    void setMickeySource(mickeySource source);

private:
    void pollKeys(bool newFrame);
    void pollMouseMovement(int width, int height);
    void pollMouseButtons(bool newFrame);
    bool padHolds(gamepad::control which) const;
    void pollMuteKey();

    std::vector<int> keyMap;
    std::vector<bool> keyWasHit;
    std::vector<bool> keyWasClicked;
    std::vector<bool> mouseWasHit;
    std::vector<bool> mouseWasClicked;
    // Releases seen on polls without a new frame, held for the next poll
    // with one so that every release is reported exactly once.
    std::vector<bool> keyReleasePending;
    std::vector<bool> mouseReleasePending;
    // Held when input was forgotten, and not let go since.
    std::vector<bool> keyIgnoredUntilUp;
    std::vector<bool> mouseIgnoredUntilUp;
    int inputWait = 0;
    bool mouseUsedLast = false;
    bool keyWasHitThisFrame = false;
    bool soundMuted = false;
    bool muteKeyWasDown = false;
    int controlThreshold = 0;
    std::unique_ptr<cursor> mouseCursor;
    std::optional<screenFit> pictureFit;
    // The share of the mouse movement that did not make a whole game pixel.
    int mickeyCarryX = 0;
    int mickeyCarryY = 0;
    mickeySource readMickeys;
    gamepad pad;
};

#endif
