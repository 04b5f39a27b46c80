// Windows icon (ICO) and cursor (CUR) files.
#pragma once

#include <optional>

#include "encoding/text.h"
#include "imaging/picture.h"

namespace imaging {

// Decodes one image of an icon or cursor file: the first directory entry whose width
// field is 32 and whose colour-count field is at least 16, else the last entry.
// Bitmap entries (uncompressed, 1, 4, 8, 24 or 32 bits) come with their AND mask as
// transparency; a 32-bit entry whose alpha bytes are not all zero uses those instead.
// PNG entries are decoded with their alpha. Anything that does not fit the data
// gives nothing, except a missing AND mask, which leaves the image opaque.
std::optional<Picture> DecodeIcon(const ByteSet& bytes);

}  // namespace imaging
