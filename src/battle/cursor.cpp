#include "cursor.h"

cursor::cursor() = default;

void cursor::getCursor(int& x, int& y) const
{
    x = cursorX;
    y = cursorY;
}

void cursor::setCursor(int x, int y)
{
    cursorX = x;
    cursorY = y;
}

void cursor::getCursorShouldBe(int& x, int& y) const
{
    x = cursorShouldBeX;
    y = cursorShouldBeY;
}

void cursor::setCursorShouldBe(int x, int y)
{
    cursorShouldBeX = x;
    cursorShouldBeY = y;
}

void cursor::getMouseMickeys(int& x, int& y) const
{
    x = mouseMickeysX;
    y = mouseMickeysY;
}

void cursor::setMouseMickeys(int x, int y)
{
    mouseMickeysX = x;
    mouseMickeysY = y;
}

BITMAP* cursor::getCursorPic() const { return cursorPic; }
void cursor::setCursorPic(BITMAP* pic) { cursorPic = pic; }
