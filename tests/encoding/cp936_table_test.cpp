// Checks the GBK conversion against Microsoft's published code page 936 table,
// every code in both directions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "encoding/code_page.h"

namespace {

const std::filesystem::path kTablePath =
    std::filesystem::path(BIAOBAI_CORPORA_DIR) / "cp936" / "CP936.TXT";

// Code (one or two bytes, as a number) to Unicode, for the lines that map one.
std::map<unsigned, unsigned> ReadTable()
{
    std::map<unsigned, unsigned> table;
    std::ifstream file(kTablePath);
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("0x", 0) != 0) continue;
        std::istringstream fields(line);
        std::string code, unicode;
        fields >> code >> unicode;
        if (unicode.rfind("0x", 0) != 0) continue;  // lead bytes and undefined bytes
        table[std::stoul(code, nullptr, 16)] = std::stoul(unicode, nullptr, 16);
    }
    return table;
}

Text CodeBytes(unsigned code)
{
    Text bytes;
    if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
    bytes.push_back(static_cast<char>(code & 0xFF));
    return bytes;
}

ByteSet WideOf(std::initializer_list<unsigned> units)
{
    ByteSet wide;
    for (unsigned u : units) {
        wide.push_back(static_cast<std::uint8_t>(u & 0xFF));
        wide.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return wide;
}

class Cp936Table : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(kTablePath)) {
            GTEST_SKIP() << "code page 936 table not found at " << kTablePath;
        }
        table_ = ReadTable();
        ASSERT_EQ(table_.size(), 21920u) << "unexpected table contents";
    }
    std::map<unsigned, unsigned> table_;
};

TEST_F(Cp936Table, EuroSignIsByte0x80)
{
    EXPECT_EQ(table_.at(0x80), 0x20ACu);
    EXPECT_EQ(TextToWide("\x80", 936), WideOf({0x20AC, 0}));
    EXPECT_EQ(WideToText(WideOf({0x20AC, 0}), 0), "\x80");
}

TEST_F(Cp936Table, EveryCodeDecodesToItsCharacter)
{
    int mismatches = 0;
    for (const auto& [code, unicode] : table_) {
        if (code == 0) continue;  // the zero byte ends a text
        const ByteSet expected = WideOf({unicode, 0});
        const ByteSet wide = TextToWide(CodeBytes(code), 936);
        if (wide != expected && ++mismatches <= 20) {
            ADD_FAILURE() << std::hex << "code 0x" << code << " should be U+" << unicode;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(Cp936Table, UnlistedPairsDecodeToOneReplacementCharacter)
{
    int mismatches = 0;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            const unsigned code = lead << 8 | trail;
            if (trail == 0x7F || table_.count(code) != 0) continue;
            if (TextToWide(CodeBytes(code), 936) != WideOf({0xFFFD, 0}) && ++mismatches <= 20) {
                ADD_FAILURE() << std::hex << "unlisted code 0x" << code;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(TextToWide("\xFF", 936), WideOf({0xFFFD, 0}));
}

TEST_F(Cp936Table, EveryListedCharacterEncodesToItsCode)
{
    ByteSet wide;
    Text expected;
    for (const auto& [code, unicode] : table_) {
        if (code == 0) continue;
        const ByteSet unit = WideOf({unicode});
        wide.insert(wide.end(), unit.begin(), unit.end());
        expected += CodeBytes(code);
    }
    EXPECT_EQ(WideToText(wide, 936), expected);
}

TEST_F(Cp936Table, EveryOtherCharacterEncodesToQuestionMark)
{
    std::set<unsigned> listed;
    for (const auto& [code, unicode] : table_) listed.insert(unicode);
    ByteSet wide;
    std::size_t count = 0;
    for (unsigned u = 1; u <= 0xFFFF; ++u) {
        if ((u >= 0xD800 && u <= 0xDFFF) || listed.count(u) != 0) continue;
        const ByteSet unit = WideOf({u});
        wide.insert(wide.end(), unit.begin(), unit.end());
        ++count;
    }
    const Text gbk = WideToText(wide, 0);
    EXPECT_EQ(gbk, Text(count, '?'));
}

}  // namespace
