#include "encoding/url_encode.h"

#include <gtest/gtest.h>

namespace {

const Text kZhangSanName = "\xD5\xC5\xC8\xFD a_b.c~";

TEST(UrlEncode, WorkedExamples)
{
    EXPECT_EQ(UrlEncode(kZhangSanName, 1, 1), "%E5%BC%A0%E4%B8%89%20a%5Fb.c%7E");
    EXPECT_EQ(UrlEncode(kZhangSanName, 1, 0), "%D5%C5%C8%FD%20a%5Fb.c%7E");
    EXPECT_EQ(UrlEncode(kZhangSanName, 0, 1), "%E5%BC%A0%E4%B8%89%20%61%5F%62%2E%63%7E");
}

struct EncodeCase {
    const char* name;
    Text text;
    std::optional<int> keepUnreserved;
    std::optional<int> useUtf8;
    Text expected;
};

TEST(UrlEncode, EdgeCases)
{
    const EncodeCase cases[] = {
        {"empty name", "", 1, 1, ""},
        {"empty before a zero byte", Text("\0abc", 4), 1, 1, ""},
        {"space is %20, never +", "a b+c", 1, 1, "a%20b%2Bc"},
        {"tab gets a leading zero", "\t", 1, 1, "%09"},
        {"slash, colon, at, percent", "/:@%", 1, 1, "%2F%3A%40%25"},
        {"range borders", ",-./09:@AZ[`az{", 1, 1, "%2C-.%2F09%3A%40AZ%5B%60az%7B"},
        {"unreserved name unchanged", "Abc-1.2.z", 1, 1, "Abc-1.2.z"},
        {"upper-case hex digits", "\xB0\xA1", 1, 0, "%B0%A1"},
        {"second GBK byte in ASCII range", "\x81\x41", 1, 0, "%81A"},
        {"switches other than 1 count as on", "a b", 7, -3, "a%20b"},
        {"switches left out count as on", "\xD5\xC5", std::nullopt, std::nullopt, "%E5%BC%A0"},
        {"invalid GBK is U+FFFD in UTF-8", "\xFF", 1, 1, "%EF%BF%BD"},
        {"delete and last byte", "\x7F\xFF", 0, 0, "%7F%FF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UrlEncode(c.text, c.keepUnreserved, c.useUtf8), c.expected) << c.name;
    }
}

TEST(UrlEncode, EveryByteValue)
{
    Text all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    const Text kept = UrlEncode(all, 1, 0);
    const Text none = UrlEncode(all, 0, 0);
    EXPECT_EQ(none.size(), 255u * 3);
    EXPECT_EQ(kept.size(), 64u + (255u - 64u) * 3);
    EXPECT_EQ(none.substr(0, 6), "%01%02");
    EXPECT_EQ(none.substr(none.size() - 6), "%FE%FF");
    EXPECT_EQ(kept.find_first_not_of("%0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz-."),
              Text::npos);
}

}  // namespace
