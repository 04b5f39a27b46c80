#include "imaging/dib.h"

#include <cstdlib>

namespace imaging {

std::optional<DibHeader> ReadDibHeader(Bytes bytes, std::uint64_t offset)
{
    DibHeader header;
    const auto size = ReadU32(bytes, offset);
    if (!size || !HasBytes(bytes, offset, *size)) return std::nullopt;
    header.size = *size;
    if (header.size == 12) {
        header.core = true;
        header.width = *ReadU16(bytes, offset + 4);
        header.height = *ReadU16(bytes, offset + 6);
        header.planes = *ReadU16(bytes, offset + 8);
        header.bitCount = *ReadU16(bytes, offset + 10);
        return header;
    }
    // Windows' info header and its longer versions, and OS/2's 64-byte one, all begin
    // with the same 40 bytes.
    switch (header.size) {
    case 40: case 52: case 56: case 64: case 108: case 124: break;
    default: return std::nullopt;
    }
    header.width = *ReadI32(bytes, offset + 4);
    header.height = *ReadI32(bytes, offset + 8);
    header.planes = *ReadU16(bytes, offset + 12);
    header.bitCount = *ReadU16(bytes, offset + 14);
    header.compression = *ReadU32(bytes, offset + 16);
    header.colorsUsed = *ReadU32(bytes, offset + 32);
    return header;
}

namespace {

std::uint64_t TableEntries(const DibHeader& header)
{
    if (header.colorsUsed != 0) return header.colorsUsed;
    if (header.bitCount <= 8) return std::uint64_t{1} << header.bitCount;
    return 0;
}

std::uint64_t EntryBytes(const DibHeader& header)
{
    return header.core ? 3 : 4;
}

}  // namespace

std::uint64_t DibColorTableBytes(const DibHeader& header)
{
    return TableEntries(header) * EntryBytes(header);
}

std::optional<std::vector<std::uint32_t>> ReadDibColorTable(Bytes bytes, std::uint64_t offset,
                                                            const DibHeader& header)
{
    if (!HasBytes(bytes, offset, DibColorTableBytes(header))) return std::nullopt;
    if (header.bitCount > 8) return std::vector<std::uint32_t>{};
    // Pixels pointing past the table's end show black.
    std::vector<std::uint32_t> palette(std::size_t{1} << header.bitCount, kOpaqueBlack);
    const std::uint64_t used = std::min<std::uint64_t>(TableEntries(header), palette.size());
    for (std::uint64_t i = 0; i < used; ++i) {
        const std::uint64_t at = offset + i * EntryBytes(header);  // blue, green, red
        palette[i] = OpaqueRgb(bytes[at + 2], bytes[at + 1], bytes[at]);
    }
    return palette;
}

std::uint64_t DibRowBytes(std::int64_t width, int bitCount)
{
    return (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32 * 4;
}

std::optional<Picture> ReadDibPixels(Bytes bytes, std::uint64_t offset, const DibHeader& header,
                                     std::int64_t rows, const std::vector<std::uint32_t>& palette,
                                     bool keepAlpha)
{
    const int bits = header.bitCount;
    const bool indexed = bits == 1 || bits == 4 || bits == 8;
    if (!indexed && bits != 24 && bits != 32) return std::nullopt;
    if (indexed && palette.size() != (std::size_t{1} << bits)) return std::nullopt;
    if (header.width <= 0 || rows <= 0 || !FitsPixelBound(header.width, rows)) return std::nullopt;
    const std::uint64_t rowBytes = DibRowBytes(header.width, bits);
    if (!HasBytes(bytes, offset, rowBytes * static_cast<std::uint64_t>(rows))) return std::nullopt;

    Picture picture;
    picture.width = static_cast<int>(header.width);
    picture.height = static_cast<int>(rows);
    picture.pixels.resize(static_cast<std::size_t>(header.width) * static_cast<std::size_t>(rows));
    const bool topDown = header.height < 0;
    for (std::int64_t stored = 0; stored < rows; ++stored) {
        const std::uint8_t* in = bytes.data() + offset + static_cast<std::uint64_t>(stored) * rowBytes;
        const std::int64_t y = topDown ? stored : rows - 1 - stored;
        std::uint32_t* out = picture.pixels.data() + static_cast<std::size_t>(y * header.width);
        for (std::int64_t x = 0; x < header.width; ++x) {
            switch (bits) {
            case 1: out[x] = palette[(in[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: out[x] = palette[(in[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF]; break;
            case 8: out[x] = palette[in[x]]; break;
            case 24: out[x] = OpaqueRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]); break;
            default: {
                const std::uint8_t* p = in + 4 * x;
                const std::uint32_t alpha = keepAlpha ? p[3] : 0xFF;
                out[x] = alpha << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
            }
            }
        }
    }
    return picture;
}

}  // namespace imaging
