#include "inputObj.h"

#include <allegro.h>

#include <utility>

namespace {

bool isUsableKeyCode(int code) { return code >= 1 && code < KEY_MAX; }

// The pad control that also drives each key map slot and mouse button;
// controlCount for none.
constexpr gamepad::control padControlOfKey[keySlotCount] = {
    gamepad::moveUp,      gamepad::moveDown, gamepad::moveLeft,  gamepad::moveRight,
    gamepad::setOffBlast, gamepad::restart,  gamepad::pauseGame, gamepad::controlCount};
constexpr gamepad::control padControlOfButton[mouseSlotCount] = {gamepad::fire, gamepad::orbiters,
                                                                 gamepad::controlCount};

// One falling-edge update of a slot. A release is latched until a poll with
// a new frame reports it, and only that poll reports it. A slot forgotten
// while held stays up until it has been let go.
void updateEdge(bool down, bool newFrame, std::vector<bool>::reference hit,
                std::vector<bool>::reference clicked, std::vector<bool>::reference releasePending,
                std::vector<bool>::reference ignoredUntilUp)
{
    if (!down)
        ignoredUntilUp = false;
    if (ignoredUntilUp)
        down = false;
    if (hit && !down)
        releasePending = true;
    if (newFrame) {
        clicked = static_cast<bool>(releasePending);
        releasePending = false;
    } else {
        clicked = false;
    }
    hit = down;
}

}  // namespace

inputObj::inputObj()
    : keyMap{KEY_W, KEY_S, KEY_A, KEY_D, KEY_SPACE, KEY_F10, KEY_TAB, KEY_ESC},
      keyWasHit(keySlotCount, false),
      keyWasClicked(keySlotCount, false),
      mouseWasHit(mouseSlotCount, false),
      mouseWasClicked(mouseSlotCount, false),
      keyReleasePending(keySlotCount, false),
      mouseReleasePending(mouseSlotCount, false),
      keyIgnoredUntilUp(keySlotCount, false),
      mouseIgnoredUntilUp(mouseSlotCount, false),
      mouseCursor(std::make_unique<cursor>()),
      readMickeys([](int& x, int& y) { get_mouse_mickeys(&x, &y); })
{
}

void inputObj::processInput(int width, int height, bool newFrame)
{
    pad.poll();
    pollKeys(newFrame);
    pollMouseMovement(width, height);
    pollMouseButtons(newFrame);
    pollMuteKey();
}

void inputObj::pollKeys(bool newFrame)
{
    for (int slot = 0; slot < keySlotCount; ++slot) {
        const int code = keyMap[slot];
        const bool down =
            (isUsableKeyCode(code) && key[code] != 0) || padHolds(padControlOfKey[slot]);
        updateEdge(down, newFrame, keyWasHit[slot], keyWasClicked[slot], keyReleasePending[slot],
                   keyIgnoredUntilUp[slot]);
        if (down)
            mouseUsedLast = false;
    }
}

void inputObj::pollMouseMovement(int width, int height)
{
    int mx = 0;
    int my = 0;
    readMickeys(mx, my);
    if (pictureFit)
        pictureFit->movementToGame(mx, my, mickeyCarryX, mickeyCarryY);
    // The mouse wins over the aiming stick when both move in one pass.
    if (mx == 0 && my == 0)
        pad.aimMovement(mx, my);
    if (mx != 0 || my != 0)
        mouseUsedLast = true;
    mouseCursor->setMouseMickeys(mx, my);

    int x = mouse_x;
    int y = mouse_y;
    if (pictureFit)
        pictureFit->toGame(x, y);
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    if (x > width)
        x = width;
    if (y > height)
        y = height;
    mouseCursor->setCursorShouldBe(x, y);
}

void inputObj::pollMouseButtons(bool newFrame)
{
    const int buttons = mouse_b;
    for (int slot = 0; slot < mouseSlotCount; ++slot) {
        const bool down = (buttons & (1 << slot)) != 0 || padHolds(padControlOfButton[slot]);
        updateEdge(down, newFrame, mouseWasHit[slot], mouseWasClicked[slot],
                   mouseReleasePending[slot], mouseIgnoredUntilUp[slot]);
        if (down)
            mouseUsedLast = true;
    }
}

void inputObj::pollMuteKey()
{
    const bool down = key[KEY_M] != 0;
    if (down && !muteKeyWasDown)
        soundMuted = !soundMuted;
    muteKeyWasDown = down;
}

bool inputObj::isSoundMuted() const { return soundMuted; }

bool inputObj::padHolds(gamepad::control which) const
{
    return which != gamepad::controlCount && pad.isHeld(which);
}

void inputObj::forgetHeldInput()
{
    // Added to what is already ignored, so that forgetting on every pass in
    // the background keeps ignoring what was held when it began.
    for (int slot = 0; slot < keySlotCount; ++slot)
        keyIgnoredUntilUp[slot] = keyIgnoredUntilUp[slot] || keyWasHit[slot];
    for (int slot = 0; slot < mouseSlotCount; ++slot)
        mouseIgnoredUntilUp[slot] = mouseIgnoredUntilUp[slot] || mouseWasHit[slot];
    for (std::vector<bool>* flags : {&keyWasHit, &keyWasClicked, &keyReleasePending, &mouseWasHit,
                                     &mouseWasClicked, &mouseReleasePending})
        flags->assign(flags->size(), false);
}

std::vector<int>* inputObj::getKeyMap() { return &keyMap; }

int inputObj::setKeyMap(const std::vector<int>* keys)
{
    if (keys == nullptr || keys->size() < keyMap.size())
        return -1;
    for (std::size_t slot = 0; slot < keyMap.size(); ++slot) {
        const int code = (*keys)[slot];
        if (code != -1 && isUsableKeyCode(code))
            keyMap[slot] = code;
    }
    return 0;
}

std::vector<bool>* inputObj::getKeyWasHit() { return &keyWasHit; }
std::vector<bool>* inputObj::getKeyWasClicked() { return &keyWasClicked; }
std::vector<bool>* inputObj::getMouseWasHit() { return &mouseWasHit; }
std::vector<bool>* inputObj::getMouseWasClicked() { return &mouseWasClicked; }

void inputObj::setKeyWasHit(const std::vector<bool>* flags) { keyWasHit = *flags; }
void inputObj::setKeyWasClicked(const std::vector<bool>* flags) { keyWasClicked = *flags; }
void inputObj::setMouseWasHit(const std::vector<bool>* flags) { mouseWasHit = *flags; }
void inputObj::setMouseWasClicked(const std::vector<bool>* flags) { mouseWasClicked = *flags; }

int inputObj::getInputWait() const { return inputWait; }
void inputObj::setInputWait(int value) { inputWait = value; }
void inputObj::getMouseUsedLast(bool& value) const { value = mouseUsedLast; }
void inputObj::setMouseUsedLast(bool value) { mouseUsedLast = value; }
void inputObj::getKeyWasHitThisFrame(bool& value) const { value = keyWasHitThisFrame; }
void inputObj::setKeyWasHitThisFrame(bool value) { keyWasHitThisFrame = value; }

cursor* inputObj::getCursor() { return mouseCursor.get(); }

void inputObj::setCursor(cursor* newCursor)
{
    if (newCursor != mouseCursor.get())
        mouseCursor.reset(newCursor);
}

int inputObj::getControlThreshold() const { return controlThreshold; }
void inputObj::setControlThreshold(int value) { controlThreshold = value; }
gamepad* inputObj::getGamepad() { return &pad; }

void inputObj::setScreenFit(const screenFit& fit)
{
    pictureFit = fit;
    mickeyCarryX = 0;
    mickeyCarryY = 0;
}
void inputObj::setMickeySource(mickeySource source) { readMickeys = std::move(source); }
