#include "pngWriter.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

std::vector<unsigned char> rgbaPixels(BITMAP* bitmap)
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
    return rgba;
}

bool writePng(const char* path, BITMAP* bitmap)
{
    const std::vector<unsigned char> rgba = rgbaPixels(bitmap);
    return stbi_write_png(path, bitmap->w, bitmap->h, 4, rgba.data(), bitmap->w * 4) != 0;
}

std::vector<unsigned char> pngBytes(BITMAP* bitmap)
{
    const std::vector<unsigned char> rgba = rgbaPixels(bitmap);
    std::vector<unsigned char> bytes;
    const auto append = [](void* context, void* data, int size) {
        auto* out = static_cast<std::vector<unsigned char>*>(context);
        const auto* begin = static_cast<const unsigned char*>(data);
        out->insert(out->end(), begin, begin + size);
    };
    stbi_write_png_to_func(append, &bytes, bitmap->w, bitmap->h, 4, rgba.data(), bitmap->w * 4);
    return bytes;
}
