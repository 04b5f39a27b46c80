// PNG images, as icons and cursors may hold them in place of a bitmap.
#pragma once

#include <optional>

#include "imaging/byte_reader.h"
#include "imaging/picture.h"

namespace imaging {

bool StartsWithPngSignature(Bytes bytes);

// Decodes a PNG through libpng into pixels with alpha. Damaged data or a size
// beyond kMaxPicturePixels gives nothing.
std::optional<Picture> DecodePng(Bytes bytes);

}  // namespace imaging
