#include "imaging/icon_decoder.h"

#include <algorithm>

#include "imaging/dib.h"
#include "imaging/png_decoder.h"

namespace imaging {
namespace {

constexpr std::uint64_t kDirectoryHeaderBytes = 6;
constexpr std::uint64_t kEntryBytes = 16;

// Index of the entry to show among `count` entries that fit the data.
std::uint64_t ChooseEntry(Bytes bytes, std::uint64_t count)
{
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = kDirectoryHeaderBytes + i * kEntryBytes;
        const std::uint8_t width = bytes[entry];
        const std::uint8_t colorCount = bytes[entry + 2];
        if (width == 32 && colorCount >= 16) return i;
    }
    return count - 1;
}

// Clears the alpha of every pixel whose AND-mask bit is set. The mask follows the
// colour rows: 1 bit per pixel, rows padded to 4 bytes, in the same row order.
void ApplyAndMask(Bytes mask, const DibHeader& header, Picture& picture)
{
    const std::uint64_t rowBytes = DibRowBytes(picture.width, 1);
    const bool topDown = header.height < 0;
    for (int stored = 0; stored < picture.height; ++stored) {
        const std::uint8_t* in = mask.data() + static_cast<std::uint64_t>(stored) * rowBytes;
        const int y = topDown ? stored : picture.height - 1 - stored;
        std::uint32_t* out = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
        for (int x = 0; x < picture.width; ++x) {
            if ((in[x / 8] >> (7 - x % 8)) & 1) {
                out[x] &= 0x00FFFFFFu;
                picture.hasAlpha = true;
            }
        }
    }
}

std::optional<Picture> DecodeBitmapEntry(Bytes entry)
{
    const auto header = ReadDibHeader(entry, 0);
    if (!header || header->compression != kDibUncompressed) return std::nullopt;
    // The stored height covers the colour rows and the mask rows together.
    const std::int64_t rows = (header->height < 0 ? -header->height : header->height) / 2;
    const auto palette = ReadDibColorTable(entry, header->size, *header);
    if (!palette) return std::nullopt;
    const std::uint64_t colorOffset = header->size + DibColorTableBytes(*header);
    const bool hasAlphaChannel = header->bitCount == 32;
    auto picture = ReadDibPixels(entry, colorOffset, *header, rows, *palette, hasAlphaChannel);
    if (!picture) return std::nullopt;

    if (hasAlphaChannel) {
        picture->hasAlpha = std::any_of(picture->pixels.begin(), picture->pixels.end(),
                                        [](std::uint32_t pixel) { return pixel < 0xFF000000u; });
        const bool alphaUnused = std::all_of(picture->pixels.begin(), picture->pixels.end(),
                                             [](std::uint32_t pixel) { return pixel < 0x01000000u; });
        if (!alphaUnused) return picture;
        for (std::uint32_t& pixel : picture->pixels) pixel |= 0xFF000000u;
        picture->hasAlpha = false;
    }
    const std::uint64_t maskOffset = colorOffset + DibRowBytes(header->width, header->bitCount) *
                                                       static_cast<std::uint64_t>(rows);
    const std::uint64_t maskBytes = DibRowBytes(header->width, 1) * static_cast<std::uint64_t>(rows);
    if (HasBytes(entry, maskOffset, maskBytes)) ApplyAndMask(entry.subspan(maskOffset), *header, *picture);
    return picture;
}

}  // namespace

std::optional<Picture> DecodeIcon(const ByteSet& bytes)
{
    const Bytes data(bytes);
    const auto reserved = ReadU16(data, 0);
    const auto type = ReadU16(data, 2);
    const auto count = ReadU16(data, 4);
    if (!reserved || *reserved != 0 || (*type != 1 && *type != 2) || *count == 0) return std::nullopt;
    if (!HasBytes(data, kDirectoryHeaderBytes, *count * kEntryBytes)) return std::nullopt;

    const std::uint64_t chosen = kDirectoryHeaderBytes + ChooseEntry(data, *count) * kEntryBytes;
    // The entry's own byte count is often wrong in real files; the image's headers
    // say how much it needs, and every read is checked against the end of the data.
    const std::uint32_t imageOffset = *ReadU32(data, chosen + 12);
    if (imageOffset >= data.size()) return std::nullopt;
    const Bytes entry = data.subspan(imageOffset);
    if (StartsWithPngSignature(entry)) return DecodePng(entry);
    return DecodeBitmapEntry(entry);
}

}  // namespace imaging
