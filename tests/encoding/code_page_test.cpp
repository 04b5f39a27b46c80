#include "encoding/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ByteSet Bytes(std::initializer_list<int> values)
{
    ByteSet bytes;
    for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

// UTF-16LE bytes of the code units, no terminator.
ByteSet Wide(std::u16string_view units)
{
    ByteSet bytes;
    for (char16_t u : units) {
        bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return bytes;
}

ByteSet WithZeroUnit(ByteSet wide)
{
    wide.push_back(0);
    wide.push_back(0);
    return wide;
}

TEST(CodePage, WorkedExampleZhangSan)
{
    const Text zhangSan = "\xD5\xC5\xC8\xFD";
    EXPECT_EQ(TextToWide(zhangSan, 936), Bytes({0x20, 0x5F, 0x09, 0x4E, 0x00, 0x00}));
    EXPECT_EQ(GbkToUtf8(zhangSan), "\xE5\xBC\xA0\xE4\xB8\x89");
}

TEST(CodePage, EmptyAndAsciiTexts)
{
    EXPECT_EQ(TextToWide("", 936), Bytes({0, 0}));
    EXPECT_EQ(TextToWide("", std::nullopt), Bytes({0, 0}));
    EXPECT_EQ(GbkToUtf8(""), "");
    EXPECT_EQ(WideToText(ByteSet(), 65001), "");
    EXPECT_EQ(WideToText(Bytes({0, 0}), 0), "");
    const Text ascii = "Hello, world ~_-. 0123456789 \t\x7F";
    EXPECT_EQ(GbkToUtf8(ascii), ascii);
}

TEST(CodePage, TextEndsAtItsFirstZeroByte)
{
    const Text text("a\0b", 3);
    EXPECT_EQ(TextToWide(text, 936), Bytes({'a', 0, 0, 0}));
    EXPECT_EQ(GbkToUtf8(text), "a");
}

// A UTF-8 form longer than twice the GBK form must come out whole.
TEST(CodePage, SingleByteEuroSignConvertsWhole)
{
    EXPECT_EQ(GbkToUtf8("\x80\x80\x80"), "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC");
    EXPECT_EQ(GbkToUtf8(std::string(1000, '\x80')).size(), 3000u);
}

TEST(CodePage, WideFormIsReadUpToItsFirstZeroUnit)
{
    const ByteSet plain = WithZeroUnit(Wide(u"张三"));
    ByteSet padded = plain;
    padded.insert(padded.end(), {0, 0, 0, 0, 'x', 0});
    EXPECT_EQ(WideToText(padded, 65001), WideToText(plain, 65001));
    EXPECT_EQ(WideToText(padded, 936), "\xD5\xC5\xC8\xFD");
    // Without any zero unit the whole set is read; half a unit at the end is not.
    EXPECT_EQ(WideToText(Wide(u"ab"), 0), "ab");
    ByteSet odd = Wide(u"ab");
    odd.push_back('c');
    EXPECT_EQ(WideToText(odd, 0), "ab");
}

TEST(CodePage, DefaultCodePages)
{
    // TextToWide reads UTF-8 when no code page is given ...
    EXPECT_EQ(TextToWide("\xE5\xBC\xA0", std::nullopt), Bytes({0x20, 0x5F, 0, 0, 0, 0}));
    // ... and WideToText writes the system code page, GBK.
    EXPECT_EQ(WideToText(WithZeroUnit(Wide(u"张€")), std::nullopt), "\xD5\xC5\x80");
    EXPECT_EQ(WideToText(WithZeroUnit(Wide(u"张€")), 0), "\xD5\xC5\x80");
}

TEST(CodePage, WideFormIsSizedForTheSystemCodePage)
{
    // "张三" is two units in GBK; as UTF-8 "ab" it needs fewer, and the rest is zero.
    EXPECT_EQ(TextToWide("ab", 65001), Bytes({'a', 0, 'b', 0, 0, 0}));
    EXPECT_EQ(TextToWide("\xE5\xBC\xA0", 65001), Bytes({0x20, 0x5F, 0, 0, 0, 0}));
    // GBK bytes read as UTF-8 need more units than GBK gives them: none is lost.
    EXPECT_EQ(TextToWide("\xD5\xC5\xC8\xFD", 65001),
              WithZeroUnit(Wide(u"\uFFFD\uFFFD\uFFFD\uFFFD")));
}

TEST(CodePage, UnknownCodePageGivesEmptyResults)
{
    EXPECT_EQ(TextToWide("\xD5\xC5\xC8\xFD", 1252), Bytes({0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(TextToWide("abc", -1), ByteSet(8, 0));
    EXPECT_EQ(WideToText(WithZeroUnit(Wide(u"abc")), 437), "");
}

struct InvalidGbkCase {
    const char* name;
    Text gbk;
    std::u16string wide;
};

TEST(CodePage, InvalidGbkBecomesReplacementCharacter)
{
    const InvalidGbkCase cases[] = {
        {"byte 0xFF", "a\xFF" "b", u"a\uFFFDb"},
        {"lead byte at the end", "a\x81", u"a\uFFFD"},
        {"0x7F is no trail byte", "\x81\x7F", u"\uFFFD\x7F"},
        {"ASCII behind a lead byte survives", "\x81\x30z", u"\uFFFD0z"},
        {"unmapped pair in a user-defined area", "\xAA\xA1x", u"\uFFFDx"},
        {"lead byte then valid pair", "\xFF\xD5\xC5", u"\uFFFD张"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextToWide(c.gbk, 936), WithZeroUnit(Wide(c.wide))) << c.name;
    }
    EXPECT_EQ(GbkToUtf8("\xFF"), "\xEF\xBF\xBD");
}

struct UnencodableCase {
    const char* name;
    std::u16string wide;
    Text gbk;
    Text utf8;
};

TEST(CodePage, CharactersOutsideTheTargetBecomeQuestionMarks)
{
    const UnencodableCase cases[] = {
        {"Thai letter", u"a\u0E01b", "a?b", "a\xE0\xB8\x81" "b"},
        {"emoji as a surrogate pair is one character", u"x\U0001F600y", "x?y",
         "x\xF0\x9F\x98\x80y"},
        {"lone high surrogate", u"x\xD800y", "x?y", "x\xEF\xBF\xBDy"},
        {"lone low surrogate", u"x\xDC00y", "x?y", "x\xEF\xBF\xBDy"},
        {"high surrogate at the end", u"x\xD83D", "x?", "x\xEF\xBF\xBD"},
        {"many in a row, text behind kept", u"\u0E01\u0E01\u0E01张", "???\xD5\xC5",
         "\xE0\xB8\x81\xE0\xB8\x81\xE0\xB8\x81\xE5\xBC\xA0"},
    };
    for (const auto& c : cases) {
        const ByteSet wide = WithZeroUnit(Wide(c.wide));
        EXPECT_EQ(WideToText(wide, 0), c.gbk) << c.name;
        EXPECT_EQ(WideToText(wide, 936), c.gbk) << c.name;
        EXPECT_EQ(WideToText(wide, 65001), c.utf8) << c.name;
    }
}

TEST(CodePage, LongTextsRoundTrip)
{
    Text gbk;
    for (int i = 0; i < 5000; ++i) gbk += "\xD5\xC5" "a\x80";
    const ByteSet wide = TextToWide(gbk, 0);
    EXPECT_EQ(wide.size(), 5000u * 3 * 2 + 2);
    EXPECT_EQ(WideToText(wide, 0), gbk);
    EXPECT_EQ(GbkToUtf8(gbk).size(), 5000u * (3 + 1 + 3));
}

}  // namespace
