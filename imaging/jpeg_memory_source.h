// A libjpeg data source that reads a picture held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

namespace imaging {

// How many bytes the source hands to the decoder at a time.
inline constexpr std::size_t kJpegSourceBlockSize = 4096;

// Makes cinfo read `size` bytes at `data`, which must outlive the decompression,
// in blocks of kJpegSourceBlockSize bytes. When the data ends before the decoder is
// done, the source keeps supplying an end-of-image marker, so a picture cut short
// decodes as far as its data goes. The source never suspends.
void UseJpegMemorySource(j_decompress_ptr cinfo, const std::uint8_t* data, std::size_t size);

}  // namespace imaging
