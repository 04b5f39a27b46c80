// Any bytes handed to DecodeJpeg: no crash, no hang, no unbounded memory.
#include <cstddef>
#include <cstdint>

#include "imaging/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ByteSet bytes(data, data + size);
    (void)imaging::DecodeJpeg(bytes);
    return 0;
}
