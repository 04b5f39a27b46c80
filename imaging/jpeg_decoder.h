// JPEG pictures, decoded by libjpeg-turbo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "encoding/text.h"
#include "imaging/picture.h"

struct jpeg_decompress_struct;

namespace imaging {

// Decodes a baseline, progressive or arithmetic-coded JPEG at full size into opaque
// pixels: colour for three components, grey for one, and four-component CMYK or YCCK
// converted to RGB (inverted when an Adobe marker says so). A file that ends after
// its image data began shows what was decoded; one that ends sooner, any decoder
// error, more than 1000 scans or a size beyond kMaxPicturePixels give nothing.
// Decoder warnings are ignored.
std::optional<Picture> DecodeJpeg(const ByteSet& bytes);

// The same decoding with another data source; DecodeJpeg uses UseJpegMemorySource.
// Lets a benchmark compare that source with libjpeg's own.
using JpegSourceSetup = void (*)(jpeg_decompress_struct* cinfo, const std::uint8_t* data,
                                 std::size_t size);
std::optional<Picture> DecodeJpegWithSource(const ByteSet& bytes, JpegSourceSetup setup);

}  // namespace imaging
