// Device-independent bitmaps: the header, colour table and pixel rows that BMP
// files and the bitmap entries of icons and cursors share.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/byte_reader.h"
#include "imaging/picture.h"

namespace imaging {

inline constexpr std::uint32_t kDibUncompressed = 0;  // BI_RGB

struct DibHeader {
    std::uint32_t size = 0;       // bytes of the header itself
    std::int64_t width = 0;
    std::int64_t height = 0;      // as stored: negative for rows stored top row first
    int planes = 0;
    int bitCount = 0;
    std::uint32_t compression = kDibUncompressed;
    std::uint32_t colorsUsed = 0;
    bool core = false;            // the 12-byte OS/2 header, with 3-byte table entries
};

// Reads the header at `offset`: the 12-byte core header or an info header of 40, 52,
// 56, 64, 108 or 124 bytes (only its first 40 bytes matter here). Other sizes, or a header that does
// not fit the data, give nothing.
std::optional<DibHeader> ReadDibHeader(Bytes bytes, std::uint64_t offset);

// Bytes the colour table after the header takes in the data.
std::uint64_t DibColorTableBytes(const DibHeader& header);

// The colour table at `offset` as opaque pixels, 2^bitCount of them for up to 8 bits
// per pixel (black where the table has fewer entries), none for more. Nothing when
// the table does not fit the data.
std::optional<std::vector<std::uint32_t>> ReadDibColorTable(Bytes bytes, std::uint64_t offset,
                                                            const DibHeader& header);

// Bytes of one stored row: rows are padded to a multiple of 4 bytes.
std::uint64_t DibRowBytes(std::int64_t width, int bitCount);

// Converts `rows` uncompressed rows of header.width pixels at `offset` (1, 4 or 8 bits
// through `palette`, 24 or 32 bits direct). Pixels are opaque unless keepAlpha, which
// takes 32-bit pixels' fourth byte as their alpha. Nothing when the bit count is
// another, the size is beyond kMaxPicturePixels, or the rows do not fit the data.
std::optional<Picture> ReadDibPixels(Bytes bytes, std::uint64_t offset, const DibHeader& header,
                                     std::int64_t rows, const std::vector<std::uint32_t>& palette,
                                     bool keepAlpha);

}  // namespace imaging
