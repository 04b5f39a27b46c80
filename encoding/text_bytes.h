// The bytes of a Text as the program reads them: up to its first zero byte.
#pragma once

#include <string_view>

#include "encoding/text.h"

inline std::string_view TextBytes(const Text& text)
{
    return std::string_view(text.c_str());
}
