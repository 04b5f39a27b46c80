// Compares the Content-Length chunk size with a plain reference: the number read
// in 64-bit arithmetic, reduced to 32 bits at the end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "net/chunk_size.h"

namespace {

std::size_t Reference(std::string_view text)
{
    if (text.size() > 31) return 10240;
    text = text.substr(0, text.find('\0'));
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    int sign = 1;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? -1 : 1;
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = (value * 10 + static_cast<std::uint64_t>(text[i] - '0')) & 0xFFFFFFFFu;
    }
    const std::int64_t wrapped = static_cast<std::int32_t>(static_cast<std::uint32_t>(sign < 0 ? (0x100000000u - value) & 0xFFFFFFFFu : value));
    if (wrapped <= 0) return 10240;
    return wrapped + 1 < 102400 ? static_cast<std::size_t>(wrapped + 1) : 102400;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t chunk = ReadChunkSize(text);
    if (chunk < 2 || chunk > kLargestReadChunk) std::abort();
    if (chunk != Reference(text)) std::abort();
    if (ReadChunkSize(std::nullopt) != kDefaultReadChunk) std::abort();
    return 0;
}
