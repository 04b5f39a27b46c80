#include "imaging/pcx_decoder.h"

#include <algorithm>
#include <array>

#include "imaging/byte_reader.h"

namespace imaging {
namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr std::size_t kPaletteBytes = 1 + 256 * 3;  // 0x0C, then 256 RGB triples

// Expands the run-length data in [next, end) one scanline at a time: a byte with its
// two high bits set repeats the following byte (its low six bits times); any other
// byte stands for itself. Runs may go on into the next scanline.
class RunLengthReader {
public:
    RunLengthReader(const std::uint8_t* next, const std::uint8_t* end) : next_(next), end_(end) {}

    // Fills `line`; what the data no longer covers becomes 0.
    void ReadLine(std::vector<std::uint8_t>& line)
    {
        std::size_t filled = 0;
        while (filled < line.size()) {
            if (runLeft_ == 0 && !StartRun()) break;
            const std::size_t take = std::min<std::size_t>(runLeft_, line.size() - filled);
            std::fill_n(line.begin() + static_cast<std::ptrdiff_t>(filled), take, runValue_);
            filled += take;
            runLeft_ -= take;
        }
        std::fill(line.begin() + static_cast<std::ptrdiff_t>(filled), line.end(), 0);
    }

    bool Exhausted() const { return runLeft_ == 0 && next_ == end_; }

private:
    bool StartRun()
    {
        while (next_ < end_) {
            const std::uint8_t byte = *next_++;
            if ((byte & 0xC0) != 0xC0) {
                runValue_ = byte;
                runLeft_ = 1;
                return true;
            }
            if (next_ == end_) return false;
            runValue_ = *next_++;
            runLeft_ = byte & 0x3F;
            if (runLeft_ > 0) return true;
        }
        return false;
    }

    const std::uint8_t* next_;
    const std::uint8_t* end_;
    std::uint8_t runValue_ = 0;
    std::size_t runLeft_ = 0;
};

}  // namespace

std::optional<Picture> DecodePcx(const ByteSet& bytes)
{
    if (bytes.size() < kHeaderBytes || bytes[0] != 0x0A || bytes[2] != 1) return std::nullopt;
    const int bitsPerPixel = bytes[3];
    const int planes = bytes[65];
    if ((bitsPerPixel != 8 && bitsPerPixel != 1) || planes != 1) return std::nullopt;
    const int xMin = *ReadU16(bytes, 4), yMin = *ReadU16(bytes, 6);
    const int xMax = *ReadU16(bytes, 8), yMax = *ReadU16(bytes, 10);
    const std::size_t lineBytes = *ReadU16(bytes, 66);
    if (xMax < xMin || yMax < yMin) return std::nullopt;
    const int width = xMax - xMin + 1;
    const int height = yMax - yMin + 1;
    if (!FitsPixelBound(width, height)) return std::nullopt;
    const std::size_t neededLineBytes =
        bitsPerPixel == 8 ? static_cast<std::size_t>(width) : (static_cast<std::size_t>(width) + 7) / 8;
    if (lineBytes < neededLineBytes) return std::nullopt;

    std::array<std::uint32_t, 256> colors{};
    std::size_t dataEnd = bytes.size();
    if (bitsPerPixel == 8) {
        if (bytes.size() < kHeaderBytes + kPaletteBytes || bytes[bytes.size() - kPaletteBytes] != 0x0C)
            return std::nullopt;
        dataEnd = bytes.size() - kPaletteBytes;
        const std::uint8_t* rgb = bytes.data() + dataEnd + 1;
        for (std::size_t i = 0; i < colors.size(); ++i)
            colors[i] = OpaqueRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    }

    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    RunLengthReader reader(bytes.data() + kHeaderBytes, bytes.data() + dataEnd);
    std::vector<std::uint8_t> line(lineBytes);
    const std::uint32_t indexZero = bitsPerPixel == 8 ? colors[0] : kOpaqueBlack;
    for (int y = 0; y < height; ++y) {
        if (reader.Exhausted()) {
            // Nothing left to expand: skip the row-by-row work for the rest.
            std::fill(picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width,
                      picture.pixels.end(), indexZero);
            break;
        }
        reader.ReadLine(line);
        std::uint32_t* out = picture.pixels.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            if (bitsPerPixel == 8) {
                out[x] = colors[line[x]];
            } else {
                out[x] = (line[x / 8] >> (7 - x % 8)) & 1 ? kOpaqueWhite : kOpaqueBlack;
            }
        }
    }
    return picture;
}

}  // namespace imaging
