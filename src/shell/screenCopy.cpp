#include "screenCopy.h"

#include <cstdint>
#include <cstring>

namespace {

struct pixel24 {
    unsigned char bytes[3];
};

template <typename pixel>
void pickColumns(const unsigned char* from, unsigned char* to, const std::vector<int>& columns)
{
    const auto* source = reinterpret_cast<const pixel*>(from);
    auto* target = reinterpret_cast<pixel*>(to);
    for (const int column : columns)
        *target++ = source[column];
}

}  // namespace

screenCopy::screenCopy(const screenFit& pictureFit)
    : fit(pictureFit),
      sourceColumns(static_cast<std::size_t>(fit.getWidth()))
{
    for (int x = 0; x < fit.getWidth(); ++x)
        sourceColumns[x] = x * fit.getGameWidth() / fit.getWidth();
}

void screenCopy::scaleRow(const unsigned char* source, int bytesPerPixel)
{
    if (bytesPerPixel == 4)
        pickColumns<std::uint32_t>(source, scaledRow.data(), sourceColumns);
    else if (bytesPerPixel == 3)
        pickColumns<pixel24>(source, scaledRow.data(), sourceColumns);
    else if (bytesPerPixel == 2)
        pickColumns<std::uint16_t>(source, scaledRow.data(), sourceColumns);
    else
        pickColumns<std::uint8_t>(source, scaledRow.data(), sourceColumns);
}

// Each picture row is scaled once and written to every screen row that
// shows it, straight into the screen: no scaled copy of the whole picture
// is made and copied again, which at 3840 x 2160 would double the cost.
void screenCopy::show(BITMAP* picture, BITMAP* target, bool clearFirst)
{
    const bool barsShown = fit.getWidth() < target->w || fit.getHeight() < target->h;
    if (clearFirst && barsShown)
        clear_to_color(target, makecol(0, 0, 0));
    if (fit.isOneToOne()) {
        blit(picture, target, 0, 0, fit.getX(), fit.getY(), fit.getWidth(), fit.getHeight());
        return;
    }
    const int bytesPerPixel = (bitmap_color_depth(picture) + 7) / 8;
    const std::size_t rowBytes = static_cast<std::size_t>(fit.getWidth()) * bytesPerPixel;
    scaledRow.resize(rowBytes);
    int scaledSource = -1;
    acquire_bitmap(target);
    for (int y = 0; y < fit.getHeight(); ++y) {
        const int source = y * fit.getGameHeight() / fit.getHeight();
        if (source != scaledSource) {
            scaleRow(picture->line[source], bytesPerPixel);
            scaledSource = source;
        }
        const uintptr_t line = bmp_write_line(target, fit.getY() + y);
        std::memcpy(reinterpret_cast<unsigned char*>(line) + fit.getX() * bytesPerPixel,
                    scaledRow.data(), rowBytes);
    }
    bmp_unwrite_line(target);
    release_bitmap(target);
}
