// The two value types that every part of the program passes around.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// An 8-bit text in GBK (code page 936), the program's own code page. Like a C
// string it ends at its first zero byte: an empty Text and "no text" are the same.
using Text = std::string;

// A counted array of bytes: picture data, response bodies, UTF-16LE text.
using ByteSet = std::vector<std::uint8_t>;

// Joins the parts in order into one fresh Text; an empty part adds nothing.
inline Text ConcatText(std::initializer_list<std::string_view> parts)
{
    std::size_t size = 0;
    for (std::string_view part : parts) size += part.size();
    Text joined;
    joined.reserve(size);
    for (std::string_view part : parts) joined.append(part);
    return joined;
}

inline ByteSet ToByteSet(std::string_view bytes)
{
    return ByteSet(bytes.begin(), bytes.end());
}
