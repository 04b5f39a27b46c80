// Decoding a picture of any kind the picture box shows.
#pragma once

#include <optional>
#include <variant>

#include "encoding/text.h"
#include "imaging/gif_decoder.h"
#include "imaging/picture.h"

namespace imaging {

// A still picture, or a GIF to be played with GifPlayer.
using DecodedPicture = std::variant<Picture, GifMovie>;

// Recognises the kind from the leading bytes and runs its decoder. Nothing when no
// kind matches or the decoder fails.
std::optional<DecodedPicture> DecodePicture(const ByteSet& bytes);

}  // namespace imaging
