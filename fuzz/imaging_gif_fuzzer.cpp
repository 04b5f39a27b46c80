// Any bytes handed to DecodeGif, and the result played through its sequence twice.
#include <cstddef>
#include <cstdint>

#include "imaging/gif_decoder.h"
#include "imaging/gif_player.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ByteSet bytes(data, data + size);
    auto movie = imaging::DecodeGif(bytes);
    if (!movie) return 0;
    imaging::GifPlayer player(std::move(*movie));
    for (std::size_t i = 0; i < 2 * player.ImageCount() + 1; ++i) (void)player.DrawNextImage();
    return 0;
}
