#include "screenCopy.h"

screenCopy::screenCopy(const screenFit& pictureFit) : fit(pictureFit) {}

screenCopy::~screenCopy()
{
    if (scaled != nullptr)
        destroy_bitmap(scaled);
}

void screenCopy::show(BITMAP* picture, BITMAP* target, bool clearFirst)
{
    if (clearFirst)
        clear_to_color(target, makecol(0, 0, 0));
    if (fit.isOneToOne()) {
        blit(picture, target, 0, 0, fit.getX(), fit.getY(), fit.getWidth(), fit.getHeight());
        return;
    }
    if (scaled == nullptr)
        scaled = create_bitmap(fit.getWidth(), fit.getHeight());
    if (scaled == nullptr) {
        // Short of memory: slower, straight onto the target.
        stretch_blit(picture, target, 0, 0, fit.getGameWidth(), fit.getGameHeight(), fit.getX(),
                     fit.getY(), fit.getWidth(), fit.getHeight());
        return;
    }
    stretch_blit(picture, scaled, 0, 0, fit.getGameWidth(), fit.getGameHeight(), 0, 0,
                 fit.getWidth(), fit.getHeight());
    blit(scaled, target, 0, 0, fit.getX(), fit.getY(), fit.getWidth(), fit.getHeight());
}
