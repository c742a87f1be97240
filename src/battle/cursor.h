#ifndef BROX_CURSOR_H
#define BROX_CURSOR_H

#include <allegro.h>

// The mouse cursor: where the mouse is, where the cursor was drawn, the
// latest mouse movement and the cursor picture.
class cursor {
public:
    cursor();

    void getCursor(int& x, int& y) const;
    void setCursor(int x, int y);
    void getCursorShouldBe(int& x, int& y) const;
    void setCursorShouldBe(int x, int y);
    void getMouseMickeys(int& x, int& y) const;
    void setMouseMickeys(int x, int y);
    BITMAP* getCursorPic() const;
    void setCursorPic(BITMAP* pic);

private:
    BITMAP* cursorPic = nullptr;  // belongs to the datafile
    int cursorX = 0;
    int cursorY = 0;
    int cursorShouldBeX = 0;
    int cursorShouldBeY = 0;
    int mouseMickeysX = 0;
    int mouseMickeysY = 0;
};

#endif
