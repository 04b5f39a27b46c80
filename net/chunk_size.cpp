#include "net/chunk_size.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::size_t kHeaderBufferCharacters = 31;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::size_t ReadChunkSize(std::optional<std::string_view> contentLength)
{
    if (!contentLength || contentLength->size() > kHeaderBufferCharacters) return kDefaultReadChunk;
    std::string_view text = *contentLength;
    text = text.substr(0, text.find('\0'));

    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Unsigned arithmetic wraps modulo 2^32, which is the wrap-around of the
    // signed 32-bit value without undefined behaviour.
    std::uint32_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    }
    if (negative) value = 0u - value;

    if (static_cast<std::int32_t>(value) <= 0) return kDefaultReadChunk;
    return std::min<std::uint32_t>(value + 1u, kLargestReadChunk);
}
