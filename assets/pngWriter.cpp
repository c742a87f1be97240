#include "pngWriter.h"

#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

bool writePng(const char* path, BITMAP* bitmap)
{
    const int depth = bitmap_color_depth(bitmap);
    const int mask = bitmap_mask_color(bitmap);
    std::vector<unsigned char> rgba;
    rgba.reserve(static_cast<size_t>(bitmap->w) * bitmap->h * 4);
    for (int y = 0; y < bitmap->h; ++y)
        for (int x = 0; x < bitmap->w; ++x) {
            const int colour = getpixel(bitmap, x, y);
            const bool opaque = colour != mask;
            rgba.push_back(opaque ? getr_depth(depth, colour) : 0);
            rgba.push_back(opaque ? getg_depth(depth, colour) : 0);
            rgba.push_back(opaque ? getb_depth(depth, colour) : 0);
            rgba.push_back(opaque ? 255 : 0);
        }
    return stbi_write_png(path, bitmap->w, bitmap->h, 4, rgba.data(), bitmap->w * 4) != 0;
}
