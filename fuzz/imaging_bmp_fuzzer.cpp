// Any bytes handed to DecodeBmp: no crash, no hang, no unbounded memory.
#include <cstddef>
#include <cstdint>

#include "imaging/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ByteSet bytes(data, data + size);
    (void)imaging::DecodeBmp(bytes);
    return 0;
}
