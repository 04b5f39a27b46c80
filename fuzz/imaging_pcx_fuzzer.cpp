// Any bytes handed to DecodePcx: no crash, no hang, no unbounded memory.
#include <cstddef>
#include <cstdint>

#include "imaging/pcx_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ByteSet bytes(data, data + size);
    (void)imaging::DecodePcx(bytes);
    return 0;
}
