#include "imaging/picture_kind.h"

namespace imaging {

std::optional<PictureKind> RecognizePictureKind(const ByteSet& bytes)
{
    if (bytes.size() < 6) return std::nullopt;
    const auto b = [&](std::size_t i) { return bytes[i]; };
    const bool hasImages = (b(4) | b(5)) != 0;

    if (b(0) == 0x42 && b(1) == 0x4D) return PictureKind::Bmp;
    if (b(0) == 0xFF && b(1) == 0xD8) return PictureKind::Jpeg;
    if (b(0) == 0 && b(1) == 0 && b(2) == 1 && b(3) == 0 && hasImages) return PictureKind::Ico;
    if (b(0) == 0 && b(1) == 0 && b(2) == 2 && b(3) == 0 && hasImages) return PictureKind::Cur;
    if (b(0) == 'G' && b(1) == 'I' && b(2) == 'F' && b(3) == '8' && (b(4) == '7' || b(4) == '9') &&
        b(5) == 'a')
        return PictureKind::Gif;
    if (b(0) == 0x0A && b(1) <= 5 && b(2) == 1 && b(3) == 8) return PictureKind::Pcx8;
    if (b(0) == 0x0A && b(1) == 3 && b(2) == 1 && b(3) == 1) return PictureKind::Pcx1;
    return std::nullopt;
}

}  // namespace imaging
