#include "imaging/jpeg_memory_source.h"

#include <algorithm>

namespace imaging {
namespace {

struct MemorySource {
    jpeg_source_mgr base;  // first, so that cinfo->src points at the whole struct
    const JOCTET* data;
    std::size_t size;
    std::size_t handedOver;  // bytes given to the decoder so far, skipped ones included
};

const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};

MemorySource& SourceOf(j_decompress_ptr cinfo)
{
    return *reinterpret_cast<MemorySource*>(cinfo->src);
}

void InitSource(j_decompress_ptr) {}

void TermSource(j_decompress_ptr) {}

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    MemorySource& source = SourceOf(cinfo);
    if (source.handedOver >= source.size) {
        // The data ended before the decoder found its end: pretend it is here.
        source.base.next_input_byte = kEndOfImage;
        source.base.bytes_in_buffer = sizeof kEndOfImage;
        return TRUE;
    }
    const std::size_t block = std::min(kJpegSourceBlockSize, source.size - source.handedOver);
    source.base.next_input_byte = source.data + source.handedOver;
    source.base.bytes_in_buffer = block;
    source.handedOver += block;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    if (count <= 0) return;
    MemorySource& source = SourceOf(cinfo);
    auto skip = static_cast<std::size_t>(count);
    if (skip <= source.base.bytes_in_buffer) {
        source.base.next_input_byte += skip;
        source.base.bytes_in_buffer -= skip;
        return;
    }
    // Past this block: drop it and move on; the next fill starts after the skip.
    skip -= source.base.bytes_in_buffer;
    source.base.bytes_in_buffer = 0;
    source.handedOver += std::min(skip, source.size - source.handedOver);
}

}  // namespace

void UseJpegMemorySource(j_decompress_ptr cinfo, const std::uint8_t* data, std::size_t size)
{
    // Freed with the decompression object; never reuse another source's smaller struct.
    cinfo->src = static_cast<jpeg_source_mgr*>((*cinfo->mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(MemorySource)));
    MemorySource& source = SourceOf(cinfo);
    source.base.init_source = InitSource;
    source.base.fill_input_buffer = FillInputBuffer;
    source.base.skip_input_data = SkipInputData;
    source.base.resync_to_restart = jpeg_resync_to_restart;
    source.base.term_source = TermSource;
    source.base.next_input_byte = nullptr;
    source.base.bytes_in_buffer = 0;
    source.data = data;
    source.size = size;
    source.handedOver = 0;
}

}  // namespace imaging
