// ZSoft PCX pictures.
#pragma once

#include <optional>

#include "encoding/text.h"
#include "imaging/picture.h"

namespace imaging {

// Decodes a run-length encoded PCX of one plane: 8 bits per pixel through the
// 256-colour palette at the end of the file (0x0C and 768 bytes), or 1 bit per pixel
// with 0 black and 1 white. Other layouts, a missing palette, a row length too short
// for the width, or a size beyond kMaxPicturePixels give nothing. Rows the data no
// longer covers are left at colour index 0 (black for 1 bit per pixel).
std::optional<Picture> DecodePcx(const ByteSet& bytes);

}  // namespace imaging
