// Conversion between the program's character sets and UTF-16LE, on glibc's iconv.
// Neither direction ever fails or stops early: a byte sequence that is not valid
// in the source becomes U+FFFD, a character that the target cannot hold becomes
// the target's replacement ("?" in GBK, U+FFFD in UTF-8).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class Charset {
    Gbk,   // code page 936 as Windows defines it (glibc's CP936: 0x80 is the euro sign)
    Utf8,  // code page 65001
};

// Code pages 0 (the system code page, which for this program is always GBK) and
// 936 are GBK, 65001 is UTF-8; every other code page is unknown here.
std::optional<Charset> CharsetOfCodePage(std::int32_t codePage);

// The UTF-16LE code units of `bytes`, two bytes each, low byte first, no terminator.
std::string DecodeToUtf16(std::string_view bytes, Charset from);

// The bytes of the UTF-16LE units in `utf16`; an odd last byte counts as a broken unit.
std::string EncodeFromUtf16(std::string_view utf16, Charset to);
