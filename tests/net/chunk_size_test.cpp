#include "net/chunk_size.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ChunkCase {
    std::optional<std::string> header;
    std::size_t chunk;
};

TEST(ChunkSize, FromContentLength)
{
    const ChunkCase cases[] = {
        {std::nullopt, 10240},
        {"5000", 5001},
        {"1", 2},
        {"102399", 102400},
        {"102400", 102400},
        {"200000", 102400},
        {"0", 10240},
        {"-5", 10240},
        {"+5", 6},
        {"   \t42", 43},
        {"42 bytes", 43},
        {"12abc", 13},
        {"abc", 10240},
        {"", 10240},
        {"- 5", 10240},
        {"2147483647", 102400},   // n + 1 wraps to a negative value, compared unsigned
        {"2147483648", 10240},    // wraps to INT32_MIN
        {"4294967297", 2},        // wraps to 1
        {"4294967296", 10240},    // wraps to 0
        {"-4294967295", 2},       // wraps to 1
        {"0000000000000000000000000000042", 43},   // 31 characters still fit
        {"00000000000000000000000000000042", 10240},  // 32 do not
        {std::string("7\0" "9", 3), 8},
    };
    for (const auto& c : cases) {
        const std::optional<std::string_view> header =
            c.header ? std::optional<std::string_view>(*c.header) : std::nullopt;
        EXPECT_EQ(ReadChunkSize(header), c.chunk) << (c.header ? "\"" + *c.header + "\"" : "no header");
    }
}

}  // namespace
