// Strict UTF-8 checking for names that arrive percent-encoded in a URL.
#pragma once

#include <string_view>

// True when the bytes are well-formed UTF-8: shortest forms only, no surrogate
// halves, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);
