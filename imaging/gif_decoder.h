// GIF files, read through giflib into a sequence of images for animation.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "encoding/text.h"

namespace imaging {

// One image of a GIF, cut down to the part that lies on the canvas.
struct GifImage {
    int left = 0;    // on the canvas
    int top = 0;
    int width = 0;   // may be 0 when the image lies off the canvas or is empty
    int height = 0;
    std::chrono::milliseconds delay{};  // how long it stays; a stored 0 counts as 50 ms
    bool restoreAfter = false;          // disposal 2 or 3: put back what it covered
    std::optional<std::uint8_t> transparentIndex;
    std::size_t colorTable = 0;               // index into GifMovie::colorTables
    std::vector<std::uint8_t> indices;        // width * height colour indices
    std::vector<bool> rowDecoded;             // rows the data cut short stay undrawn
};

// Colours by index, 0xFFRRGGBB; black beyond the end of the file's table.
using GifColorTable = std::array<std::uint32_t, 256>;

struct GifMovie {
    int width = 0;  // the logical screen, which is the canvas
    int height = 0;
    // The global table first (all black when the file has none), then one for each
    // image with a local table, so that many small images do not each carry a copy.
    std::vector<GifColorTable> colorTables;
    std::vector<GifImage> images;  // in file order
};

// Reads every image up to the trailer, or up to the first byte that does not begin a
// block (a 0 byte included), or up to damaged or missing data; an image whose data
// breaks off keeps the rows decoded before. Loop counts are ignored.
// No movie when the data is shorter than 14 bytes, is not GIF87a/GIF89a, has a
// global colour table that does not fit it, or a canvas that is empty or beyond
// kMaxPicturePixels. The images together may hold at most kMaxPicturePixels pixels
// (as stored, before cutting); the sequence ends before the image that would exceed
// that.
std::optional<GifMovie> DecodeGif(const ByteSet& bytes);

}  // namespace imaging
