// Which decoder a picture's bytes belong to, told from their first six bytes.
#pragma once

#include <optional>

#include "encoding/text.h"

namespace imaging {

enum class PictureKind { Bmp, Jpeg, Ico, Cur, Gif, Pcx8, Pcx1 };

// Tests the leading bytes in a fixed order: BM, FF D8, an icon or cursor header
// with at least one image, GIF87a/GIF89a, then the two PCX headers (8 bits per pixel
// with version 0..5, 1 bit per pixel with version 3 only). Fewer than 6 bytes, or
// leading bytes that match none of these, give no kind.
std::optional<PictureKind> RecognizePictureKind(const ByteSet& bytes);

}  // namespace imaging
