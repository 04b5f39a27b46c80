#include "imaging/bmp_decoder.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/dib.h"

namespace imaging {

std::optional<Picture> DecodeBmp(const ByteSet& bytes)
{
    constexpr std::uint64_t kFileHeaderBytes = 14;
    if (bytes.size() < kFileHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
    const std::uint32_t pixelOffset = *ReadU32(bytes, 10);

    const auto header = ReadDibHeader(bytes, kFileHeaderBytes);
    if (!header || header->compression != kDibUncompressed || header->planes != 1 ||
        header->height == 0)
        return std::nullopt;
    const std::uint64_t tableOffset = kFileHeaderBytes + header->size;
    const auto palette = ReadDibColorTable(bytes, tableOffset, *header);
    if (!palette) return std::nullopt;
    // Pixels never overlap the headers or the table: a pixel offset pointing there is
    // wrong, and they follow the table.
    const std::uint64_t tableEnd = tableOffset + DibColorTableBytes(*header);
    return ReadDibPixels(bytes, std::max<std::uint64_t>(pixelOffset, tableEnd), *header,
                         std::abs(header->height), *palette, /*keepAlpha=*/false);
}

}  // namespace imaging
