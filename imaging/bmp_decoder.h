// Windows BMP files.
#pragma once

#include <optional>

#include "encoding/text.h"
#include "imaging/picture.h"

namespace imaging {

// Decodes an uncompressed (BI_RGB) BMP with 1, 4 or 8 bits per pixel and a colour
// table, or 24 or 32 bits per pixel (the fourth byte is ignored), rows stored bottom-up
// or top-down. Run-length or bit-field compression, other bit counts, more than one
// plane, and a header, table or pixel array that does not fit the data give nothing.
std::optional<Picture> DecodeBmp(const ByteSet& bytes);

}  // namespace imaging
