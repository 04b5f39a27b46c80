// Baseline JPEG encoding with libjpeg-turbo.
#pragma once

#include <cstddef>
#include <cstdint>

#include "encoding/text.h"

// Encodes 32-bit pixels laid out B, G, R, X in memory (QImage::Format_RGB32 on a
// little-endian machine) as a baseline JFIF JPEG. Empty when encoding fails.
ByteSet EncodeJpegBgrx(const std::uint8_t* pixels, int width, int height, std::size_t stride, int quality);
