#include "unitGraphics.h"

unitGraphics::unitGraphics() = default;

bool unitGraphics::isSlot(int activity) { return activity >= 0 && activity < activitySlots; }

int unitGraphics::insertPic(BITMAP* pic, int activity)
{
    if (!isSlot(activity))
        return -1;
    pics[activity].push_back(pic);
    if (activity == 0)
        picSize = pic->w;
    return 0;
}

BITMAP* unitGraphics::getPic(int activity, int frame) const
{
    if (!isSlot(activity) || frame < 0 || frame >= getSizeOfVector(activity))
        return nullptr;
    return pics[activity][frame];
}

int unitGraphics::getSizeOfVector(int activity) const
{
    if (!isSlot(activity))
        return -1;
    return static_cast<int>(pics[activity].size());
}

int unitGraphics::getPicSize() const { return picSize; }
