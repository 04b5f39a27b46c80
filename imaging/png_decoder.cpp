#include "imaging/png_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <new>

#include <png.h>

namespace imaging {

bool StartsWithPngSignature(Bytes bytes)
{
    constexpr std::array<std::uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= kSignature.size() &&
           std::equal(kSignature.begin(), kSignature.end(), bytes.begin());
}

std::optional<Picture> DecodePng(Bytes bytes)
{
    // libpng's simplified reader keeps its errors to itself and reports failure.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
    if (!FitsPixelBound(image.width, image.height)) {
        png_image_free(&image);
        return std::nullopt;
    }
    // 0xAARRGGBB in memory order.
    image.format = std::endian::native == std::endian::little ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;

    Picture picture;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    try {
        picture.pixels.resize(std::size_t{image.width} * image.height);
    } catch (const std::bad_alloc&) {
        png_image_free(&image);
        return std::nullopt;
    }
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    picture.hasAlpha = std::any_of(picture.pixels.begin(), picture.pixels.end(),
                                   [](std::uint32_t pixel) { return pixel < 0xFF000000u; });
    return picture;
}

}  // namespace imaging
