// Recognition by leading bytes and the decoder it picks, as the picture box runs them.
#include <cstddef>
#include <cstdint>

#include "imaging/decode_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ByteSet bytes(data, data + size);
    (void)imaging::DecodePicture(bytes);
    return 0;
}
