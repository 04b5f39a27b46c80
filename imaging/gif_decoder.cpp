#include "imaging/gif_decoder.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <gif_lib.h>

#include "imaging/byte_reader.h"
#include "imaging/picture.h"

namespace imaging {
namespace {

constexpr std::size_t kMinimumGifBytes = 14;
constexpr std::size_t kScreenDescriptorEnd = 13;  // signature, then the logical screen
constexpr std::chrono::milliseconds kZeroDelay{50};

struct MemoryReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count)
{
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t take = std::min(static_cast<std::size_t>(std::max(count, 0)),
                                       reader->size - reader->position);
    std::memcpy(out, reader->data + reader->position, take);
    reader->position += take;
    return static_cast<int>(take);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

// What a graphic control extension says about the image after it.
struct GraphicControl {
    std::chrono::milliseconds delay = kZeroDelay;
    bool restoreAfter = false;
    std::optional<std::uint8_t> transparentIndex;
};

GraphicControl ReadGraphicControl(const GifByteType* block)
{
    GraphicControl control;
    if (block == nullptr || block[0] < 4) return control;  // block[0] is its length
    const int packed = block[1];
    const int hundredths = block[2] | block[3] << 8;
    const int disposal = (packed >> 2) & 7;
    if (hundredths != 0) control.delay = std::chrono::milliseconds(hundredths * 10);
    control.restoreAfter = disposal == 2 || disposal == 3;
    if (packed & 1) control.transparentIndex = block[4];
    return control;
}

// Reads one extension with all its sub-blocks; false when the data breaks off.
bool ReadExtension(GifFileType* gif, GraphicControl& control)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE) control = ReadGraphicControl(block);
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    }
    return true;
}

// Stored rows of an interlaced image come in four passes: every 8th row from 0, every
// 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced)
{
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
    return order;
}

GifColorTable ToColorTable(const ColorMapObject* map)
{
    GifColorTable colors;
    colors.fill(kOpaqueBlack);
    if (map == nullptr) return colors;
    const int count = std::clamp(map->ColorCount, 0, 256);
    for (int i = 0; i < count; ++i)
        colors[i] = OpaqueRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    return colors;
}

// Skips an image's data without decoding it (images with no pixels).
bool SkipImageData(GifFileType* gif)
{
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR) return false;
    while (block != nullptr) {
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return false;
    }
    return true;
}

// Decodes the image whose descriptor giflib has just read, keeping the part on the
// canvas. Returns false when its data broke off; the rows before stay in `image`.
bool ReadImage(GifFileType* gif, GifMovie& movie, GifImage& image)
{
    const GifImageDesc& desc = gif->Image;
    const int left = std::max(desc.Left, 0), top = std::max(desc.Top, 0);
    const int right = std::min(desc.Left + desc.Width, movie.width);
    const int bottom = std::min(desc.Top + desc.Height, movie.height);
    image.left = left;
    image.top = top;
    image.width = std::max(right - left, 0);
    image.height = std::max(bottom - top, 0);
    if (desc.ColorMap != nullptr) {
        movie.colorTables.push_back(ToColorTable(desc.ColorMap));
        image.colorTable = movie.colorTables.size() - 1;
    }
    image.indices.assign(static_cast<std::size_t>(image.width) * image.height, 0);
    image.rowDecoded.assign(static_cast<std::size_t>(image.height), false);

    if (desc.Width <= 0 || desc.Height <= 0) return SkipImageData(gif);
    std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
    for (int storedRow : RowOrder(desc.Height, desc.Interlace)) {
        if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR) return false;
        const int y = desc.Top + storedRow - image.top;
        if (y < 0 || y >= image.height || image.width == 0) continue;
        std::copy_n(line.begin() + (image.left - desc.Left), image.width,
                    image.indices.begin() + static_cast<std::ptrdiff_t>(y) * image.width);
        image.rowDecoded[static_cast<std::size_t>(y)] = true;
    }
    return true;
}

}  // namespace

std::optional<GifMovie> DecodeGif(const ByteSet& bytes)
{
    if (bytes.size() < kMinimumGifBytes) return std::nullopt;
    if (std::memcmp(bytes.data(), "GIF87a", 6) != 0 && std::memcmp(bytes.data(), "GIF89a", 6) != 0)
        return std::nullopt;
    GifMovie movie;
    movie.width = *ReadU16(bytes, 6);
    movie.height = *ReadU16(bytes, 8);
    const std::uint8_t screenFlags = bytes[10];
    const std::size_t globalTableBytes = (screenFlags & 0x80) ? 3u << ((screenFlags & 7) + 1) : 0;
    if (kScreenDescriptorEnd + globalTableBytes > bytes.size()) return std::nullopt;
    if (!FitsPixelBound(movie.width, movie.height)) return std::nullopt;

    MemoryReader reader{bytes.data(), bytes.size(), 0};
    int error = 0;
    GifHandle gif(DGifOpen(&reader, ReadFromMemory, &error));
    if (!gif) return std::nullopt;

    movie.colorTables.push_back(ToColorTable(gif->SColorMap));
    std::uint64_t pixelsSoFar = 0;
    GraphicControl control;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        // A byte that begins no block, 0 among them, ends the sequence like the trailer.
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) break;
        if (record == TERMINATE_RECORD_TYPE) break;
        if (record == EXTENSION_RECORD_TYPE) {
            if (!ReadExtension(gif.get(), control)) break;
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) break;
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) break;
        const GifImageDesc& desc = gif->Image;
        pixelsSoFar += static_cast<std::uint64_t>(desc.Width) * static_cast<std::uint64_t>(desc.Height);
        if (pixelsSoFar > kMaxPicturePixels) break;

        GifImage& image = movie.images.emplace_back();
        image.delay = control.delay;
        image.restoreAfter = control.restoreAfter;
        image.transparentIndex = control.transparentIndex;
        control = GraphicControl{};  // it applies to one image only
        if (!ReadImage(gif.get(), movie, image)) break;
    }
    return movie;
}

}  // namespace imaging
