#ifndef BROX_SCREENCOPY_H
#define BROX_SCREENCOPY_H

#include <allegro.h>

#include <vector>

#include "battle/screenFit.h"

// The last step of every main-loop pass: the back buffer, drawn at the
// game's own size, copied onto the screen where its fit puts it, scaled with
// nearest-pixel sampling so that the pixels stay sharp.
class screenCopy {
public:
    explicit screenCopy(const screenFit& fit);

    // clearFirst blacks out the bars around the picture, if there are any:
    // once after the mode opens, and when the system may have lost the
    // screen's contents while the game was in the background.
    void show(BITMAP* picture, BITMAP* target, bool clearFirst);

private:
    void scaleRow(const unsigned char* source, int bytesPerPixel);

    screenFit fit;
    // The picture's column shown in each column on the screen.
    std::vector<int> sourceColumns;
    // One scaled row, written to every screen row that shows its source row.
    std::vector<unsigned char> scaledRow;
};

#endif
