#include <gtest/gtest.h>

#include "service/core/percent_decoding.h"
#include "service/core/picture_query.h"
#include "service/core/utf8.h"

namespace {

struct GoodQuery {
    const char* query;
    int templateId;
    const char* name;
};

class GoodQueries : public testing::TestWithParam<GoodQuery> {};

TEST_P(GoodQueries, GiveTheTemplateAndTheDecodedName)
{
    const PictureQuery parsed = ParsePictureQuery(GetParam().query);
    ASSERT_TRUE(parsed.request) << parsed.problem;
    EXPECT_EQ(parsed.request->templateId, GetParam().templateId);
    EXPECT_EQ(parsed.request->name, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Queries, GoodQueries,
    testing::Values(
        // What the window sends.
        GoodQuery{"id=1&name=", 1, ""}, GoodQuery{"id=3&name=%E5%BC%A0%E4%B8%89", 3, "张三"},
        GoodQuery{"id=2&name=%E5%BC%A0%E4%B8%89%20a%5Fb.c%7E", 2, "张三 a_b.c~"},
        GoodQuery{"id=4&name=a%20b%26c%3Dd", 4, "a b&c=d"}, GoodQuery{"id=4&name=A-1.5", 4, "A-1.5"},
        // What other clients may send.
        GoodQuery{"name=%e5%bc%a0&id=2", 2, "张"}, GoodQuery{"id=1&name=a+b", 1, "a b"},
        GoodQuery{"id=1&name=x&_=12345", 1, "x"}, GoodQuery{"&&id=1&&name=y&", 1, "y"},
        GoodQuery{"id=1&name", 1, ""}, GoodQuery{"%69d=1&name=z", 1, "z"},
        // Control characters and outer spaces go, inner runs of spaces shrink to one.
        GoodQuery{"id=1&name=%20%09a%0D%0A%00b%20%20c%C2%85%7F", 1, "a b c"}));

struct BadQuery {
    const char* query;
    const char* problemPart;
};

class BadQueries : public testing::TestWithParam<BadQuery> {};

TEST_P(BadQueries, NameTheProblem)
{
    const PictureQuery parsed = ParsePictureQuery(GetParam().query);
    EXPECT_FALSE(parsed.request);
    EXPECT_NE(parsed.problem.find(GetParam().problemPart), std::string::npos) << parsed.problem;
}

INSTANTIATE_TEST_SUITE_P(
    Queries, BadQueries,
    testing::Values(BadQuery{"", "id is missing"}, BadQuery{"name=x", "id is missing"},
                    BadQuery{"id=1", "name is missing"}, BadQuery{"id=0&name=", "1, 2, 3 or 4"},
                    BadQuery{"id=5&name=", "1, 2, 3 or 4"}, BadQuery{"id=01&name=", "1, 2, 3 or 4"},
                    BadQuery{"id=1.0&name=", "1, 2, 3 or 4"}, BadQuery{"id=&name=", "1, 2, 3 or 4"},
                    BadQuery{"id=%31%32&name=", "1, 2, 3 or 4"}, BadQuery{"id=1&name=%", "percent escape"},
                    BadQuery{"id=1&name=%4", "percent escape"}, BadQuery{"id=1&name=%G0", "percent escape"},
                    BadQuery{"id=1&name=%%41", "percent escape"}, BadQuery{"id%=1&name=", "percent escape"},
                    BadQuery{"id=1&name=%FF", "UTF-8"}, BadQuery{"id=1&name=%D5%C5", "UTF-8"},
                    BadQuery{"id=1&id=2&name=", "more than once"}, BadQuery{"id=1&name=a&name=b", "more than once"}));

TEST(PercentDecode, TurnsEscapesOfEitherCaseIntoBytes)
{
    EXPECT_EQ(PercentDecode("%41%7a%2B+%25"), std::optional<std::string>("Az+ %"));
    EXPECT_EQ(PercentDecode("%00"), std::optional<std::string>(std::string(1, '\0')));
    EXPECT_EQ(PercentDecode("a%2"), std::nullopt);
}

TEST(IsValidUtf8, AcceptsWellFormedTextOnly)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("张三 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"));  // emoji, U+10FFFF
    for (const char* bad : {"\x80", "\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF0\x80\x80\xAF",
                            "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xE5\xBC", "\xE5\x41\xA0", "\xFF"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(std::string(bad));
    }
}

}  // namespace
