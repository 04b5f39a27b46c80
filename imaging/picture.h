// A decoded still picture, as every decoder of this library hands it back.
#pragma once

#include <cstdint>
#include <vector>

namespace imaging {

// The largest picture any decoder accepts, in pixels: 100 megapixels, 400 MB of
// decoded colour. Each decoder checks a picture's declared size against this before
// it allocates anything for it; a GIF counts its canvas and, separately, all its
// images together against it.
inline constexpr std::uint64_t kMaxPicturePixels = 100'000'000;

inline bool FitsPixelBound(std::uint64_t width, std::uint64_t height)
{
    return width > 0 && height > 0 && width <= kMaxPicturePixels &&
           height <= kMaxPicturePixels / width;
}

// Pixel values are 0xAARRGGBB in native byte order, the layout of Qt's
// QImage::Format_ARGB32. Opaque pixels have alpha 0xFF.
inline constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;
inline constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFFu;

inline constexpr std::uint32_t OpaqueRgb(std::uint32_t red, std::uint32_t green,
                                         std::uint32_t blue)
{
    return 0xFF000000u | (red << 16) | (green << 8) | blue;
}

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height, top row first
    bool hasAlpha = false;              // some pixels are (partly) transparent
};

}  // namespace imaging
