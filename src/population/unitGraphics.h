#ifndef BROX_UNITGRAPHICS_H
#define BROX_UNITGRAPHICS_H

#include <allegro.h>

#include <array>
#include <vector>

// The picture table of one unit type: per activity code the pictures of its
// animation, one per drawn frame. The pictures belong to the datafile.
class unitGraphics {
public:
    static constexpr int activitySlots = 9;

    unitGraphics();

    // Appends a frame to an activity's sequence; a picture put into slot 0
    // also sets the type's picture size. -1 for an activity outside 0..8.
    int insertPic(BITMAP* pic, int activity);
    // Null for an activity or frame that does not exist.
    BITMAP* getPic(int activity, int frame) const;
    // Frames in the activity's sequence; -1 for an activity outside 0..8.
    int getSizeOfVector(int activity) const;
    // Side of the square every picture of the type is drawn and collides as.
    int getPicSize() const;

    // Unit type these pictures are for; the catalogue sets it directly.
    int unitType = 0;

private:
    static bool isSlot(int activity);

    int picSize = 0;
    std::array<std::vector<BITMAP*>, activitySlots> pics;
};

#endif
